#!/usr/bin/env bash
# Builds the fuzz targets with clang in build/fuzz, replays each target's seed corpus and fuzzes
# it for SECONDS (default 30) on a scratch copy of the corpus, as many targets at once as there
# are cores. Exits non-zero on any finding; crash inputs are kept in build/fuzz/findings/.
#   fuzz/run.sh [SECONDS]
#   fuzz/run.sh --build-only   builds them and stops
set -euo pipefail

seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
targets=(parser commands monitor entry rigctl)

# Precompiled headers would be built for other flags than the instrumented libraries have.
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DICOM_INTERFACE_BUILD_FUZZ=ON \
    -DICOM_INTERFACE_PCH=OFF \
    -DICOM_INTERFACE_WERROR=ON >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}"
[[ $seconds == --build-only ]] && exit 0

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

fuzz() {
    local target=$1
    local corpus=$scratch/$target findings=$build/findings/$target
    mkdir -p "$findings"
    cp -r "$root/fuzz/corpus/$target" "$corpus"
    local rc=0
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" \
        >"$build/fuzz_$target.log" 2>&1 || rc=$?
    echo "$rc" >"$scratch/$target.rc"
}

echo "== ${targets[*]}: the seed corpus, then ${seconds} s each, $(nproc) at a time"
running=0
for target in "${targets[@]}"; do
    if ((running >= $(nproc))); then
        wait -n
        running=$((running - 1))
    fi
    fuzz "$target" &
    running=$((running + 1))
done
wait

status=0
for target in "${targets[@]}"; do
    log=$build/fuzz_$target.log
    rc=$(cat "$scratch/$target.rc")
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 || true)
    if [[ $rc -ne 0 ]]; then
        status=1
        tail -n 40 "$log"
        echo "fuzz_$target: FINDING (exit $rc), see $log and $build/findings/$target"
    else
        echo "fuzz_$target: ${runs:-?} executions, ${rate:-?} exec/s, ${cov:-cov: ?}, no findings"
    fi
done
exit $status
