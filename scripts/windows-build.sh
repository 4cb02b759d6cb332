#!/bin/bash
# Builds the Windows program and its tests with MinGW-w64, and the Linux
# gravity-digest to compare the Windows one with.
#
#   scripts/windows-build.sh
#
# Directories (override through the environment):
#   GRAVITY_WIN_BUILD     cross build, default build-win
#   GRAVITY_DIGEST_BUILD  Linux build of gravity-digest, default build-digest;
#                         an existing Linux build directory can be reused
#   GRAVITY_JOBS          parallel jobs, default 2
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
win=${GRAVITY_WIN_BUILD:-$root/build-win}
native=${GRAVITY_DIGEST_BUILD:-$root/build-digest}
jobs=${GRAVITY_JOBS:-2}

cmake -S "$root" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DGRAVITY_BENCH=OFF
cmake --build "$win" -j "$jobs"

if [ ! -f "$native/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release -DGRAVITY_BENCH=OFF
fi
cmake --build "$native" -j "$jobs" --target gravity_digest
