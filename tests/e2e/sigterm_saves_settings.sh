#!/usr/bin/env bash
# Starts the real program in a folder of its own with settings that ask for
# the window position to be saved, ends it with SIGTERM, and checks that it
# shut down in order: exit status 0 and Orvanta.ini rewritten (the poll
# interval of 2 that start-up raised comes back as 5).
# Usage: sigterm_saves_settings.sh BUILD_DIR
set -euo pipefail

build=$1
folder=$(mktemp -d)
trap 'if [[ -n "${pid:-}" ]]; then kill -9 "$pid" 2>/dev/null || true; fi; rm -rf "$folder"' EXIT

cp "$build/orvanta" "$build/NAVCTRL.OCX" "$folder/"
port=$((20000 + RANDOM % 12000))

ini_line() { printf '%s\r\n' "$1"; }
{
  ini_line "'"
  ini_line "'         Orvanta INI Settings File"
  ini_line "'         ----------------------------------"
  ini_line "'                   test settings"
  ini_line "'"; ini_line "'"
  ini_line "' This file contains settings for Orvanta..."
  ini_line "' you should not need to edit it manually!"
  ini_line "'"; ini_line "'"; ini_line "'"; ini_line "'"
  ini_line "' The following line contains the Remote Receive port:"; ini_line "$port"
  ini_line "'"
  ini_line "' The following line contains the Remote Transmit port:"; ini_line "$((port + 1))"
  ini_line "'"; ini_line "'"
  ini_line "' The following line contains the Window Left Position:"; ini_line "0"
  ini_line "'"
  ini_line "' The following line contains the Window Top Position:"; ini_line "0"
  ini_line "'"; ini_line "'"
  ini_line "' The following line contains the Save Window Position on Exit option:"; ini_line "True"
  ini_line "'"; ini_line "'"
  ini_line "' The following line contains the Always Keep Connected option:"; ini_line "False"
  ini_line "'"; ini_line "'"
  ini_line "' The following line contains the Startup in Mini-Mode option:"; ini_line "False"
  ini_line "'"; ini_line "'"
  ini_line "' The following line contains the Startup in System Tray option:"; ini_line "False"
  ini_line "'"; ini_line "'"
  ini_line "' The following line contains the DPC hardware status poll interval:"; ini_line "2"
  ini_line "'"; ini_line "'"; ini_line "'"
  ini_line "' Date INI last modified:"
  ini_line "'written by the test"
} >"$folder/Orvanta.ini"
before=$(md5sum <"$folder/Orvanta.ini")

QT_QPA_PLATFORM=offscreen "$folder/orvanta" >"$folder/out.log" 2>&1 &
pid=$!
# Start-up shows the splash screen for two seconds; wait for the first poll.
for _ in $(seq 1 100); do
  sleep 0.1
  grep -q '^connection=' "$folder/navsim.state" 2>/dev/null && break
done
sleep 3
kill -TERM "$pid"
status=0
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "orvanta did not end within 10 s of SIGTERM" >&2
  exit 1
fi
wait "$pid" || status=$?
pid=

if [[ $status -ne 0 ]]; then
  echo "orvanta ended with status $status" >&2
  cat "$folder/out.log" >&2
  exit 1
fi
if [[ "$(md5sum <"$folder/Orvanta.ini")" == "$before" ]]; then
  echo "Orvanta.ini was not rewritten at shutdown" >&2
  exit 1
fi
interval=$(sed -n '44p' "$folder/Orvanta.ini" | tr -d '\r')
if [[ "$interval" != "5" ]]; then
  echo "poll interval written as '$interval', expected 5" >&2
  exit 1
fi
lines=$(wc -l <"$folder/Orvanta.ini")
if [[ $lines -ne 49 ]]; then
  echo "Orvanta.ini has $lines lines, expected 49" >&2
  exit 1
fi
echo "shut down in order on SIGTERM; Orvanta.ini rewritten"
