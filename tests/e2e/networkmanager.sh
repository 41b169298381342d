#!/usr/bin/env bash
# The real program with `navigator = networkmanager` against dbusmock's
# NetworkManager and a dbusmock ModemManager on a private bus
# (tests/support/nm_mock.py): the status of an inactive link, a client's
# dial seen in the next poll, a weak modem signal, the redial of "Always
# Keep Connected" when the link drops, and the start-up errors.
# Usage: networkmanager.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
mock_script=$(dirname "$0")/../support/nm_mock.py

coproc MOCK { exec /usr/bin/python3 "$mock_script" start "Sat uplink" 80 2>/dev/null; }
mock_pid=$MOCK_PID
stop_mock() {
  kill "$mock_pid" 2>/dev/null || true
  wait "$mock_pid" 2>/dev/null || true
}
trap 'stop_mock; e2e_cleanup' EXIT
read -r -t 20 address <&"${MOCK[0]}" || fail "the NetworkManager mock did not start"
mock() { /usr/bin/python3 "$mock_script" "$1" "$address" "${@:2}"; }

write_settings False 5
printf 'navigator = networkmanager\nconnection = Sat downlink\n' >"$folder/orvanta.conf"

# The start-up errors first: a connection NetworkManager does not know, and
# no NetworkManager on the bus.
code=0
DBUS_SYSTEM_BUS_ADDRESS=$address QT_QPA_PLATFORM=offscreen "$folder/orvanta" \
  2>"$folder/err" || code=$?
[[ $code -eq 2 ]] || fail "an unknown connection gave status $code"
grep -q "Sat downlink" "$folder/err" || fail "the message does not name the connection: $(cat "$folder/err")"
code=0
DBUS_SYSTEM_BUS_ADDRESS=unix:path=$folder/no-bus QT_QPA_PLATFORM=offscreen "$folder/orvanta" \
  2>"$folder/err" || code=$?
[[ $code -eq 2 ]] || fail "no NetworkManager gave status $code"

printf 'navigator = networkmanager\nconnection = Sat uplink\nmin_signal = 10\n' \
  >"$folder/orvanta.conf"
start_on_mock() {
  DBUS_SYSTEM_BUS_ADDRESS=$address QT_QPA_PLATFORM=offscreen "$folder/orvanta" \
    >"$folder/out.log" 2>&1 &
  pid=$!
}

# The link is down with a good modem signal; a client dials it, the next
# poll sees it up; a weak signal is no signal; a client hangs up.
start_on_mock
await_status '^STATUS-DISCSIGOKna$'
run_client connect || fail "the connect request was not taken"
await_status '^STATUS-CONNSIGOK[0-9]{1,2}:[0-9]{2}[ap]m$'
[[ $(mock calls ActivateConnection) -eq 1 ]] || fail "ActivateConnection reached NetworkManager $(mock calls ActivateConnection) times"
[[ $(mock state) == activated ]] || fail "the connection is $(mock state)"
mock quality 5
await_status '^STATUS-CONNNOSIG[0-9]{1,2}:[0-9]{2}[ap]m$'
mock quality 80
run_client disconnect || fail "the disconnect request was not taken"
await_status '^STATUS-DISCSIGOK[0-9]{1,2}:[0-9]{2}[ap]m$'
[[ $(mock calls DeactivateConnection) -ge 1 ]] || fail "no DeactivateConnection reached NetworkManager"
stop_orvanta

# With "Always Keep Connected" the first poll dials, and when the link drops
# by itself the next poll dials again.
sed -i '/Always Keep Connected/{n;s/False/True/}' "$folder/Orvanta.ini"
start_on_mock
await_status '^STATUS-CONNSIGOK[0-9]{1,2}:[0-9]{2}[ap]m$'
dials=$(mock calls ActivateConnection)
mock deactivate
for _ in $(seq 1 120); do
  (($(mock calls ActivateConnection) > dials)) && break
  sleep 0.1
done
(($(mock calls ActivateConnection) > dials)) || fail "Always Keep Connected did not redial"
await_status '^STATUS-CONNSIGOK[0-9]{1,2}:[0-9]{2}[ap]m$'

stop_orvanta
[[ $exit_status -eq 0 ]] || fail "ended with status $exit_status"
echo "NetworkManager: status, dial, weak signal, hang-up and redial, start-up errors"
