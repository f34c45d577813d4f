#!/usr/bin/env bash
# Regenerates the PNGs from zuvedit.svg: the hicolor theme sizes and the About box picture.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert (imagemagick).
set -euo pipefail
cd "$(dirname "$0")"

for size in 16 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" zuvedit.svg -o "hicolor/${size}x${size}/zuvedit.png"
done

# The About box shows a 64 x 56 picture of 16 colours without transparency: the square
# icon on the dialog's grey, reduced to a 4-bit palette. No time stamps, so reruns match.
about_bg='#efefef'
rsvg-convert -w 56 -h 56 zuvedit.svg |
  convert png:- -background "$about_bg" -flatten -gravity center -extent 64x56 \
    -dither None -colors 16 -strip \
    -define png:bit-depth=4 -define png:color-type=3 -define png:exclude-chunks=date,time \
    png:zuvedit-about.png
