#!/bin/bash
# The Windows check: installs what is missing, cross-builds with MinGW-w64,
# runs the unit tests under Wine, compares gravity-digest on Windows with
# Linux, and runs the end-to-end smoke test of gravity.exe under Wine on a
# virtual X screen.
#
#   scripts/windows-test.sh [--no-smoke]
#
# Directories as in windows-build.sh: GRAVITY_WIN_BUILD (default build-win)
# and GRAVITY_DIGEST_BUILD (default build-digest; an up-to-date Linux build
# directory such as build can be named instead, to save building the store
# twice).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
win=${GRAVITY_WIN_BUILD:-$root/build-win}
native=${GRAVITY_DIGEST_BUILD:-$root/build-digest}
export GRAVITY_WIN_BUILD=$win GRAVITY_DIGEST_BUILD=$native
export WINEPREFIX=$win/wine

smoke=1
for arg in "$@"; do
  case "$arg" in
    --no-smoke) smoke=0 ;;
    *) echo "usage: $0 [--no-smoke]" >&2; exit 2 ;;
  esac
done

# Debian packages of the Windows check, beyond those of the Linux build:
# the compiler (posix thread model, for std::thread), Wine for 64-bit
# programs, and for the smoke test an X server, key presses and screenshots.
# Wine draws through the host's Mesa and X libraries, listed for machines
# where nothing else brought them in.
WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix googletest wine wine64
  xvfb xdotool imagemagick
  libgl1-mesa-dri libglx-mesa0 libxrandr2 libxrender1 libxi6 libxcursor1 libxinerama1
  libxcomposite1 libxxf86vm1
)
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"
install_packages "${WINDOWS_PACKAGES[@]}"

step() {
  local name=$1 start=$SECONDS
  shift
  echo "== windows: $name"
  "$@"
  echo "== windows: $name took $((SECONDS - start)) s"
}

digests() {
  local linux windows
  linux=$("$native/tests/tools/gravity-digest")
  windows=$("$root/scripts/windows-wine.sh" "$win/tests/tools/gravity-digest.exe" | tr -d '\r')
  wineserver -w
  echo "gravity-digest on Linux:"
  echo "$linux"
  echo "gravity-digest on Windows (Wine):"
  echo "$windows"
  if [ -z "$linux" ] || [ "$linux" != "$windows" ]; then
    echo "windows-test: FAILED: the digests differ" >&2
    return 1
  fi
  echo "windows-test: the digests agree"
}

unit_tests() {
  # No display: the unit tests need none, and Wine would only slow down
  # setting up one it finds.
  (cd "$win" && env -u DISPLAY ctest --output-on-failure --timeout 300 -j "${GRAVITY_JOBS:-2}")
  wineserver -w
}

step build "$root/scripts/windows-build.sh"
step "unit tests under Wine" unit_tests
step digests digests
if [ "$smoke" -eq 1 ]; then
  step "smoke test under Wine and Xvfb" "$root/scripts/windows-smoke.sh" "$win"
fi
