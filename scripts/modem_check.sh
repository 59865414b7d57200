#!/usr/bin/env bash
# Opt-in check of dialling against real software modems (not run by CI).
#
# Starts two Debian iaxmodem software modems that call each other over IAX2
# on this machine, no telephone exchange involved, and runs the test that
# dials from the first through Tabrel's QSerialPort layer; the second must
# see the exact dial string as its caller's "dialled number". Needs root
# (iaxmodem reads its settings from /etc/iaxmodem) and the iaxmodem
# package; without either it says so and stops.
#
#   scripts/modem_check.sh [BUILD_DIR]      (default: build)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${1:-$ROOT/build}"

if ((EUID != 0)); then
  echo "modem_check: skipped: iaxmodem needs root for its settings in /etc/iaxmodem." >&2
  exit 0
fi
if ! command -v iaxmodem >/dev/null; then
  echo "modem_check: skipped: iaxmodem is not installed (apt-get install iaxmodem)." >&2
  exit 0
fi
if [[ ! -x "$BUILD_DIR/tabrel_tests" ]]; then
  echo "modem_check: $BUILD_DIR/tabrel_tests is missing; build first." >&2
  exit 1
fi

scratch="$(mktemp -d)"
config_dir=/etc/iaxmodem
mkdir -p "$config_dir"
calling="tabrel-check-a-$$"
called="tabrel-check-b-$$"
pids=()

cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -f "$config_dir/$calling" "$config_dir/$called"
  rm -rf "$scratch"
}
trap cleanup EXIT

# A free UDP port for each modem.
free_port() {
  python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
port_a="$(free_port)"
port_b="$(free_port)"

write_config() {  # name device local_port server cid_number
  cat >"$config_dir/$1" <<CONFIG
device          $2
owner           root:root
mode            660
port            $3
refresh         0
server          $4
peername        tabrel
secret          tabrel
cidname         Tabrel check
cidnumber       $5
codec           slinear
CONFIG
}
write_config "$calling" "$scratch/modem-a" "$port_a" "127.0.0.1:$port_b" 5550100
write_config "$called" "$scratch/modem-b" "$port_b" "127.0.0.1:$port_a" 5550200

for name in "$called" "$calling"; do
  iaxmodem "$name" >"$scratch/$name.log" 2>&1 &
  pids+=("$!")
done
for device in "$scratch/modem-a" "$scratch/modem-b"; do
  for _ in $(seq 50); do
    [[ -e "$device" ]] && break
    sleep 0.1
  done
  if [[ ! -e "$device" ]]; then
    echo "modem_check: iaxmodem did not create $device:" >&2
    cat "$scratch"/*.log >&2
    exit 1
  fi
done

export TABREL_TEST_MODEM="$scratch/modem-a"
export TABREL_TEST_CALLED="$scratch/modem-b"
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/tabrel_tests" --gtest_filter='ModemLineTest.*'
