#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# Then, unless TESSEL_QUICK=1: the whole suite again under AddressSanitizer
# and UndefinedBehaviorSanitizer (scripts/sanitize.sh), and every fuzz target
# for TESSEL_FUZZ_SECONDS seconds (fuzz/run.sh, 30 by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
build=${TESSEL_BUILD_DIR:-build}
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$jobs"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$jobs"

if [ "${TESSEL_QUICK:-0}" = 1 ]; then exit 0; fi
echo "test.sh: the test suite under the sanitizers" >&2
bash scripts/sanitize.sh
echo "test.sh: fuzzing every reader" >&2
bash fuzz/run.sh "${TESSEL_FUZZ_SECONDS:-30}"
