#!/usr/bin/env bash
# A standard rig-control client (hamlib's rigctl, as an IC-706MkIIG at its factory address)
# reads and sets a simulated radio's frequency and mode.
set -euo pipefail
simulator=$1

work=$(mktemp -d)
"$simulator" --radio 0x58 >"$work/sim.out" 2>/dev/null &
sim=$!
trap 'kill $sim 2>/dev/null; rm -rf "$work"' EXIT

deadline=$((SECONDS + 20))
until [ -s "$work/sim.out" ]; do
    [ $SECONDS -lt $deadline ] || { echo "civ-sim printed no port" >&2; exit 1; }
    sleep 0.1
done
port=$(head -n 1 "$work/sim.out")

answers=$(timeout 60 rigctl -m 3011 -r "$port" -s 9600 f m F 7040000 M CW 500 f m)
expected=$'14074000\nUSB\n2400\n7040000\nCW'
# The passband rigctl prints for CW depends on its own defaults; frequency and mode do not.
if [ "$(echo "$answers" | head -n 5)" != "$expected" ]; then
    printf 'rigctl answered:\n%s\nexpected to begin with:\n%s\n' "$answers" "$expected" >&2
    exit 1
fi
echo "rigctl read 14074000 USB, set 7040000 CW and read them back"
