#!/usr/bin/env bash
# Builds everything and runs every test under Wine, on a private prefix and a virtual display of its own.
# Extra arguments go to ctest (for example -R Registry). Leaves no Wine or X process running.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$VISTROMA_ROOT/scripts/build.sh"

source "$VISTROMA_ROOT/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start
mkdir -p "$VISTROMA_BUILD/screenshots"
export VISTROMA_SCREENSHOTS=$VISTROMA_BUILD/screenshots

ctest --test-dir "$VISTROMA_BUILD" --output-on-failure -j "${CTEST_JOBS:-2}" --timeout 300 "$@"
