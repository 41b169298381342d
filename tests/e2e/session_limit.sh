#!/usr/bin/env bash
# Nine clients that connect and say nothing fill every session; a tenth gets
# the notice and is turned away. Clients turned away after that, one after
# another, each send a long request before they read: every one reads the
# whole notice and then an orderly end of the stream, never a reset, however
# much the ones before it sent. Once the nine leave, clients are served again.
# Usage: session_limit.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
write_settings False 5
write_navigator signal=1 connection=2
start_orvanta

silent=()
for _ in $(seq 1 9); do
  exec {fd}<>"/dev/tcp/127.0.0.1/$listen_port"
  silent+=("$fd")
done
sleep 0.5

code=0
run_client status 2>"$folder/client.err" >/dev/null || code=$?
[[ $code -eq 5 ]] || fail "the tenth client got exit status $code: $(cat "$folder/client.err")"

printf 'MAXIMUM CONCURRENT SESSIONS REACHED - TERMINATING SESSION.\r\n' >"$folder/notice"
{ printf STATUS; head -c 29994 /dev/zero | tr '\0' x; } >"$folder/request"
for turned_away in $(seq 1 8); do
  # Held still, the program finds the whole request waiting when it first
  # hears of the client.
  kill -STOP "$pid"
  exec {fd}<>"/dev/tcp/127.0.0.1/$listen_port"
  cat "$folder/request" >&"$fd" || fail "client $turned_away could not send its request"
  kill -CONT "$pid"
  # cat ends with status 0 at the end of the stream, 1 at a reset.
  code=0
  timeout 5 cat <&"$fd" >"$folder/reply" 2>"$folder/reply.err" || code=$?
  exec {fd}>&-
  [[ $code -eq 0 ]] || fail "client $turned_away turned away: status $code $(cat "$folder/reply.err")"
  cmp -s "$folder/notice" "$folder/reply" || fail "client $turned_away read '$(cat "$folder/reply")'"
done

for fd in "${silent[@]}"; do
  exec {fd}>&-
done
await_status '^STATUS-DISCSIGOKna$'

stop_orvanta
echo "nine sessions held, every client beyond them turned away with the whole notice and no reset, then served again"
