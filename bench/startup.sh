#!/usr/bin/env bash
# Run inside an X server (bench/run uses xvfb-run): times PROGRAM from exec to the map of its
# first top-level window, the about message, RUNS times after one untimed warm-up run. Prints
# every time in ms, then the median. xev watches the root window, so nothing in the program is
# changed or waited on; the about box is modal, so nothing else maps before it.
#   startup.sh PROGRAM [RUNS]
set -euo pipefail

program=$1
runs=${2:-10}

coproc XEV { exec stdbuf -oL xev -root -event substructure; }
# Give xev time to select its events on the root window before the first start.
sleep 0.5

time_one() {
    local line start end pid
    start=$EPOCHREALTIME
    "$program" >/dev/null 2>&1 &
    pid=$!
    while IFS= read -r -t 10 line <&"${XEV[0]}"; do
        if [[ $line == MapNotify* ]]; then
            end=$EPOCHREALTIME
            break
        fi
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if [[ -z ${end:-} ]]; then
        echo "no window mapped within 10 s" >&2
        return 1
    fi
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f\n", (e - s) * 1000 }'
}

time_one >/dev/null
times=()
for ((i = 0; i < runs; i++)); do
    times+=("$(time_one)")
done
kill "$XEV_PID" 2>/dev/null || true

echo "start-up runs: ${times[*]} ms"
printf '%s\n' "${times[@]}" | sort -n |
    awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
          printf "start-up to about message mapped: %.1f ms (median of %d; min %.1f, max %.1f)\n",
                 m, NR, v[1], v[NR] }'
