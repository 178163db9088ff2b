# Paths and helpers shared by the project's scripts. Sourced, never run on its own.
VISTROMA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VISTROMA_BUILD=${VISTROMA_BUILD:-$VISTROMA_ROOT/build}
# Outside the work tree, so a fresh clone reuses what an earlier one built.
VISTROMA_DEPS_CACHE=${VISTROMA_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vistroma-deps}
VISTROMA_DEPS_PREFIX=$VISTROMA_BUILD/deps
MINGW_HOST=x86_64-w64-mingw32
MINGW_CC=$MINGW_HOST-gcc-posix
MINGW_CXX=$MINGW_HOST-g++-posix
JOBS=${JOBS:-$(nproc)}

log() { printf '[vistroma] %s\n' "$*" >&2; }
die() { log "error: $*"; exit 1; }
