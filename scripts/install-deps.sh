#!/usr/bin/env bash
# Installs what Tessel needs to build and test on Debian or Ubuntu.
# Idempotent: packages that are already installed are skipped, and apt-get
# is not touched at all when nothing is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # the translations: lupdate/lrelease and CMake's LinguistTools, and Qt's own
  # texts in Chinese (the buttons of message boxes, the folder picker)
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libjpeg-dev zlib1g-dev
  # --compression smallest: the stronger zlib-stream encoder
  libdeflate-dev
  libgtest-dev
  fonts-dejavu-core fonts-droid-fallback fonts-dseg
  # packaging: the .deb (cpack), its man pages and the checks the package test runs
  dpkg-dev fakeroot file gzip go-md2man
  lintian desktop-file-utils appstream
  # the inspect page test renders the page in a headless browser
  chromium
  # the card test makes a FAT image (mkfs.vfat); a display to try the dialogs on
  dosfstools xvfb xdotool imagemagick
)
if [ "${TESSEL_WITH_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
