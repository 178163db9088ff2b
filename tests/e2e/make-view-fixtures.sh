#!/usr/bin/env bash
# make-view-fixtures.sh CONVERT OUT_DIR: the pictures the end-to-end tests open in the real viewer.
set -euo pipefail
convert="$1"
out="$2"
mkdir -p "$out/pages"
cd "$out"
# Square, so a wide view shows canvas beside it; a vertical ramp, so moving it changes what the middle shows.
"$convert" -size 1200x1200 gradient:'#2060c0'-'#c0a020' -quality 92 photo.jpg
# 24 megapixels without an embedded thumbnail: its fit frame takes a moment.
"$convert" -size 6000x4000 gradient:'#204080'-'#80c040' -quality 90 big.jpg
# Three pages whose names sort differently as text and as numbers.
"$convert" -size 400x300 xc:'#c03030' pages/p1.png
"$convert" -size 400x300 xc:'#30c030' pages/p2.png
"$convert" -size 400x300 xc:'#3030c0' pages/p10.png
# A JPEG in name only.
printf '\xff\xd8\xff\xe0 this is not a picture at all' > broken.jpg
