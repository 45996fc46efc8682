#!/usr/bin/env bash
# Prints a digest of every output file over a matrix of conversions (both
# branches, every picture format, de-ripple, rotations, the pack) of the
# generated sample projects and the benchmark project. Two builds that print
# the same digest write the same bytes.
#
#   scripts/output-digest.sh [BIN_DIR] > digest.txt
#
# BIN_DIR holds tessel-cli, tessel-make-sample and the font files (default
# build/bin). TESSEL_DIGEST_LARGE=0 leaves out the benchmark project.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$root/build/bin}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/tessel-make-sample" "$work/A" >/dev/null
"$bin/tessel-make-sample" "$work/B" --branch-b >/dev/null
# A block file in place of the register text: T5LC1 naming library 20 as
# the picture library (icons turned once), and T5C2 for Branch B.
header() {  # marker, byte index=value...
  local file=$1 marker=$2
  shift 2
  head -c 64 /dev/zero > "$file"
  printf '%s' "$marker" | dd of="$file" conv=notrunc status=none
  for kv in "$@"; do
    printf "\\x$(printf %02x "${kv#*=}")" | dd of="$file" bs=1 seek="${kv%%=*}" conv=notrunc status=none
  done
}
cp -r "$work/A" "$work/P" && rm "$work/P/CONFIG.TXT"
header "$work/P/T5LC1.cfg" T5LC1 5=1 8=20 10=0 11=28
cp -r "$work/B" "$work/Q" && rm -f "$work/Q/"*onfig*.txt "$work/Q/"*ONFIG*.TXT
header "$work/Q/t5c2.cfg" T5C2 8=64 9=0 10=68
if [ "${TESSEL_DIGEST_LARGE:-1}" = 1 ]; then
  "$bin/tessel-make-sample" "$work/L" --large >/dev/null
fi

run() {  # project, options...
  local project=$1
  shift
  local out="$work/out"
  rm -rf "$out"
  local status=0
  "$bin/tessel-cli" convert "$work/$project" -o "$out" -y -q --resources "$bin" "$@" || status=$?
  echo "== $project $* (exit $status)"
  (cd "$out" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum)
}

for p in A B; do
  run $p
  run $p --format jpeg
  run $p --format jpeg-hq
  run $p --deripple
  run $p --deripple --format jpeg
  for r in none 90 180 270; do run $p --rotation $r; done
  run $p --rotation 90 --format jpeg
  run $p --font segment --font-display bitmap
done
for p in P Q; do
  run $p
  run $p --format jpeg
  run $p --deripple
  run $p --rotation 180
done
run Q --pack
run B --pack
run B --pack --format jpeg
run B --pack --deripple
run B --pack --rotation 270
run B --set baud=115200 --set screen-rotation=90 --set touch-file=on
if [ -d "$work/L" ]; then
  run L
  run L --format jpeg
  run L --pack
fi
