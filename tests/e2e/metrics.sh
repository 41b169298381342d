#!/usr/bin/env bash
# The metrics that orvanta.conf asks for: scraped over plain HTTP before and
# after one request of each kind, every counter moved by exactly those
# requests, the gauges as the link and the clients are, and promtool finds
# the text sound, as it finds the user guide's scrape configuration and
# alert rules, which watch series the program serves. Then a metrics port
# that another program holds: the program says so on standard error and
# serves its clients all the same.
# Usage: metrics.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
write_settings False 5
# The dial stays under way for a minute, so the hang-up finds it dialing.
write_navigator signal=1 connection=2 dial_seconds=60

for _ in $(seq 1 50); do
  metrics_port=$((1024 + RANDOM % 31000))
  if [[ $metrics_port != "$listen_port" && $metrics_port != "$transmit_port" ]] &&
    ! port_in_use "$metrics_port"; then
    break
  fi
done
printf 'metrics = 127.0.0.1:%s\n' "$metrics_port" >"$folder/orvanta.conf"

# scrape FILE: the metrics as a Prometheus server reads them.
scrape() {
  curl --silent --show-error --fail --max-time 5 "http://127.0.0.1:$metrics_port/metrics" >"$1" ||
    fail "no metrics on port $metrics_port"
}

# value FILE SERIES: the value of one series, such as
# orvanta_requests_total{keyword="STATUS"}; fails when it is missing.
value() {
  local found
  found=$(awk -v series="$2" '$1 == series { print $2 }' "$1")
  [[ -n $found ]] || fail "$2 is not in the scrape: $(cat "$1")"
  printf '%s\n' "$found"
}

# moved SERIES BY: the series grew by exactly BY between the two scrapes.
moved() {
  local before after
  before=$(value "$folder/before" "$1")
  after=$(value "$folder/after" "$1")
  awk -v a="$after" -v b="$before" -v by="$2" 'BEGIN { exit !(a - b == by) }' ||
    fail "$1 went from $before to $after, not by $2"
}

start_orvanta
scrape "$folder/before"

# Every series is there from the start, the counters at 0 until their event.
for series in 'orvanta_dials_total{origin="redial"}' 'orvanta_sessions_refused_total' \
  'orvanta_clients_refused_total' 'orvanta_poll_failures_total' \
  'orvanta_deliveries_total{result="error"}' 'orvanta_hangups_total{origin="local"}'; do
  [[ $(value "$folder/before" "$series") == 0 ]] || fail "$series does not start at 0"
done

run_client connect || fail "connect was not taken"
run_client disconnect || fail "disconnect was not taken"
run_client message "hello" || fail "the message was not taken"
exec {fd}<>"/dev/tcp/127.0.0.1/$listen_port"
printf 'HELLO' >&"$fd"
exec {fd}>&-
# Requests are processed in the order their connections close, so once
# the status reply is here the others have been counted too.
status_raw >/dev/null || fail "no status reply"
scrape "$folder/after"

moved 'orvanta_requests_total{keyword="STATUS"}' 1
moved 'orvanta_requests_total{keyword="CONNEC"}' 1
moved 'orvanta_requests_total{keyword="DISCON"}' 1
moved 'orvanta_requests_total{keyword="MESSAG"}' 1
moved 'orvanta_requests_total{keyword="other"}' 1
moved 'orvanta_dials_total{origin="client"}' 1
moved 'orvanta_dials_total{origin="local"}' 0
moved 'orvanta_dials_total{origin="redial"}' 0
moved 'orvanta_hangups_total{origin="client"}' 1
moved 'orvanta_hangups_total{origin="local"}' 0
moved 'orvanta_deliveries_total{result="sent"}' 1
moved 'orvanta_deliveries_total{result="error"}' 0
moved 'orvanta_sessions_refused_total' 0
moved 'orvanta_poll_failures_total' 0

[[ $(value "$folder/after" orvanta_clients_known) == 1 ]] || fail "more than one client known"
[[ $(value "$folder/after" orvanta_sessions_open) == 0 ]] || fail "sessions left open"
# The first poll, at start-up, found the link down with the signal present.
[[ $(value "$folder/after" 'orvanta_status_code{code="STATUS-DISCSIGOK"}') == 1 ]] ||
  fail "the status code is not STATUS-DISCSIGOK"
[[ $(value "$folder/after" orvanta_signal_present) == 1 ]] || fail "no signal in the metrics"
polled=$(value "$folder/after" orvanta_last_poll_timestamp_seconds)
awk -v t="$polled" -v now="$(date +%s)" 'BEGIN { exit !(t > now - 60 && t <= now) }' ||
  fail "the last poll's time $polled is not within the last minute"
[[ $(value "$folder/after" process_open_fds) -gt 0 ]] || fail "no open descriptors counted"

promtool check metrics <"$folder/after" >"$folder/promtool.out" 2>&1 ||
  fail "promtool found problems: $(cat "$folder/promtool.out")"

# The user guide's scrape configuration and alert rules load in Prometheus,
# and every series the rules watch is one the program serves.
guide="$(dirname "$0")/../../docs/user-guide.md"
awk -v dir="$folder" '/^```yaml$/ { n++; inside = 1; next } /^```/ { inside = 0; next }
  inside && n == 1 { print > (dir "/prometheus.yml") }
  inside && n == 2 { print > (dir "/orvanta-alerts.yml") }' "$guide"
(cd "$folder" && promtool check config prometheus.yml && promtool check rules orvanta-alerts.yml) \
  >"$folder/promtool.out" 2>&1 || fail "the guide's examples do not load: $(cat "$folder/promtool.out")"
watched=$(grep -o 'expr: [a-z_]*' "$folder/orvanta-alerts.yml" | cut -d' ' -f2)
[[ $(wc -w <<<"$watched") -eq 2 ]] || fail "the guide's rules watch '$watched'"
for series in $watched; do
  value "$folder/after" "$series" >/dev/null
done

stop_orvanta
[[ $exit_status -eq 0 ]] || fail "orvanta ended with status $exit_status"

# Another program holds the metrics port: the program runs on without them.
python3 -c '
import socket, sys, time
s = socket.socket()
# The scrapes above leave the port in TIME_WAIT.
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1])))
s.listen()
print("bound", flush=True)
time.sleep(120)
' "$metrics_port" >"$folder/holder.out" &
holder=$!
trap 'kill "$holder" 2>/dev/null || true; e2e_cleanup' EXIT
for _ in $(seq 1 50); do
  [[ -s "$folder/holder.out" ]] && break
  sleep 0.1
done
[[ -s "$folder/holder.out" ]] || fail "could not take the metrics port first"

start_orvanta
words=$(run_client status) || fail "no status from the server without metrics"
[[ $words == "offline, signal present, last dial "* ]] || fail "status said '$words'"
grep -qx "orvanta: metrics: cannot listen on 127.0.0.1 port $metrics_port: Address already in use; running without metrics" \
  "$folder/out.log" || fail "no line about the metrics port on standard error"
stop_orvanta
[[ $exit_status -eq 0 ]] || fail "orvanta ended with status $exit_status"
echo "every counter moved by exactly the requests made, promtool satisfied, and a taken port left the server serving"
