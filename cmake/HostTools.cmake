# Linux programs the build runs: artwork rasterising and sample pictures.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
# /usr/bin first: a convert earlier on PATH may be a wrapper of the real ImageMagick.
find_program(IMAGEMAGICK_CONVERT convert PATHS /usr/bin NO_DEFAULT_PATH)
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)
