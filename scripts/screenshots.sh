#!/bin/sh
# Takes headless screenshots of the three dialogs into docs/screenshots/.
#   scripts/screenshots.sh [BUILD_DIR]     (default: build)
# Builds the tessel program first when it is missing.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
case $build in /*) ;; *) build="$(pwd)/$build" ;; esac

if [ ! -x "$build/bin/tessel" ]; then
  cmake -S "$root" -B "$build"
  cmake --build "$build" --parallel 1 --target tessel
fi

# The offscreen platform draws through fontconfig; the Chinese captions need
# a CJK font it can find (Debian: fonts-droid-fallback).
if command -v fc-list >/dev/null 2>&1 && [ -z "$(fc-list :lang=zh)" ]; then
  echo "warning: fontconfig knows no Chinese font; captions will show boxes" >&2
  echo "         (install fonts-droid-fallback)" >&2
fi

mkdir -p "$root/docs/screenshots"
QT_QPA_PLATFORM=offscreen "$build/bin/tessel" --screenshot "$root/docs/screenshots"
