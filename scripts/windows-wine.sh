#!/bin/sh
# Runs a Windows program under Wine: windows-wine.sh PROGRAM.exe [ARGUMENT...]
#
# The cross build's test runner (CMAKE_CROSSCOMPILING_EMULATOR) and the
# Windows scripts start programs through this. The Wine prefix is
# $WINEPREFIX when set, otherwise "wine" inside the build directory that
# holds the program, so nothing outside the build directory is touched. It is
# made on first use, under a lock, since tests may start in parallel:
#  - wineboot -i first, so no program races the prefix's creation;
#  - X11 Driver\Managed = N: without a window manager, a managed window
#    takes Wine about two seconds to destroy.
# The program's exit status is this script's.
set -eu

if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM.exe [ARGUMENT...]" >&2
  exit 2
fi

if [ -z "${WINEPREFIX:-}" ]; then
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do
    dir=$(dirname "$dir")
  done
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    echo "$0: $1 lies in no build directory; set WINEPREFIX" >&2
    exit 2
  fi
  WINEPREFIX=$dir/wine
fi
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No .NET and no HTML engine: Wine would offer to download them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

ready=$WINEPREFIX/.gravity-prefix-ready
if [ ! -f "$ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$ready" ]; then
      wineboot -i >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
      wineserver -w
      touch "$ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

exec wine "$@"
