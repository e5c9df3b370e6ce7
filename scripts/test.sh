#!/usr/bin/env bash
# Installs what is missing; builds every test with warnings as errors and runs them all under
# AddressSanitizer and UndefinedBehaviorSanitizer; builds the optimised program, the simulator
# and the benchmarks with warnings as errors; replays each fuzz target's seed corpus and fuzzes
# it for a few seconds (fuzz/run.sh SECONDS fuzzes for longer).
set -euo pipefail
cd "$(dirname "$0")/.."

step() {
    echo "== $1 ($(date +%T))"
}

scripts/setup.sh
step "asan: build"
cmake --preset asan
cmake --build --preset asan
# The tests wait on the line more than they compute: the other builds take the idle cores
# meanwhile, at the lowest priority so that they never slow a test down.
step "asan: every test; the optimised program and the fuzz targets build beside them"
cmake --preset optimised >/dev/null
mkdir -p build
(nice -n 19 cmake --build --preset optimised && nice -n 19 fuzz/run.sh --build-only) \
    >build/beside-tests.log 2>&1 &
beside=$!
tests=0
ctest --preset asan || tests=$?
beside_status=0
wait "$beside" || beside_status=$?
step "optimised and fuzz builds done"
if ((beside_status != 0)); then
    tail -n 60 build/beside-tests.log
    exit "$beside_status"
fi
((tests == 0)) || exit "$tests"
step "fuzz"
fuzz/run.sh 5
step "done"
