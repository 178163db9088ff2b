#!/usr/bin/env bash
# Folder-scan benchmark: the folder list's scan of 10,000 picture files (empty files with picture
# names, mixed with others), beside `ls -v` on the same folder.
#   ./bench/folder_scan.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

work=$VISTROMA_BUILD/bench/folder
if [[ ! -e $work/.made ]]; then
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && for i in $(seq 1 10000); do
     case $((i % 5)) in 0) e=png ;; 1) e=JPG ;; 2) e=jpeg ;; 3) e=webp ;; *) e=jpg ;; esac
     printf '' > "img$i.$e"
   done && for i in $(seq 1 500); do printf '' > "notes$i.txt"; done && mkdir -p sub.jpg) && touch "$work/.made"
  mv "$work/img5000.png" "$work/img5000.jpg"
fi


source "$VISTROMA_ROOT/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start
ours=$(wine "$VISTROMA_BUILD/bench/folder_bench.exe" "$(winepath -w "$work")" </dev/null 2>/dev/null | tr -d '\r')
ls_v=$(median_ms 9 ls -v "$work")
printf '\n%-52s %10s\n' "folder of 10,000 pictures and 500 other files" "ms"
printf '%-52s %10s\n' "Vistroma scan (enumerate, classify, logical sort)" "$(awk '/^scan/ {print $2}' <<<"$ours")"
printf '%-52s %10s\n' "  ls -v (native)" "$ls_v"
awk '/^found/ {print "  " $0}' <<<"$ours"
