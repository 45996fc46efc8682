#!/usr/bin/env bash
# Installs what is missing, builds, and converts the bundled sample project
# into examples/out/ inside the checkout.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
build=${TESSEL_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)" --target tessel-cli tessel-make-sample tessel_resources
sample=examples/DWIN_SET
if [ ! -d "$sample" ]; then
  "$build/bin/tessel-make-sample" "$sample"
fi
"$build/bin/tessel-cli" convert "$sample" --output examples/out "$@"
echo
echo "The converted project is in $root/examples/out/private"
echo "(copy that private folder to the root of the display's SD card)."
