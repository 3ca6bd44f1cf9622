#!/usr/bin/env bash
# Renders the program's PNG icons and the Windows icon from data/icons/zorvek.svg (checked in beside it; run this
# after changing the drawing).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${ICON_PACKAGES[@]}"

for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" data/icons/zorvek.svg -o "data/icons/zorvek-$size.png"
done
# The Windows program's icon: the same pictures in one .ico, the largest kept as PNG.
icotool -c -o data/icons/zorvek.ico data/icons/zorvek-{16,32,48,64,128}.png --raw=data/icons/zorvek-256.png
echo "rendered data/icons/zorvek-{16,32,48,64,128,256}.png and data/icons/zorvek.ico"
