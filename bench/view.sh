#!/usr/bin/env bash
# View benchmark: a generated 6000 x 4000 JPEG in a 1600 x 1000 view. Time to the fit frame, time
# until each zoom frame is ready after the first zoom beyond fit, and one Pan + Paint step at actual
# size (a 60 Hz screen allows 16.7 ms per step).
#   ./bench/view.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
big=$(bench_big_jpeg)
source "$VISTROMA_ROOT/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start
out=$(wine "$VISTROMA_BUILD/bench/view_bench.exe" "$(winepath -w "$big")" </dev/null 2>/dev/null | tr -d '\r')
value() { awk -v k="$1" '$1 == k {print $2}' <<<"$out"; }
printf '\n%-52s %10s\n' "6000 x 4000 JPEG in a 1600 x 1000 view" "ms"
printf '%-52s %10s\n' "open to fit frame ready" "$(value fit)"
printf '%-52s %10s\n' "first zoom to the 2x-fit frame ready" "$(value zoom2x)"
z4=$(value zoom4x)
[[ $z4 == -1.0 ]] && z4="none"  # 4 x the fit ratio is not below actual size: no such frame
printf '%-52s %10s\n' "first zoom to the 4x-fit frame ready" "$z4"
printf '%-52s %10s\n' "first zoom to the actual-size frame ready" "$(value actual)"
printf '%-52s %10s\n' "Pan + Paint at 1:1, median (goal < 16)" "$(value pan_median)"
printf '%-52s %10s\n' "Pan + Paint at 1:1, 95th percentile" "$(value pan_p95)"
