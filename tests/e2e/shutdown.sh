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
echo "SIGTERM: settings saved when asked, untouched otherwise"
