#!/usr/bin/env bash
# Nine clients that connect and say nothing fill every session; a tenth gets
# the notice and is turned away. Once the nine leave, clients are served again.
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

for fd in "${silent[@]}"; do
  exec {fd}>&-
done
await_status '^STATUS-DISCSIGOKna$'

stop_orvanta
echo "nine sessions held, the tenth turned away with the notice, then served again"
