#!/usr/bin/env bash
# Installs what is missing, fuzzes the parser and the frame builders for a short while, builds
# with warnings as errors and runs every test, then runs the whole suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
fuzz/run.sh 30
for preset in testing asan; do
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
