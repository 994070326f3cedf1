#!/usr/bin/env bash
# Draws the window icon res/calc.ico with ImageMagick: one 64 x 64 image with
# 256 colours (8 bits per pixel). Large shapes in strong contrast, so that the
# calculator still reads when Windows scales the image to 32 and 16 pixels;
# the gradients give the palette enough colours for an 8-bit icon (with 16 or
# fewer ImageMagick would write a 4-bit one).
#   scripts/make-icon.sh [output.ico]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-res/calc.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A shape of the picture filled with a vertical gradient: gradient_shape FILE
# TOP_COLOUR BOTTOM_COLOUR DRAW_COMMAND.
gradient_shape() {
  convert -size 64x64 gradient:"$2"-"$3" \
    \( -size 64x64 xc:black -fill white -draw "$4" \) \
    -alpha off -compose copy_opacity -composite "$1"
}

# Keys and the gaps between them are multiples of 4 pixels wide, so that a
# scaling to 16 pixels that picks every fourth pixel keeps every gap.
# The case, lit from the top, with a dark rim.
gradient_shape "$work/case.png" '#6a7fa0' '#1e2738' 'roundrectangle 6,1 57,62 8,8'
# The display, pale green like an LCD.
gradient_shape "$work/display.png" '#e9f7d8' '#a9d48f' 'roundrectangle 10,6 53,21 2,2'
# Keys: three rows of three, the right column the operators.
keys=''
ops=''
for row in 0 1 2; do
  y=$((26 + row * 12))
  for col in 0 1; do
    x=$((10 + col * 16))
    keys+="roundrectangle $x,$y $((x + 11)),$((y + 7)) 2,2 "
  done
  ops+="roundrectangle 42,$y 53,$((y + 7)) 2,2 "
done
gradient_shape "$work/keys.png" '#ffffff' '#b8c2d0' "$keys"
gradient_shape "$work/ops.png" '#ffc24a' '#e2661c' "$ops"

# Digits "172" on the display; white plus, minus and equals on the operators.
convert "$work/case.png" \
  -fill none -stroke '#101722' -strokewidth 1.5 -draw 'roundrectangle 6,1 57,62 8,8' \
  "$work/display.png" -compose over -composite \
  -fill none -stroke '#273a1c' -strokewidth 1 -draw 'roundrectangle 10,6 53,21 2,2' \
  -stroke none -fill '#1b2a12' \
  -draw 'rectangle 31,10 33,17' -draw 'rectangle 36,10 40,11' -draw 'rectangle 39,10 40,17' \
  -draw 'rectangle 43,10 48,11' -draw 'rectangle 47,10 48,13' -draw 'rectangle 43,13 48,14' \
  -draw 'rectangle 43,14 44,17' -draw 'rectangle 43,16 48,17' \
  "$work/keys.png" -compose over -composite \
  "$work/ops.png" -compose over -composite \
  -stroke none -fill white \
  -draw 'rectangle 45,29 50,30' -draw 'rectangle 47,27 48,32' \
  -draw 'rectangle 45,41 50,42' \
  -draw 'rectangle 45,51 50,52' -draw 'rectangle 45,54 50,55' \
  "$work/icon.png"

# ImageMagick writes the colours but leaves the icon's transparency mask
# empty (all opaque), so the mask is put in afterwards: the last 64 x 64 bits,
# rows bottom up, a set bit where the picture is transparent, which is what a
# PBM of the flipped alpha channel holds (black = 1). Transparent pixels are
# black in the colour part, so the screen shows through unchanged there.
convert "$work/icon.png" -background black -alpha remove -type Palette -colors 256 "$work/colours.ico"
convert "$work/icon.png" -alpha extract -threshold 50% -flip pbm:- | tail -c 512 >"$work/mask.bin"
size=$(stat -c %s "$work/colours.ico")
{ head -c $((size - 512)) "$work/colours.ico"; cat "$work/mask.bin"; } >"$out"
# Bytes 12-13 of an icon file: the first image's bits per pixel.
bits=$(od -An -tu2 -j12 -N2 "$out" | tr -d ' ')
if [ "$bits" != 8 ]; then
  echo "make-icon.sh: $out has $bits bits per pixel, not 8" >&2
  exit 1
fi
echo "make-icon.sh: wrote $out (64 x 64, 8 bits per pixel)"
