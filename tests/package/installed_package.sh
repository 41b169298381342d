#!/usr/bin/env bash
# Installs build/orvanta_*.deb with apt-get, runs the installed program as a
# user with a fresh home would, and purges the package again: the settings
# come from ~/.config/orvanta, the simulated navigator's state goes to
# ~/.local/state/orvanta, NAVCTRL.OCX is found in /usr/lib/orvanta, and
# SIGTERM saves the settings where they came from. Needs root; CI runs it
# after `make package`.
# Usage: tests/package/installed_package.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/../.."
# Its helpers, without e2e_setup: the program here is the installed one.
source tests/e2e/lib.sh

build=${1:-build}
if [[ $(id -u) -ne 0 ]]; then
  echo "installed_package: needs root, to install and purge the package" >&2
  exit 1
fi
debs=("$build"/orvanta_*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
  echo "installed_package: expected one orvanta_*.deb in $build/ (make package)" >&2
  exit 1
fi
deb=$(realpath "${debs[0]}")
if dpkg-query -W -f='${Status}' orvanta 2>/dev/null | grep -q installed; then
  echo "installed_package: orvanta is installed already; this test would remove it" >&2
  exit 1
fi

# Where a program that took itself for portable would write, beside
# itself: whatever appears there is removed again, whatever was there is not.
strays=()
for path in /usr/bin/Orvanta.ini /usr/bin/navsim.state /usr/lib/orvanta/Orvanta.ini \
  /usr/lib/orvanta/navsim.state; do
  [[ -e $path ]] || strays+=("$path")
done

home=$(mktemp -d)
folder=$home  # where lib.sh writes and looks
client=/usr/bin/orvanta-client
pid=
installed=false
cleanup() {
  if [[ -n $pid ]]; then
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "${strays[@]}"
  if [[ $installed == true ]]; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -q orvanta >/dev/null 2>&1 || true
  fi
  rm -rf "$home"
}
trap cleanup EXIT

packages() {
  dpkg-query -W -f='${Package} ${Status}\n' | grep ' installed$' | LC_ALL=C sort
}
packages_before=$(packages)

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q "$deb" >"$home/apt.log" 2>&1 || { cat "$home/apt.log" >&2; fail "apt-get install"; }
installed=true
package_files=$(dpkg -L orvanta)
for path in /usr/bin/orvanta /usr/bin/orvanta-client /usr/lib/orvanta/NAVCTRL.OCX; do
  [[ -f $path ]] || fail "$path is not installed"
done
# Only the installed layout can find the control: nothing lies beside the
# program.
[[ ! -e /usr/bin/NAVCTRL.OCX ]] || fail "NAVCTRL.OCX lies in /usr/bin"

pick_ports

# Settings with our ports and the window position saved on exit; SIGTERM
# rewrites them whole, 49 lines.
config=$home/.config/orvanta
state=$home/.local/state/orvanta
mkdir -p "$config"
write_settings True 5
mv "$home/Orvanta.ini" "$config/Orvanta.ini"
written=$(md5sum <"$config/Orvanta.ini")

# A user's session: a home of its own and no XDG variables, started from
# that home so that no file of the source tree can be picked up.
cd "$home"
env -u XDG_CONFIG_HOME -u XDG_STATE_HOME -u XDG_DATA_HOME HOME="$home" \
  QT_QPA_PLATFORM=offscreen /usr/bin/orvanta >"$home/out.log" 2>&1 &
pid=$!

# The server only starts once start-up has found a NAVCTRL.OCX of version
# 2.20; with none, the version box stops start-up before it.
# Read from the kernel's tables, without connecting: a connection would be
# a client's request. The server's socket may take IPv6 and IPv4 alike, and
# then lies in tcp6.
listens() {
  grep -qE "^ *[0-9]+: [0-9A-F]+:$(printf '%04X' "$1") 0+:0000 0A " /proc/net/tcp /proc/net/tcp6
}
listening=false
for _ in $(seq 1 30); do
  if listens "$listen_port"; then
    listening=true
    break
  fi
  kill -0 "$pid" 2>/dev/null || fail "orvanta ended during start-up"
  sleep 0.5
done
[[ $listening == true ]] || fail "nothing listens on port $listen_port 15 s after the start"

# A classified status (not the empty one of a program that never polled)
# means the control answered.
await_status '^STATUS-DISCSIGOK'
line=$(run_client status) || fail "orvanta-client status failed"
[[ $line == "offline, signal present, last dial never" ]] || fail "status line '$line'"
grep -q "Version Error" "$home/out.log" && fail "the program reports a version error"

[[ -f $state/navsim.state ]] || fail "no navsim.state in ~/.local/state/orvanta"
for path in "${strays[@]}" "$home/navsim.state"; do
  [[ ! -e $path ]] || fail "$path was written"
done

stop_orvanta
[[ $exit_status -eq 0 ]] || fail "orvanta ended with status $exit_status"
[[ $(md5sum <"$config/Orvanta.ini") != "$written" ]] || fail "SIGTERM did not rewrite Orvanta.ini"
[[ $(wc -l <"$config/Orvanta.ini") -eq 49 ]] || fail "the rewritten Orvanta.ini is not 49 lines"
for path in "${strays[@]}" "$home/Orvanta.ini"; do
  [[ ! -e $path ]] || fail "$path was written"
done

cd /
apt-get purge -y -q orvanta >"$home/apt.log" 2>&1 || { cat "$home/apt.log" >&2; fail "apt-get purge"; }
installed=false
dpkg -L orvanta >/dev/null 2>&1 && fail "dpkg still lists orvanta's files after the purge"
while read -r path; do
  [[ -d $path || ! -e $path ]] || fail "$path is left after the purge"
done <<<"$package_files"
[[ ! -e /usr/lib/orvanta ]] || fail "/usr/lib/orvanta is left after the purge"
[[ $(packages) == "$packages_before" ]] || fail "the installed packages differ from before"
echo "installed package: installed, served its status from the XDG folders, saved on SIGTERM, purged"
