#!/usr/bin/env bash
# The link as clients see it: the exact status reply, a dial, a hang-up and
# the loss of the satellite signal, each seen in the reply after a poll.
# Usage: link_states.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
write_settings False 5
# A dial that takes a minute stays visible as dialing.
write_navigator signal=1 connection=2 dial_seconds=60
start_orvanta

reply=$(status_raw)
[[ $reply == "STATUS-DISCSIGOKna" ]] || fail "first reply was '$reply'"
words=$(run_client status)
[[ $words == "offline, signal present, last dial never" ]] || fail "status said '$words'"

run_client connect || fail "connect was not taken"
[[ $(navigator_value connection) == 3 ]] || fail "the navigator is not dialing"
time_pattern='[0-9]{1,2}:[0-9]{2}(am|pm)'
await_status "^STATUS-DIALSIGOK${time_pattern}\$"
dial_time=${reply:16}

run_client disconnect || fail "disconnect was not taken"
[[ $(navigator_value connection) == 2 ]] || fail "the navigator did not hang up"
await_status "^STATUS-DISCSIGOK${time_pattern}\$"

sed -i 's/^signal=.*/signal=3/' "$folder/navsim.state"
await_status "^STATUS-DISCNOSIG${time_pattern}\$"

stop_orvanta
[[ $exit_status -eq 0 ]] || fail "orvanta ended with status $exit_status"
echo "status, dial, hang-up and signal loss seen by a client (dial time ${dial_time:-?})"
