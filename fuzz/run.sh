#!/usr/bin/env bash
# Builds the fuzz targets with clang in build/fuzz and runs each for SECONDS (default 30) on a
# scratch copy of its seed corpus. Exits non-zero on any finding; crash inputs are kept in
# build/fuzz/findings/.
#   fuzz/run.sh [SECONDS]
set -euo pipefail

seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DICOM_INTERFACE_BUILD_FUZZ=ON \
    -DICOM_INTERFACE_WERROR=ON >/dev/null
cmake --build "$build" --target fuzz_parser fuzz_commands fuzz_monitor fuzz_entry fuzz_rigctl

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

status=0
summary=()
for target in parser commands monitor entry rigctl; do
    corpus=$scratch/$target
    findings=$build/findings/$target
    mkdir -p "$findings"
    cp -r "$root/fuzz/corpus/$target" "$corpus"
    log=$build/fuzz_$target.log
    echo "== fuzz_$target for ${seconds} s"
    set +e
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1
    rc=$?
    set -e
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 || true)
    if [[ $rc -ne 0 ]]; then
        status=1
        tail -n 40 "$log"
        summary+=("fuzz_$target: FINDING (exit $rc), see $log and $findings")
    else
        summary+=("fuzz_$target: ${runs:-?} executions, ${rate:-?} exec/s, ${cov:-cov: ?}, no findings")
    fi
done

printf '%s\n' "${summary[@]}"
exit $status
