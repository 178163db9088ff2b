#!/usr/bin/env bash
# Cross-builds the pinned static libraries (scripts/deps.pins) and GoogleTest for x86_64 Windows.
# Each result is cached under $VISTROMA_DEPS_CACHE, keyed by the version built and a hash of the recipe,
# and merged into $VISTROMA_DEPS_PREFIX for the project's build. A run with nothing changed only checks stamps.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

toolchain=$VISTROMA_ROOT/cmake/mingw-toolchain.cmake
recipe_hash=$( { "$MINGW_CXX" --version; cat "$toolchain" "${BASH_SOURCE[0]}"; } | sha256sum | cut -c1-12)
mkdir -p "$VISTROMA_DEPS_CACHE"/{src,resolved,work}

cmake_cross() { # source dir, build dir, install prefix, extra options...
  local src=$1 bld=$2 prefix=$3; shift 3
  cmake -S "$src" -B "$bld" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$bld.log" 2>&1 || { tail -n 40 "$bld.log"; return 1; }
  cmake --build "$bld" -j "$JOBS" >>"$bld.log" 2>&1 || { tail -n 40 "$bld.log"; return 1; }
  cmake --install "$bld" >>"$bld.log" 2>&1
}

build_libjpeg-turbo() {
  cmake_cross "$1" "$2" "$3" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DREQUIRE_SIMD=ON -DWITH_TURBOJPEG=ON
}
build_lcms2() {
  mkdir -p "$2" && (
    cd "$2"
    "$1/configure" --host=$MINGW_HOST CC=$MINGW_CC --prefix="$3" --enable-static --disable-shared \
      --without-jpeg --without-tiff --without-zlib CFLAGS=-O2 >configure.log 2>&1 || { tail -n 40 configure.log; exit 1; }
    # Only the library: the utilities and the test bed are not needed and double the time.
    { make -C src -j "$JOBS" && make -C src install && make -C include install; } >make.log 2>&1 \
      || { tail -n 40 make.log; exit 1; }
  )
}
build_cjson() {
  cmake_cross "$1" "$2" "$3" -DBUILD_SHARED_LIBS=OFF -DENABLE_CJSON_TEST=OFF -DENABLE_CJSON_UTILS=OFF \
    -DENABLE_CUSTOM_COMPILER_FLAGS=OFF -DENABLE_PUBLIC_SYMBOLS=OFF -DENABLE_HIDDEN_SYMBOLS=ON
}
build_pugixml() {
  # Wide-character mode: the viewer works in UTF-16 throughout; consumers define the same macro.
  cmake_cross "$1" "$2" "$3" -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF \
    -DCMAKE_CXX_FLAGS=-DPUGIXML_WCHAR_MODE
}
build_libwebp() {
  # Decoding only: the tools would look for image libraries this build does not provide.
  cmake_cross "$1" "$2" "$3" -DBUILD_SHARED_LIBS=OFF -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF \
    -DWEBP_BUILD_DWEBP=OFF -DWEBP_BUILD_GIF2WEBP=OFF -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF \
    -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_LIBWEBPMUX=OFF -DWEBP_BUILD_EXTRAS=OFF
}
build_googletest() {
  cmake_cross "$1" "$2" "$3" -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
}

dsc_name() { local v=${2#*:}; echo "${1}_${v}.dsc"; } # package, version (epoch dropped)

# Fetches the source of name=version into the cache unless it is there; prints the version fetched.
# When Debian no longer serves the pin, the version it offers now is taken and recorded, so a cold
# machine never fails on a stale pin.
fetch_source() {
  local name=$1 pin=$2 sha=$3
  local resolved_file=$VISTROMA_DEPS_CACHE/resolved/$name-${pin//:/_}
  local version=$pin
  [[ -s $resolved_file ]] && version=$(<"$resolved_file")
  local dir=$VISTROMA_DEPS_CACHE/src/$name/${version//:/_}
  local dsc=$dir/$(dsc_name "$name" "$version")
  if [[ ! -s $dsc ]]; then
    mkdir -p "$dir"
    if ! (cd "$dir" && apt-get source -q --download-only "$name=$version" >/dev/null 2>&1); then
      apt-cache showsrc "$name" 2>/dev/null | grep -q '^Version:' || apt-get update -q >/dev/null
      version=$(apt-cache showsrc "$name" | awk '/^Version:/ {print $2; exit}')
      [[ -n $version ]] || die "Debian offers no source package $name"
      log "$name: pinned $pin is not served any more; building $version instead"
      dir=$VISTROMA_DEPS_CACHE/src/$name/${version//:/_}
      mkdir -p "$dir"
      (cd "$dir" && apt-get source -q --download-only "$name=$version" >/dev/null 2>&1) \
        || die "cannot download the source of $name=$version"
      dsc=$dir/$(dsc_name "$name" "$version")
      echo "$version" >"$resolved_file"
    fi
  fi
  if [[ $version == "$pin" ]]; then
    echo "$sha  $dsc" | sha256sum -c --quiet - >/dev/null 2>&1 || die "$dsc does not match its pinned checksum"
  fi
  echo "$version"
}

# Builds one library into its cache slot unless the slot is complete; prints the slot.
build_one() {
  local name=$1 version=$2 src_dsc=$3
  local slot=$VISTROMA_DEPS_CACHE/$name/${version//:/_}-$recipe_hash
  if [[ ! -e $slot/.done ]]; then
    log "building $name $version"
    local t0=$SECONDS work=$VISTROMA_DEPS_CACHE/work/$name
    rm -rf "$slot" "$work" && mkdir -p "$work"
    if [[ -n $src_dsc ]]; then
      dpkg-source -x "$src_dsc" "$work/src" >/dev/null 2>&1 || die "cannot unpack $src_dsc"
    else
      cp -a /usr/src/googletest "$work/src"
    fi
    "build_$name" "$work/src" "$work/build" "$slot" || die "building $name failed (logs in $work)"
    rm -rf "$work"
    touch "$slot/.done"
    log "$name built in $((SECONDS - t0)) s"
  fi
  echo "$slot"
}

slots=()
while read -r name pin sha; do
  [[ -z $name || $name == \#* ]] && continue
  version=$(fetch_source "$name" "$pin" "$sha")
  dir=$VISTROMA_DEPS_CACHE/src/$name/${version//:/_}
  slots+=("$(build_one "$name" "$version" "$dir/$(dsc_name "$name" "$version")")")
done <"$VISTROMA_ROOT/scripts/deps.pins"

gtest_version=$(dpkg-query -W -f='${Version}' googletest)
slots+=("$(build_one googletest "$gtest_version" "")")

# Merge the slots into one prefix; redo it only when the set of slots changed.
stamp=$(printf '%s\n' "${slots[@]}")
if [[ ! -e $VISTROMA_DEPS_PREFIX/.slots || $(<"$VISTROMA_DEPS_PREFIX/.slots") != "$stamp" ]]; then
  rm -rf "$VISTROMA_DEPS_PREFIX" && mkdir -p "$VISTROMA_DEPS_PREFIX"
  for s in "${slots[@]}"; do cp -a "$s/." "$VISTROMA_DEPS_PREFIX/"; done
  rm -f "$VISTROMA_DEPS_PREFIX/.done"
  echo "$stamp" >"$VISTROMA_DEPS_PREFIX/.slots"
fi
