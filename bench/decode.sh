#!/usr/bin/env bash
# Decoding benchmark: the viewer's fitted-frame and full decodes of a generated 6000 x 4000 JPEG
# (quality 90), beside libjpeg-turbo's djpeg and libvips' vipsthumbnail on the same file, and the
# fitted frame's quality against a box-filtered reduction of the full decode.
#   ./bench/decode.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

need=()
command -v djpeg >/dev/null || need+=(libjpeg-turbo-progs)
command -v vipsthumbnail >/dev/null || need+=(libvips-tools)
if ((${#need[@]})); then
  log "installing ${need[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${need[@]}" >/dev/null
fi

big=$(bench_big_jpeg)
work=$(dirname "$big")


source "$VISTROMA_ROOT/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start
fit_w=1600 fit_h=1067
ours=$(wine "$VISTROMA_BUILD/bench/decode_bench.exe" "$(winepath -w "$big")" $fit_w $fit_h \
  "$(winepath -w "$work/fitted.ppm")" </dev/null 2>/dev/null | tr -d '\r')
our_fit=$(awk '/^fit/ {print $2}' <<<"$ours")
our_full=$(awk '/^full/ {print $2}' <<<"$ours")

djpeg_quarter=$(median_ms 9 djpeg -scale 1/4 -outfile /dev/null "$big")
vips=$(median_ms 9 vipsthumbnail "$big" --size $fit_w -o "$work/vips.jpg")
djpeg_full=$(median_ms 7 djpeg -outfile /dev/null "$big")

djpeg -outfile "$work/full.ppm" "$big"
convert "$work/full.ppm" -filter Box -resize "${fit_w}x${fit_h}!" "$work/reference.ppm"
psnr=$(compare -metric PSNR "$work/fitted.ppm" "$work/reference.ppm" null: 2>&1 || true)

printf '\n%-44s %10s\n' "6000 x 4000 JPEG, quality 90 ($(du -h "$big" | cut -f1))" "ms"
printf '%-44s %10s\n' "fit to ${fit_w} x ${fit_h}: Vistroma DecodeToSize" "$our_fit"
printf '%-44s %10s\n' "  djpeg -scale 1/4 (native)" "$djpeg_quarter"
printf '%-44s %10s\n' "  vipsthumbnail --size $fit_w (native)" "$vips"
printf '%-44s %10s\n' "full size: Vistroma GetFullSource" "$our_full"
printf '%-44s %10s\n' "  djpeg (native)" "$djpeg_full"
printf '%-44s %10s\n' "fit quality against a box-filtered full decode" "$psnr dB"
awk -v a="$our_fit" -v q="$djpeg_quarter" -v v="$vips" -v f="$our_full" -v d="$djpeg_full" 'BEGIN {
  printf "\nfit / djpeg 1/4 = %.2f (goal <= 1.5)   fit / vipsthumbnail = %.2f (goal <= 1)   full / djpeg = %.2f (goal <= 1.5)\n",
    a / q, a / v, f / d }'
