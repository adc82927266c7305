#!/usr/bin/env bash
# Draws the program's icons and bitmaps from their SVG sources (our own artwork).
#   NAME.ico.svg           -> NAME.ico with 16, 24, 32 and 48 pixel images
#   NAME.WxH.bmp.svg       -> NAME.bmp, W x H pixels, 24-bit (toolbar strips, flag strips)
# Usage: gen_art.sh SOURCE_DIR OUT_DIR
set -euo pipefail
src=$1 out=$2
mkdir -p "$out"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
for svg in "$src"/*.ico.svg; do
    [ -e "$svg" ] || continue
    name=$(basename "$svg" .ico.svg)
    pngs=()
    for size in 16 24 32 48; do
        rsvg-convert -w $size -h $size "$svg" -o "$tmp/$name-$size.png"
        pngs+=("$tmp/$name-$size.png")
    done
    convert "${pngs[@]}" "$out/$name.ico"
done
for svg in "$src"/*.bmp.svg; do
    [ -e "$svg" ] || continue
    base=$(basename "$svg" .bmp.svg)          # NAME.WxH
    name=${base%.*} size=${base##*.}
    rsvg-convert -w "${size%x*}" -h "${size#*x}" "$svg" -o "$tmp/$name.png"
    # Magenta-free 24-bit BMP (v3 header) as LoadImage and the toolbar expect.
    convert "$tmp/$name.png" -background '#C0C0C0' -alpha remove -type TrueColor BMP3:"$out/$name.bmp"
done
