#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on a simulated radio bus.
# Options after the script's name go to the program, e.g. --port /dev/ttyUSB0 for a real radio.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default
cmake --build --preset default

sim_out=$(mktemp)
build/default/tools/civ-sim/civ-sim >"$sim_out" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; rm -f "$sim_out"' EXIT

port=""
for _ in $(seq 100); do
    port=$(head -n 1 "$sim_out")
    [ -n "$port" ] && break
    kill -0 "$sim_pid" || { echo "civ-sim did not start" >&2; exit 1; }
    sleep 0.1
done
[ -n "$port" ] || { echo "civ-sim printed no port" >&2; exit 1; }
echo "Simulated radio at address 8 on $port"

build/default/src/icom-interface --port "$port" "$@"
