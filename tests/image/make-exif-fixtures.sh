#!/usr/bin/env bash
# make-exif-fixtures.sh CONVERT OUT_DIR: small pictures whose shooting information exiftool writes, for the
# tests of the metadata reader.
set -euo pipefail
convert="$1"
out="$2"
mkdir -p "$out"
cd "$out"
"$convert" -size 16x8 xc:'#3366cc' -density 150 -units PixelsPerInch base.jpg
"$convert" -size 16x8 xc:'#3366cc' -density 300 -units PixelsPerInch plain.png
make() {  # make NAME exiftool-arguments...
  local name=$1
  shift
  cp base.jpg "$name.jpg"
  exiftool -q -q -overwrite_original "$@" "$name.jpg"
}
make camera -Make=Canon "-Model=EOS 5D Mark IV" "-LensModel=EF24-70mm f/2.8L II USM" -FNumber=2.8 \
  -ExposureTime=1/250 -ISO=200 -FocalLength=50 -MaxApertureValue=2.8 -MeteringMode#=5 -EXIF:Flash#=16 \
  -WhiteBalance#=0 -ExposureProgram#=3 "-DateTimeOriginal=2024:05:03 14:07:09" -Orientation#=6 \
  -GPSLatitude=39.9042 -GPSLatitudeRef=N -GPSLongitude=116.4 -GPSLongitudeRef=E
make big_endian -ExifByteOrder=Big-endian "-FNumber#=undef" "-ExposureTime#=10" -Make=Nikon -Orientation#=3 \
  "-GPSLatitude=33 52 7.68" "-GPSLongitude=151 12 33.48"
# A lower-case southern reference, which exiftool accepts only on its own.
exiftool -q -q -overwrite_original "-GPSLatitudeRef#=s" "-GPSLongitudeRef#=E" big_endian.jpg
make latitude_only -GPSLatitude=48.8584 -GPSLatitudeRef=N
