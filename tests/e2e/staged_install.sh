#!/usr/bin/env bash
# The installed layout, from a staged install (cmake --install with DESTDIR)
# and a home folder of its own: orvanta.conf's mistakes stop the program,
# --autostart writes and removes its entry, a first start asks for settings
# and Save makes ~/.config/orvanta private, a configured start serves its
# clients, keeps navsim.state in ~/.local/state/orvanta and rewrites its
# settings on SIGTERM, and NAVCTRL.OCX is read from <prefix>/lib/orvanta.
# Runs on an X display of its own (Xvfb), for the message boxes.
# Usage: staged_install.sh BUILD_DIR
if [[ -z "${ORVANTA_E2E_XVFB:-}" ]]; then
  ORVANTA_E2E_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$1"
fi
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

stage=$folder/stage
DESTDIR=$stage cmake --install "$1" --prefix /usr >/dev/null || fail "the staged install failed"
program=$stage/usr/bin/orvanta
client=$stage/usr/bin/orvanta-client
export HOME=$folder/home
unset XDG_CONFIG_HOME XDG_STATE_HOME
config=$HOME/.config/orvanta
state=$HOME/.local/state/orvanta
mkdir -p "$HOME"

# window_named NAME: the id of the program's visible window of that name,
# waiting up to 10 s for it.
window_named() {
  local window
  for _ in $(seq 1 100); do
    for window in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      if [[ $(xdotool getwindowname "$window" 2>/dev/null) == "$1" ]]; then
        echo "$window"
        return
      fi
    done
    sleep 0.1
  done
  fail "no window \"$1\""
}

# A mistake in orvanta.conf stops the program before any window.
mkdir -p "$config"
printf 'navigator = simulated\n# the link\nnavigatr = simulated\n' >"$config/orvanta.conf"
code=0
"$program" 2>"$folder/err" || code=$?
[[ $code -eq 2 ]] || fail "a mistake in orvanta.conf gave status $code"
grep -qxF "orvanta: $config/orvanta.conf:3: unknown key \"navigatr\"" "$folder/err" ||
  fail "orvanta.conf's mistake said: $(cat "$folder/err")"
rm -rf "$HOME/.config"

# Starting with the desktop, then no longer.
entry=$HOME/.config/autostart/org.orvanta.Orvanta.desktop
"$program" --autostart on >/dev/null || fail "--autostart on failed"
grep -qxF "Exec=$program" "$entry" || fail "the autostart entry does not start $program"
"$program" --autostart off >/dev/null || fail "--autostart off failed"
[[ ! -e $entry ]] || fail "--autostart off left the entry"
rm -rf "$HOME/.config"

# First start: no settings. OK, the settings button, Save: the folder is
# made for the user alone, with the 49 lines in it.
QT_QPA_PLATFORM=xcb "$program" >"$folder/out.log" 2>&1 &
pid=$!
box=$(window_named "INI File Missing...")
[[ -f $state/navsim.state ]] || fail "no navsim.state in $state"
xdotool windowfocus --sync "$box" key Return
main=$(window_named "Orvanta")
xdotool mousemove --window "$main" 68 60 click 1      # the settings button
options=$(window_named "Orvanta Options Panel")
xdotool mousemove --window "$options" 252 28 click 1  # Save
saved=$(window_named "Settings Saved...")
xdotool windowfocus --sync "$saved" key Return
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "still running after Save"
pid=
[[ $(stat -c %a "$config") == 700 ]] || fail "$config has mode $(stat -c %a "$config")"
[[ $(wc -l <"$config/Orvanta.ini") -eq 49 ]] || fail "Save did not write the 49 lines"

# A configured start serves clients and saves its position on SIGTERM.
folder_settings=$folder/Orvanta.ini
write_settings True 5
mv "$folder_settings" "$config/Orvanta.ini"
printf 'signal=1\nconnection=2\n' >"$state/navsim.state"
before=$(md5sum <"$config/Orvanta.ini")
QT_QPA_PLATFORM=offscreen "$program" >"$folder/out.log" 2>&1 &
pid=$!
await_status '^STATUS-DISCSIGOKna$'
stop_orvanta
[[ $exit_status -eq 0 ]] || fail "ended with status $exit_status"
[[ $(md5sum <"$config/Orvanta.ini") != "$before" ]] || fail "SIGTERM did not save the settings"
[[ ! -e $stage/usr/bin/Orvanta.ini && ! -e $stage/usr/bin/navsim.state ]] ||
  fail "files written beside the installed program"

# NAVCTRL.OCX comes from <prefix>/lib/orvanta: one of version 2.0 there is refused.
perl -pi -e 's/2\x00\.\x002\x000\x00/2\x00.\x000\x00\x00\x00/g' \
  "$stage/usr/lib/orvanta/NAVCTRL.OCX"
QT_QPA_PLATFORM=xcb "$program" >"$folder/out.log" 2>&1 &
pid=$!
window_named "DirecPC Software Version Error..." >/dev/null
stop_orvanta
echo "installed layout: conf, autostart, first start and Save, clients, state, system folder"
