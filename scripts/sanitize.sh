#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# (TESSEL_SANITIZE=ON) in build-asan/ and runs the whole test suite there.
# Any sanitizer report fails the test that caused it. Leaks inside
# third-party libraries (fontconfig, Qt's plugin loading) are suppressed by
# fuzz/lsan.supp; leaks in Tessel's code are never suppressed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
build=${TESSEL_ASAN_BUILD_DIR:-build-asan}
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_SANITIZE=ON >/dev/null
cmake --build "$build" --parallel "$jobs"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure --parallel "$jobs"
