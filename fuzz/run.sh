#!/usr/bin/env bash
# Fuzzes every reader:  fuzz/run.sh SECONDS
# Installs clang and libFuzzer when missing, builds every target in
# build-fuzz/, writes the seeds into fuzz/corpus-<target>/ and runs each
# target for SECONDS. Stops with a non-zero status at the first crash, leak,
# sanitizer report, timeout or memory limit; the input that caused it is kept
# in fuzz/findings/<target>-<kind>-<hash>.
#
# Memory: -rss_limit_mb=2048 and -malloc_limit_mb=2048. The picture loader
# itself refuses pictures past 65535 on a side or 512 MiB decoded; the
# picture target skips smaller but still large declared sizes (see
# fuzz_picture.cpp), so the limits are only reached by a real fault.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
TESSEL_WITH_FUZZ=1 bash scripts/install-deps.sh

build=${TESSEL_FUZZ_BUILD_DIR:-build-fuzz}
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$build" -DTESSEL_FUZZ=ON -DTESSEL_BUILD_GUI=OFF -DTESSEL_BUILD_TESTS=OFF \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$jobs" --target tessel_fuzz >/dev/null

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_LOGGING_RULES="qt.gui.imageio*=false"
ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/tessel-fuzz-corpus" fuzz

mkdir -p fuzz/findings "$build/fuzz/logs"
targets=(icon_icl icon_t5uic icon_raw icon_build register_text config_header picture
  inspect_zbmp inspect_zico inspect_pack inspect_text inspect_page)
for t in "${targets[@]}"; do
  log=$build/fuzz/logs/$t.log
  echo "fuzz: $t for ${seconds}s"
  if ! "$build/fuzz/fuzz_$t" "fuzz/corpus-$t" -max_total_time="$seconds" \
      -rss_limit_mb=2048 -malloc_limit_mb=2048 -timeout=25 -print_final_stats=1 \
      -artifact_prefix="fuzz/findings/$t-" >"$log" 2>&1; then
    echo "fuzz: $t FAILED; the report:" >&2
    grep -v '^#[0-9]' "$log" | tail -n 60 >&2
    echo "fuzz: reproducer(s) in fuzz/findings/:" >&2
    ls -1 fuzz/findings/ | grep "^$t-" >&2 || true
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  grep '^Done ' "$log" | tail -n 1 | sed "s/^/fuzz: $t: /"
  echo "fuzz: $t: ${runs:-?} executions, no finding"
done
echo "fuzz: every target ran ${seconds}s without a finding"
