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
step "asan: every test"
ctest --preset asan
step "optimised: build"
cmake --preset optimised
cmake --build --preset optimised
step "fuzz"
fuzz/run.sh 5
step "done"
