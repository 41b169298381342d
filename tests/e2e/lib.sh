# Shared by the end-to-end tests: runs the real program in a folder of its
# own, with its own Orvanta.ini and navsim.state, on ports that are free, and
# talks to it through orvanta-client. Source it, then call e2e_setup BUILD_DIR.
set -euo pipefail

e2e_setup() {
  build=$1
  folder=$(mktemp -d)
  pid=
  trap e2e_cleanup EXIT
  cp "$build/orvanta" "$build/NAVCTRL.OCX" "$folder/"
  client=$build/orvanta-client
  pick_ports
}

e2e_cleanup() {
  if [[ -n "${pid:-}" ]]; then
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -rf "$folder"
}

fail() {
  echo "FAIL: $*" >&2
  if [[ -f "$folder/out.log" ]]; then
    echo "--- orvanta's output:" >&2
    cat "$folder/out.log" >&2
  fi
  exit 1
}

port_in_use() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# The settings hold ports as 16-bit numbers, so they come from 1024 to 32767.
pick_ports() {
  for _ in $(seq 1 50); do
    listen_port=$((1024 + RANDOM % 31000))
    transmit_port=$((listen_port + 1))
    if ! port_in_use "$listen_port" && ! port_in_use "$transmit_port"; then
      return
    fi
  done
  fail "no free pair of ports found"
}

# write_settings SAVE_WINDOW_POS POLL_INTERVAL: Orvanta.ini with our ports,
# the window at 0,0 and every other option off.
write_settings() {
  local save=$1 interval=$2
  local values=("$listen_port" "$transmit_port" 0 0 "$save" False False False "$interval")
  local names=("Remote Receive port" "Remote Transmit port" "Window Left Position"
    "Window Top Position" "Save Window Position on Exit option" "Always Keep Connected option"
    "Startup in Mini-Mode option" "Startup in System Tray option"
    "DPC hardware status poll interval")
  {
    printf "'\r\n'         Orvanta INI Settings File\r\n'\r\n'\r\n'\r\n'\r\n"
    printf "' written by the end-to-end tests\r\n'\r\n'\r\n'\r\n'\r\n'\r\n"
    for i in "${!values[@]}"; do
      printf "' The following line contains the %s:\r\n%s\r\n'\r\n" "${names[$i]}" "${values[$i]}"
    done
    printf "'\r\n'\r\n"
  } >"$folder/Orvanta.ini"
  [[ $(wc -l <"$folder/Orvanta.ini") -eq 41 ]] || fail "test settings file is malformed"
}

# write_navigator KEY=VALUE...: the simulated navigator's state file.
write_navigator() {
  printf '%s\n' "$@" >"$folder/navsim.state"
}

# Starts the program offscreen and waits until its server answers.
start_orvanta() {
  QT_QPA_PLATFORM=offscreen "$folder/orvanta" >"$folder/out.log" 2>&1 &
  pid=$!
  for _ in $(seq 1 30); do
    if status_raw >/dev/null 2>&1; then
      return
    fi
    kill -0 "$pid" 2>/dev/null || fail "orvanta ended during start-up"
    sleep 0.5
  done
  fail "orvanta's server did not answer within 15 s of the start"
}

# Sends SIGTERM and waits for the program to end; sets exit_status.
stop_orvanta() {
  kill -TERM "$pid"
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "orvanta did not end within 10 s of SIGTERM"
  exit_status=0
  wait "$pid" || exit_status=$?
  pid=
}

run_client() {
  "$client" --port "$listen_port" --reply-port "$transmit_port" --timeout 3 "$@"
}

status_raw() {
  run_client --raw status
}

# await_status PATTERN: polls the status until the reply (left in $reply)
# matches the extended regular expression, for up to 12 s (the poll runs
# every 5).
await_status() {
  reply=
  for _ in $(seq 1 24); do
    reply=$(status_raw 2>/dev/null) || true
    if [[ $reply =~ $1 ]]; then
      return
    fi
    sleep 0.5
  done
  fail "status reply '$reply' never matched '$1'"
}

navigator_value() {
  sed -n "s/^$1=//p" "$folder/navsim.state"
}
