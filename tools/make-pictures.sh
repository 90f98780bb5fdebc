#!/usr/bin/env bash
# Draws the pictures of the race screen into assets/: the three flags shown in
# the flag picture (on black, like the screen), the logo and the two pointers.
# They are drawn here from scratch with ImageMagick so the program ships only
# pictures of its own; run it again after changing a drawing and commit the
# results.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/assets}"
convert="${CONVERT:-convert}"
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# The flag picture of the screen is 1950 x 735 twips (about 2.65 : 1).
W=390
H=147

# A flag cloth waving to the right of a pole, as a path in the flag area.
cloth="M 40,18 C 110,2 160,38 230,20 C 280,8 320,14 350,22 L 350,112 C 320,104 280,98 230,110 C 160,128 110,92 40,108 Z"

flag_on_black() { # fill-colour output
    "$convert" -size ${W}x${H} xc:black \
        -fill '#a0a0a0' -draw "rectangle 30,8 38,146" \
        -fill '#d8d8d8' -draw "circle 34,8 34,3" \
        -fill "$1" -stroke '#404040' -strokewidth 2 -draw "path '$cloth'" \
        -type TrueColor "BMP3:$2"
}

flag_on_black '#00b000' "$out/GreenFlagblack.bmp"
flag_on_black '#ffffff' "$out/whiteflagblack.bmp"

# Checkered: a chequer board clipped to the cloth, then the pole.
"$convert" -size ${W}x${H} xc:black -fill white -draw "path '$cloth'" "$tmp/mask.png"
"$convert" -size ${W}x${H} xc: -fx "(floor((i-40)/22)+floor((j+4)/22))%2" "$tmp/board-bw.png"
"$convert" -size ${W}x${H} xc:black "$tmp/board-bw.png" "$tmp/mask.png" -composite \
    -fill none -stroke '#909090' -strokewidth 2 -draw "path '$cloth'" \
    -fill '#a0a0a0' -stroke none -draw "rectangle 30,8 38,146" \
    -fill '#d8d8d8' -draw "circle 34,8 34,3" \
    -type TrueColor "BMP3:$out/CheckeredFlagblack.bmp"

# The logo: "Kesto Timer" over a chequered strip, black ground (0.38 : 1).
LW=500
LH=190
"$convert" -size ${LW}x40 xc: -fx "(floor(i/20)+floor(j/20))%2" "$tmp/strip.png"
"$convert" -size ${LW}x${LH} xc:black \
    "$tmp/strip.png" -geometry +0+146 -composite \
    -fill '#ffd200' -stroke '#c00000' -strokewidth 3 \
    -font Liberation-Sans-Bold -pointsize 84 -gravity north -annotate +0+18 'Kesto' \
    -stroke none -fill white -font Liberation-Sans-Bold -pointsize 34 \
    -gravity north -annotate +0+104 'T I M E R' \
    "$out/KestoLogo.png"

# Pointers (32 x 32, hot spot at the top left, as a cursor file would have).
# handred.ico: a red hand with the index finger pointing up.
hand="M 12,2 C 14,0 17,0 18,3 L 18,13 L 21,12 C 23,12 24,13 24,14 L 26,14 C 28,14 29,16 29,17
 L 29,24 C 29,28 26,31 22,31 L 15,31 C 12,31 10,29 8,27 L 3,19 C 2,17 4,15 6,16 L 10,20 L 10,4 Z"
"$convert" -size 32x32 xc:none -fill '#e00000' -stroke black -strokewidth 1 \
    -draw "path '$hand'" -stroke black -draw "line 18,16 18,22" -draw "line 23,16 23,22" \
    -define icon:auto-resize=32 "$out/handred.ico"

# racer.ico: a racing helmet in red with a white visor stripe.
"$convert" -size 32x32 xc:none \
    -fill '#e00000' -stroke black -strokewidth 1 \
    -draw "path 'M 4,20 C 4,8 12,3 19,3 C 26,3 30,9 30,16 L 30,24 C 30,27 28,28 26,28 L 8,28 C 5,28 4,26 4,20 Z'" \
    -fill '#202060' -draw "path 'M 15,12 L 30,12 L 30,19 L 15,19 C 13,19 13,12 15,12 Z'" \
    -fill white -stroke none -draw "rectangle 5,22 29,24" \
    -define icon:auto-resize=32 "$out/racer.ico"

ls -l "$out"
