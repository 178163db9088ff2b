# A private Wine session for tests and the run command: prefix, display and a warm wineserver.
# Sourced after common.sh. Every Wine process of the session must see DISPLAY: one started without it
# leaves the whole wineserver session without Direct2D, so the display comes first, before wineboot.

export WINEARCH=win64
export WINEDEBUG=-all
# The recycle bin otherwise lands in the host user's trash.
export XDG_DATA_HOME=$VISTROMA_BUILD/xdg
# No Mono/Gecko install prompts, no desktop entries written for the host.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
# A fixed locale and zone make texts and dates repeatable; a test that needs another locale sets LC_ALL itself.
export LC_ALL=C.UTF-8 TZ=UTC

_vistroma_xvfb_pid=
_vistroma_own_display=0

# Starts our own Xvfb unless $1 is "reuse" and a display is already there.
wine_session_display() {
  if [[ ${1:-} == reuse && -n ${DISPLAY:-} ]]; then return 0; fi
  local n
  for n in $(seq 91 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp -noreset </dev/null >/dev/null 2>&1 &
    _vistroma_xvfb_pid=$!
    local i
    for i in $(seq 100); do
      [[ -e /tmp/.X11-unix/X$n ]] && { export DISPLAY=:$n; _vistroma_own_display=1; return 0; }
      kill -0 "$_vistroma_xvfb_pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$_vistroma_xvfb_pid" 2>/dev/null; _vistroma_xvfb_pid=
  done
  die "could not start Xvfb"
}

# Creates the prefix once (about 15 s) and keeps it while its recipe is unchanged. On our own display no
# window manager runs, and the prefix gets the settings for that (scripts/wine/headless.reg); a user's
# desktop gets a prefix of its own without them.
wine_session_prefix() {
  local recipes=("$VISTROMA_ROOT/scripts/wine/prefix.reg")
  if ((_vistroma_own_display)); then
    export WINEPREFIX=${VISTROMA_WINEPREFIX:-$VISTROMA_BUILD/wine-prefix}
    recipes+=("$VISTROMA_ROOT/scripts/wine/headless.reg")
  else
    export WINEPREFIX=${VISTROMA_WINEPREFIX:-$VISTROMA_BUILD/wine-prefix-desktop}
  fi
  local want; want=$( { wine --version; cat "${recipes[@]}" "${BASH_SOURCE[0]}"; } | sha256sum | cut -c1-16)
  if [[ -e $WINEPREFIX/.vistroma-prefix && $(<"$WINEPREFIX/.vistroma-prefix") == "$want" ]]; then return 0; fi
  log "creating the Wine prefix $WINEPREFIX"
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX" && mkdir -p "$(dirname "$WINEPREFIX")" "$XDG_DATA_HOME"
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  [[ -e $WINEPREFIX/system.reg ]] || die "wineboot did not create $WINEPREFIX"
  # Debian's wine never loads its own Tahoma; without it dialog fonts fall back to Liberation Sans.
  cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # regedit reads UTF-16 .reg files; the recipe is kept as UTF-8 in the repository.
  local recipe reg=$WINEPREFIX/drive_c/vistroma-prefix.reg
  for recipe in "${recipes[@]}"; do
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$recipe"; } >"$reg"
    wine regedit /S 'C:\vistroma-prefix.reg' </dev/null >/dev/null 2>&1 || true
  done
  rm -f "$reg"
  wineserver -w
  echo "$want" >"$WINEPREFIX/.vistroma-prefix"
}

# A persistent server, started with its output away from our pipes: started from inside CTest
# (or with inherited output) it keeps CTest's pipe open and CTest never ends.
wine_session_warm() {
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_session_start() { # [reuse]
  mkdir -p "$VISTROMA_BUILD" "$XDG_DATA_HOME"
  wine_session_display "${1:-}"
  wine_session_prefix
  wine_session_warm
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [[ -n $_vistroma_xvfb_pid ]]; then
    kill "$_vistroma_xvfb_pid" 2>/dev/null || true
    wait "$_vistroma_xvfb_pid" 2>/dev/null || true
    _vistroma_xvfb_pid=
  fi
}
