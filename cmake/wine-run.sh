#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest and build steps. The test command sets up the prefix,
# the display and a warm wineserver first; this only fills in what a hand-started ctest left unset.
set -u
: "${WINEDEBUG:=-all}"
export WINEDEBUG
exe=$1; shift
[[ -e $exe || ! -e $exe.exe ]] || exe=$exe.exe
exec wine "$exe" "$@"
