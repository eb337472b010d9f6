#!/usr/bin/env bash
# Renders the committed PNG icons from the SVG drawings (needs rsvg-convert, Debian's librsvg2-bin).
# The 16 px icon has its own drawing on the pixel grid; the larger sizes come from kelvarine.svg.
set -euo pipefail
cd "$(dirname "$0")"
rsvg-convert -w 16 -h 16 kelvarine-16.svg -o kelvarine-16.png
for size in 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" kelvarine.svg -o "kelvarine-$size.png"
done
