#!/usr/bin/env bash
# Renders the desktop icon sizes from resources/icons/kalkora.svg (needs rsvg-convert from
# librsvg2-bin). 16 and 32 pixels are drawn by hand (resources/kalkora16.png, kalkora32.png).
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 22 24 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" kalkora.svg -o "kalkora$size.png"
done
