# Shared by the benchmark scripts: the project's paths, a built tree, and timing of native commands.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
"$VISTROMA_ROOT/scripts/build.sh" >/dev/null

# Median wall time in ms of a command run n times, after one run that warms the page cache.
median_ms() {
  local n=$1; shift
  local times=()
  "$@" >/dev/null 2>&1
  for ((i = 0; i < n; i++)); do
    local t0=$(date +%s%N)
    "$@" >/dev/null 2>&1
    times+=($(( ($(date +%s%N) - t0) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)] / 1000}'
}

# The 6000 x 4000 quality-90 JPEG the decoding benchmarks share, made once.
bench_big_jpeg() {
  local work=$VISTROMA_BUILD/bench/work
  mkdir -p "$work"
  if [[ ! -s $work/big.jpg ]]; then
    log "making a 6000 x 4000 picture"
    convert -size 1500x1000 plasma:fractal -resize 6000x4000 -attenuate 0.3 +noise Gaussian -quality 90 "$work/big.jpg"
  fi
  echo "$work/big.jpg"
}
