#!/usr/bin/env bash
# make-decode-fixtures.sh CONVERT OUT_DIR: pictures for the decoding tests. "marked" is 64 x 48 with a red
# top-left, a green top-right and a blue bottom-left corner on grey; orient_N.jpg store it so that EXIF
# orientation N shows it upright again.
set -euo pipefail
convert="$1"
out="$2"
mkdir -p "$out"
cd "$out"
"$convert" -size 64x48 xc:'#808080' -fill '#ff0000' -draw 'rectangle 0,0 15,11' -fill '#00ff00' \
  -draw 'rectangle 48,0 63,11' -fill '#0000ff' -draw 'rectangle 0,36 15,47' marked.png
# What each orientation's display transform undoes.
undo=( "" "" "-flop" "-rotate 180" "-flip" "-transpose" "-rotate 270" "-transverse" "-rotate 90" )
for n in 1 2 3 4 5 6 7 8; do
  # shellcheck disable=SC2086
  "$convert" marked.png ${undo[$n]} -quality 95 "orient_$n.jpg"
  exiftool -q -q -overwrite_original "-Orientation#=$n" "orient_$n.jpg"
done
"$convert" marked.png -define icon:auto-resize=16,48,256 icon.ico
"$convert" -size 96x64 xc:'#1e32c8' -quality 100 -sampling-factor 1x1 flat.jpg
"$convert" marked.png marked.webp
"$convert" marked.png -compress none marked_ascii.ppm
"$convert" marked.png marked.ppm
"$convert" marked.png -colorspace gray marked.pgm
# The top-left origin stated: this ImageMagick writes rows top first even when it states the default
# bottom-left origin.
"$convert" marked.png -orient TopLeft marked.tga
"$convert" marked.png -orient TopLeft -compress RLE marked_rle.tga
"$convert" marked.png marked.gif
"$convert" marked.png -quality 90 marked.jpg
head -c 3000 /dev/urandom > noise.jpg
"$convert" -delay 10 marked.png -flop marked.png -loop 0 anim.gif
"$convert" marked.png marked.png -flip multi.tif
"$convert" -size 1279x5117 xc:'#404040' long_1279x5117.png
"$convert" -size 1280x10000 xc:'#404040' long_1280x10000.png
"$convert" -size 1000x4000 xc:'#404040' long_1000x4000.png
"$convert" -size 1280x1282 xc:'#404040' size_1280x1282.png
"$convert" -size 1281x1281 xc:'#404040' size_1281x1281.png
# A camera-like JPEG: red, turned by its orientation tag, carrying a small blue thumbnail in its EXIF
# block, as the shell's fast extraction finds it.
"$convert" -size 160x120 xc:'#2040c0' -quality 85 thumb_part.jpg
"$convert" -size 640x480 xc:'#c02020' -quality 85 with_thumbnail.jpg
exiftool -q -q -overwrite_original "-ThumbnailImage<=thumb_part.jpg" -Orientation#=6 with_thumbnail.jpg
rm -f thumb_part.jpg
