#!/usr/bin/env bash
# Launch benchmark: a generated 24-megapixel JPEG (6000 x 4000) and a neighbour in its folder, shown by
# the viewer and by feh under the same Xvfb. Launch: from the process start until the picture is on the
# display (the viewer: the middle of its view shows the fitted picture; feh: its window is mapped, which
# feh does with the picture loaded). Next: from the Right key until the neighbour is on the display (the
# viewer's neighbour preloaded meanwhile; feh: until its title names the neighbour). Medians of 5 runs.
#   ./bench/launch.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if ! command -v feh >/dev/null; then
  log "installing feh"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends feh >/dev/null
fi

big=$(bench_big_jpeg)
folder=$VISTROMA_BUILD/bench/work/launch
mkdir -p "$folder"
[[ -s $folder/a.jpg ]] || cp "$big" "$folder/a.jpg"
# The neighbour: the same picture with its hues turned.
[[ -s $folder/b.jpg ]] || convert "$big" -modulate 100,100,20 -quality 90 "$folder/b.jpg"
runs=5

source "$VISTROMA_ROOT/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start
ours=$(wine "$VISTROMA_BUILD/bench/launch_bench.exe" "$(winepath -w "$VISTROMA_BUILD/dist/Vistroma.exe")" \
  "$(winepath -w "$folder/a.jpg")" b.jpg $runs </dev/null 2>/dev/null | tr -d '\r')
value() { awk -v k="$1" '$1 == k {print $2}' <<<"$ours"; }

ms_since() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }
feh_launch=() feh_next=()
for ((i = 0; i < runs; i++)); do
  t0=$(date +%s%N)
  feh --title 'feh %n' -g 1280x800 "$folder/a.jpg" "$folder/b.jpg" >/dev/null 2>&1 &
  pid=$!
  win=""
  until win=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | head -1) && [[ -n $win ]]; do sleep 0.002; done
  feh_launch+=($(ms_since $t0))
  sleep 1
  t1=$(date +%s%N)
  xdotool key --window "$win" Right
  until [[ $(xdotool getwindowname "$win" 2>/dev/null) == *b.jpg* ]]; do sleep 0.002; done
  feh_next+=($(ms_since $t1))
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

printf '\n%-60s %10s %10s\n' "24 MP JPEG (6000 x 4000), median of $runs, ms" "Vistroma" "feh"
printf '%-60s %10s %10s\n' "launch until the picture is on the display" "$(value launch)" "$(median "${feh_launch[@]}")"
printf '%-60s %10s %10s\n' "next (Right) until the neighbour is on the display" "$(value next)" "$(median "${feh_next[@]}")"
