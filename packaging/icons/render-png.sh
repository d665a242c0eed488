#!/usr/bin/env bash
# Renders the PNG icon sizes from hicolor/scalable/apps/drivolex.svg (needs rsvg-convert from librsvg2-bin).
# Run it after changing the drawing and commit the PNGs it writes.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" hicolor/scalable/apps/drivolex.svg -o "hicolor/${size}x${size}/apps/drivolex.png"
done
