#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run command need; does nothing when all are there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

packages=(
  # cross toolchain and build tools
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
  cmake ninja-build nasm pkg-config dpkg-dev xz-utils make googletest
  # running and driving Windows programs
  wine wine64 xvfb xauth xdotool x11-utils
  # fixtures, artwork and captures
  imagemagick libimage-exiftool-perl libjpeg-turbo-progs librsvg2-bin
  # a CJK face for the Chinese texts
  fonts-wqy-microhei
  ca-certificates
)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done

# The pinned libraries come from Debian's source packages, so apt needs deb-src entries.
src_list=/etc/apt/sources.list.d/vistroma-deb-src.sources
need_update=0
if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  log "adding deb-src entries ($src_list)"
  cat > "$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

if ((${#missing[@]})); then
  need_update=1
fi
if ((need_update)); then
  log "apt-get update"
  apt-get update -q >/dev/null
fi
if ((${#missing[@]})); then
  log "installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi
