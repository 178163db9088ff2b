#!/usr/bin/env bash
# Builds and starts the viewer on a picture (default: the generated sample folder's first picture).
# With a display (DISPLAY set) the window opens there until it is closed. Without one, the viewer runs
# on a virtual display of its own, a screenshot is written into the build tree and its path printed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$VISTROMA_ROOT/scripts/build.sh"

picture=${1:-$VISTROMA_BUILD/samples/sample1.jpg}
[[ -e $picture ]] || die "no such picture: $picture"
picture=$(realpath "$picture")
# Wine maps the host root to drive Z:.
win_picture="Z:${picture//\//\\}"
exe=$VISTROMA_BUILD/dist/Vistroma.exe

headless=0
[[ -n ${DISPLAY:-} ]] || headless=1

source "$VISTROMA_ROOT/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start reuse

if ((headless == 0)); then
  wine "$exe" "$win_picture"
  exit 0
fi

wine "$exe" "$win_picture" </dev/null >/dev/null 2>&1 &
viewer=$!
window=
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --classname 'vistroma.exe' 2>/dev/null | head -n 1) && [[ -n $window ]] && break
  kill -0 "$viewer" 2>/dev/null || die "the viewer ended before it showed a window"
  sleep 0.1
done
[[ -n $window ]] || die "no viewer window appeared"
sleep "${VISTROMA_SHOT_DELAY:-2}"
shot=$VISTROMA_BUILD/screenshots/run.png
mkdir -p "$(dirname "$shot")"
import -display "$DISPLAY" -window root "$shot"
echo "$shot"
