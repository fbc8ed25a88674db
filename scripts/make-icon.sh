#!/usr/bin/env bash
# Draws the program's icon and writes app/KXConfig.ico: scripts/make-icon.sh [OUTPUT]
# The drawing is ours: a blue shield with a gold rim and three settings sliders on it, drawn at
# 256 pixels and reduced to 48, 32 and 16 (each size sharpened a little, so that the sliders
# stay visible at 16). Needs ImageMagick; the icon is committed, so a build does not run this.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/app/KXConfig.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 xc:none \
    -fill '#1f3a7a' -stroke '#d4a017' -strokewidth 14 \
    -draw "path 'M 34,18 L 222,18 L 222,112 C 222,178 178,220 128,242 C 78,220 34,178 34,112 Z'" \
    -stroke white -strokewidth 16 -fill none \
    -draw 'line 74,74 182,74' -draw 'line 74,126 182,126' -draw 'line 92,178 164,178' \
    -stroke '#1f3a7a' -strokewidth 8 -fill '#f2c94c' \
    -draw 'circle 150,74 150,98' -draw 'circle 104,126 104,150' -draw 'circle 134,178 134,200' \
    -depth 8 "$work/256.png"
for size in 48 32 16; do
    convert "$work/256.png" -filter Lanczos -resize "${size}x${size}" -unsharp 0x0.6 -depth 8 "$work/$size.png"
done
convert "$work/16.png" "$work/32.png" "$work/48.png" "$work/256.png" "$out"
echo "$out"
