#!/usr/bin/env bash
# SIGTERM ends the program as closing its window does: with "Save Window
# Position on Exit" on, Orvanta.ini is rewritten (the interval of 2 that
# start-up raised comes back as 5); with it off, the file is left byte for byte.
# Usage: shutdown.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
write_navigator signal=1 connection=2

for save in True False; do
  write_settings "$save" 2
  before=$(md5sum <"$folder/Orvanta.ini")
  start_orvanta
  stop_orvanta
  [[ $exit_status -eq 0 ]] || fail "orvanta ended with status $exit_status"
  after=$(md5sum <"$folder/Orvanta.ini")
  if [[ $save == True ]]; then
    [[ $after != "$before" ]] || fail "Orvanta.ini was not rewritten at shutdown"
    [[ $(wc -l <"$folder/Orvanta.ini") -eq 49 ]] || fail "the rewritten file is not 49 lines"
    interval=$(sed -n '44p' "$folder/Orvanta.ini" | tr -d '\r')
    [[ $interval == 5 ]] || fail "poll interval written as '$interval', expected 5"
  else
    [[ $after == "$before" ]] || fail "Orvanta.ini changed although saving was off"
  fi
done

# A SIGTERM while a start-up message box waits for its OK ends the program
# within a second, and nothing of start-up goes on: with "INI File Missing..."
# (no file) and with "INI File Error..." (a file whose Boolean after the
# position option reads "yes"), which must be left byte for byte.
await_start_up_box() {
  QT_QPA_PLATFORM=offscreen "$folder/orvanta" >"$folder/out.log" 2>&1 &
  pid=$!
  sleep 3.5  # the splash's two seconds, then the box
  kill -0 "$pid" 2>/dev/null || fail "orvanta ended during start-up"
}
for box in missing unreadable; do
  rm -f "$folder/Orvanta.ini"
  if [[ $box == unreadable ]]; then
    write_settings True 5
    sed -i '0,/^False\r$/s//yes\r/' "$folder/Orvanta.ini"
  fi
  before=$(md5sum <"$folder/Orvanta.ini" 2>/dev/null || true)
  await_start_up_box
  started=$(date +%s%N)
  kill -TERM "$pid"
  for _ in $(seq 1 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  took=$((($(date +%s%N) - started) / 1000000))
  kill -0 "$pid" 2>/dev/null && fail "SIGTERM during the $box settings box: still running after $took ms"
  exit_status=0
  wait "$pid" || exit_status=$?
  pid=
  [[ $exit_status -eq 0 ]] || fail "ended with status $exit_status during the $box settings box"
  ((took <= 1000)) || fail "SIGTERM during the $box settings box took $took ms"
  port_in_use "$listen_port" && fail "something listens on the port after the $box settings box"
  after=$(md5sum <"$folder/Orvanta.ini" 2>/dev/null || true)
  [[ $after == "$before" ]] || fail "Orvanta.ini changed after the $box settings box"
done
echo "SIGTERM: settings saved when asked, untouched otherwise, and final during a start-up box"
