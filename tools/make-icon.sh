#!/usr/bin/env bash
# Draws the program's desktop icon, assets/kestotimer.png (128 x 128), in the
# colours of the logo: a yellow "K" with a red edge over a chequered strip on
# a black rounded square. Drawn with ImageMagick; run it again after changing
# the drawing and commit the result.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/assets/kestotimer.png}"
convert="${CONVERT:-convert}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

S=128
"$convert" -size ${S}x${S} xc:none -fill black -draw "roundrectangle 0,0 127,127 20,20" \
    "$tmp/ground.png"
"$convert" -size ${S}x24 xc: -fx "(floor(i/12)+floor(j/12))%2" "$tmp/strip.png"
"$convert" "$tmp/ground.png" "$tmp/strip.png" -geometry +0+92 -composite \
    "$tmp/ground.png" -compose DstIn -composite \
    -compose Over -fill '#ffd200' -stroke '#c00000' -strokewidth 3 \
    -font Liberation-Sans-Bold -pointsize 92 -gravity north -annotate +0+2 'K' \
    -define png:exclude-chunks=date,time "$out"
