#!/bin/sh
# Takes headless screenshots of the three dialogs, of the main dialog after a
# run and of the card dialog after a copy, in both languages: Chinese into
# docs/screenshots/, English into docs/screenshots/en/. With Chromium, also
# the inspection pages of the Branch B sample with the picture pack
# (inspect.png), the bundled sample (inspect-sample.png), a picture-library
# project (inspect-library.png) and a turned project (inspect-turned.png).
#   scripts/screenshots.sh [BUILD_DIR]     (default: build)
# Builds the tessel-screenshots program first when it is missing.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
case $build in /*) ;; *) build="$(pwd)/$build" ;; esac

if [ ! -x "$build/bin/tessel-screenshots" ] || [ ! -x "$build/bin/tessel-make-sample" ]; then
  cmake -S "$root" -B "$build"
  cmake --build "$build" --parallel 1 --target tessel-screenshots tessel-cli tessel-make-sample
fi

# The offscreen platform draws through fontconfig; the Chinese captions need
# a CJK font it can find (Debian: fonts-droid-fallback).
if command -v fc-list >/dev/null 2>&1 && [ -z "$(fc-list :lang=zh)" ]; then
  echo "warning: fontconfig knows no Chinese font; captions will show boxes" >&2
  echo "         (install fonts-droid-fallback)" >&2
fi

# The dialog after a run: the benchmark project (hundreds of pictures) with one
# picture cut short, so that the run has a warning to show; then the card
# dialog after copying that output to a folder.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$build/bin/tessel-make-sample" "$work/DWIN_SET" --large >/dev/null
head -c 300 "$work/DWIN_SET/0.bmp" > "$work/DWIN_SET/cut" && mv "$work/DWIN_SET/cut" "$work/DWIN_SET/4.bmp"

mkdir -p "$root/docs/screenshots/en"
QT_QPA_PLATFORM=offscreen "$build/bin/tessel-screenshots" --lang zh "$root/docs/screenshots" "$work/DWIN_SET"
QT_QPA_PLATFORM=offscreen "$build/bin/tessel-screenshots" --lang en "$root/docs/screenshots/en" "$work/DWIN_SET"

chromium=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$chromium" ]; then
  echo "no chromium: inspect.png not made" >&2
  exit 0
fi
# The pages: the Branch B sample in the picture pack as JPEG (each screen
# beside its source), the bundled sample, a picture-library project and a
# project for a display mounted turned by 90 degrees.
"$build/bin/tessel-make-sample" "$work/B" --branch-b >/dev/null
"$build/bin/tessel-make-sample" "$work/library" --picture-library >/dev/null
"$build/bin/tessel-make-sample" "$work/turned" --turned >/dev/null
"$build/bin/tessel-cli" convert "$work/B" -o "$work/B-out" --pack --format jpeg -y -q
"$build/bin/tessel-cli" convert "$work/DWIN_SET" -o "$work/sample-out" -y -q || true  # 5.bmp is cut
"$build/bin/tessel-cli" convert "$work/library" -o "$work/library-out" -y -q
"$build/bin/tessel-cli" convert "$work/turned" -o "$work/turned-out" -y -q
for lang in zh en; do
  shots="$root/docs/screenshots"
  [ "$lang" = en ] && shots="$shots/en"
  for page in B:inspect sample:inspect-sample library:inspect-library turned:inspect-turned; do
    out=${page%%:*}
    name=${page#*:}
    "$build/bin/tessel-cli" --lang "$lang" inspect "$work/$out-out" -o "$work/page-$out-$lang" -q \
      >/dev/null || true  # notes and faults are on the page
    "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
      --disable-background-networking --disable-component-update --disable-sync \
      --user-data-dir="$work/chromium" --hide-scrollbars --window-size=1100,1300 \
      --screenshot="$shots/$name.png" "file://$work/page-$out-$lang/index.html" 2>/dev/null
    echo "wrote $shots/$name.png"
  done
done
