#!/usr/bin/env bash
# On a real X display: the splash screen has no title (Qt would give it the
# program's name), and a SIGTERM while a start-up box is open ends the
# program at once, never showing the main window.
# Usage: splash_window.sh BUILD_DIR
if [[ -z "${ORVANTA_E2E_XVFB:-}" ]]; then
  ORVANTA_E2E_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$1"
fi
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
# The tests run offscreen unless told otherwise; this one needs X.
export QT_QPA_PLATFORM=xcb

# No Orvanta.ini: the splash for two seconds, then "INI File Missing...".
"$folder/orvanta" >"$folder/out.log" 2>&1 &
pid=$!

# window_names: the name of each visible window of the program, one a line;
# a window whose name is empty gives an empty line.
window_names() {
  local window
  for window in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    xprop -id "$window" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME([A-Z0-9_]*) = //p'
  done
}

# The splash stays up until the box has been answered, so it is there to
# be found even on a slow machine.
for _ in $(seq 1 100); do
  [[ -n "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null)" ]] && break
  sleep 0.1
done
names=$(window_names)
[[ -n "$names" || -n "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null)" ]] ||
  fail "no splash screen"
grep -qx '' <<<"$names" || fail "no untitled window; the windows are: $names"
grep -qx '"orvanta"' <<<"$names" && fail "the splash screen is titled \"orvanta\""

for _ in $(seq 1 200); do
  window_names | grep -qx '"INI File Missing..."' && break
  sleep 0.1
done
window_names | grep -qx '"INI File Missing..."' || fail "no INI File Missing box; windows: $(window_names)"

# Within a second as a rule (tests/e2e/shutdown.sh measures that); three
# here, where the X tools themselves take time on a busy machine.
kill -TERM "$pid"
deadline=$((SECONDS + 3))
while kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)); do
  window_names | grep -qx '"Orvanta"' && fail "the main window showed after SIGTERM"
  sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "still running 3 s after SIGTERM during the start-up box"
wait "$pid" || fail "ended with status $? after SIGTERM"
pid=
echo "splash untitled; SIGTERM during a start-up box ends the program at once"
