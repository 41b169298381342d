#!/usr/bin/env bash
# orvanta-client check as a monitoring system runs it, against the real
# program: its one line and exit status while the link is connected,
# disconnected, dialing and without signal, for a command-line mistake, and
# when no server listens.
# Usage: check_plugin.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
write_settings False 5
# A dial that takes a minute stays visible as dialing.
write_navigator signal=1 connection=1 dial_seconds=60
start_orvanta

# expect_check STATUS PATTERN [ARGUMENTS...]: the check ends with STATUS and
# prints one line matching PATTERN, and nothing on standard error.
expect_check() {
  local expected=$1 pattern=$2 code=0 line
  shift 2
  line=$(run_client check "$@" 2>"$folder/check.err") || code=$?
  [[ $code -eq $expected ]] || fail "check $* ended with $code, not $expected: '$line'"
  [[ $line =~ $pattern ]] || fail "check $* printed '$line'"
  [[ ! -s $folder/check.err ]] || fail "check $* wrote '$(cat "$folder/check.err")'"
}

dial='last dial (never|[0-9]{1,2}:[0-9]{2}(am|pm))'
time='response_time=[0-9]+\.[0-9]{6}s;;;0$'
await_status '^STATUS-CONNSIGOK'
expect_check 0 "^ORVANTA OK - online, signal present, $dial \| online=1;;;0;1 signal=1;;;0;1 $time"

run_client disconnect || fail "disconnect was not taken"
await_status '^STATUS-DISCSIGOK'
expect_check 1 "^ORVANTA WARNING - offline, signal present, $dial \| online=0;;;0;1 signal=1;;;0;1 $time"
expect_check 0 '^ORVANTA OK - offline, signal present' --offline ok

run_client connect || fail "connect was not taken"
await_status '^STATUS-DIALSIGOK'
expect_check 1 "^ORVANTA WARNING - dialing, signal not reported, $dial \| online=0;;;0;1 $time"

run_client disconnect || fail "disconnect was not taken"
sed -i 's/^signal=.*/signal=3/' "$folder/navsim.state"
await_status '^STATUS-DISCNOSIG'
expect_check 2 "^ORVANTA CRITICAL - offline, no signal, $dial \| online=0;;;0;1 signal=0;;;0;1 $time"

expect_check 3 '^ORVANTA UNKNOWN - wrong arguments: --dialing: "maybe" is not critical, warning or ok$' \
  --dialing maybe

stop_orvanta
expect_check 3 "^ORVANTA UNKNOWN - server 127.0.0.1:$listen_port not reachable: Connection refused$"
expect_check 2 '^ORVANTA CRITICAL - server .* not reachable' --unreachable critical
echo "check: OK, WARNING offline and dialing, CRITICAL without signal, UNKNOWN with no server"
