#!/usr/bin/env bash
# Installs what is missing, cross-builds the libraries (cached) and builds the viewer, its siblings and the tests.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$VISTROMA_ROOT/scripts/setup-host.sh"
"$VISTROMA_ROOT/scripts/build-deps.sh"

if [[ ! -f $VISTROMA_BUILD/build.ninja ]]; then
  cmake -S "$VISTROMA_ROOT" -B "$VISTROMA_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$VISTROMA_ROOT/cmake/mingw-toolchain.cmake" \
    -DVISTROMA_DEPS_PREFIX="$VISTROMA_DEPS_PREFIX" >/dev/null
fi
cmake --build "$VISTROMA_BUILD" -j "$JOBS"
log "built: $VISTROMA_BUILD/dist (copy this folder to a Windows machine)"
