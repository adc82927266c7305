#!/usr/bin/env bash
# Draws the program's icons and bitmaps from their SVG sources (our own artwork).
#   NAME.ico.svg           -> NAME.ico with 16, 24, 32 and 48 pixel images
#   NAME.WxH.bmp.svg       -> NAME.bmp, W x H pixels, 24-bit (toolbar strips, flag strips)
#   NAME.SIZE.strip        -> NAME.bmp: the SVGs it lists, each drawn SIZE x SIZE, side by side in
#                             the listed order; a line "style FILE.css" styles the pictures after it
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
for strip in "$src"/*.strip; do
    [ -e "$strip" ] || continue
    base=$(basename "$strip" .strip)          # NAME.SIZE
    name=${base%.*} size=${base##*.}
    style=() pngs=() n=0
    while read -r line; do
        line=${line%%#*}; line=${line%"${line##*[![:space:]]}"}
        [ -z "$line" ] && continue
        if [[ $line == style\ * ]]; then style=(-s "$src/${line#style }"); continue; fi
        rsvg-convert "${style[@]}" -w "$size" -h "$size" "$src/$line" -o "$tmp/$name-$n.png"
        pngs+=("$tmp/$name-$n.png"); n=$((n + 1))
    done <"$strip"
    convert -background '#C0C0C0' "${pngs[@]}" +append -alpha remove -type TrueColor BMP3:"$out/$name.bmp"
done
