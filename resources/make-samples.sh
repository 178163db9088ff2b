#!/usr/bin/env bash
# Writes a few sample pictures, made from scratch, for the run command: a landscape photo-like JPEG,
# a portrait PNG with transparency, a wide panorama and a tall strip, in logical name order.
set -euo pipefail
convert=$1 out=$2
mkdir -p "$out"
"$convert" -size 3000x2000 -seed 7 plasma:'#1f4f8f-#e8a33d' -blur 0x2 \
  \( -size 3000x2000 gradient:'#00000000-#000000a0' \) -composite -quality 90 "$out/sample1.jpg"
"$convert" -size 1200x1600 radial-gradient:'#ffd25e-#d2452c' \
  \( -size 1200x1600 xc:none -fill '#ffffffcc' -draw 'circle 600,800 600,380' \) -composite "$out/sample2.png"
"$convert" -size 4800x1200 -seed 11 plasma:'#2b6cf0-#5fd0ff' -quality 88 "$out/sample10.jpg"
"$convert" -size 800x4000 gradient:'#272727-#46c2ff' -quality 92 "$out/sample3.jpg"
