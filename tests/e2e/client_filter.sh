#!/usr/bin/env bash
# orvanta.conf's clients and listen_address with the real program: a client
# at an address not allowed is turned away at once, unprocessed, while an
# allowed one is served; and a server listening on 127.0.0.1 does not
# answer on 127.0.0.2, another address of this machine.
# Usage: client_filter.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
write_settings False 5
write_navigator signal=1 connection=2
printf 'clients = 127.0.0.1\nlisten_address = 127.0.0.1\n' >"$folder/orvanta.conf"
start_orvanta

# A client from 127.0.0.2 asks to hang up: turned away, and nothing done.
outcome=$(/usr/bin/python3 - "$listen_port" <<'PY'
import socket, sys
client = socket.socket()
client.bind(("127.0.0.2", 0))
client.connect(("127.0.0.1", int(sys.argv[1])))
client.settimeout(5)
try:
    # The server may turn it away before it has even sent its request.
    client.sendall(b"CONNEC")
    client.shutdown(socket.SHUT_WR)
    print("closed" if client.recv(100) == b"" else "answered")
except (ConnectionResetError, BrokenPipeError, OSError) as gone:
    print("held open" if isinstance(gone, socket.timeout) else "closed")
PY
)
[[ $outcome == closed ]] || fail "a client not allowed was $outcome"
sleep 1
await_status '^STATUS-DISCSIGOKna$'  # the allowed one is served, and nothing was dialled
[[ $(navigator_value connection) == 2 ]] || fail "the refused client's request was carried out"

# Nothing answers on the machine's other addresses.
(exec 3<>"/dev/tcp/127.0.0.2/$listen_port") 2>/dev/null && fail "the server answers on 127.0.0.2"

stop_orvanta
echo "clients: the one not allowed turned away; listen_address: one address only"
