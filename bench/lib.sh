# Shared by bench/run and bench/soak: the Release build and civ-sim handling.
# shellcheck shell=bash

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/bench
work=$(mktemp -d)
sim_pids=()

stop_sims() {
    local pid
    for pid in "${sim_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    sim_pids=()
}

cleanup() {
    stop_sims
    rm -rf "$work"
}
trap cleanup EXIT

# Qt warns on every start without one, which would count as the program's warning.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen

build_targets() {
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DICOM_INTERFACE_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" --target "$@" >"$work/build.log" 2>&1 || {
        cat "$work/build.log"
        return 1
    }
}

# start_sim NAME [civ-sim options...]: runs civ-sim with its stderr (the --log) in
# $work/NAME.log and sets sim_pty to the line it opened.
start_sim() {
    local name=$1
    shift
    "$build/tools/civ-sim/civ-sim" "$@" >"$work/$name.out" 2>"$work/$name.log" &
    sim_pids+=($!)
    local i
    for ((i = 0; i < 100; i++)); do
        sim_pty=$(head -n 1 "$work/$name.out" 2>/dev/null || true)
        [[ -n $sim_pty ]] && return 0
        sleep 0.05
    done
    echo "civ-sim did not start: $(cat "$work/$name.log")" >&2
    return 1
}


# harness NAME [options...]: the window on $sim_pty; its figures on stdout, its log in
# $work/NAME.harness.log. Returns the harness's status (1 when a judged criterion failed).
harness() {
    local name=$1
    shift
    "$build/bench/icom-harness" --label "$name" --port "$sim_pty" "$@" 2>"$work/$name.harness.log"
}

# field FILE PREFIX N: word N of the first line of FILE that starts with PREFIX.
field() {
    awk -v p="$2" -v n="$3" 'index($0, p) == 1 { print $n; exit }' "$1"
}
