#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: the unit
# and pixel tests, the end-to-end tests under an X server (a private Xvfb
# when there is no display), the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build under Wine.
#   scripts/test.sh [--no-windows]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

windows=1
for arg in "$@"; do
  case "$arg" in
    --no-windows) windows=0 ;;
    *) echo "usage: $0 [--no-windows]" >&2; exit 2 ;;
  esac
done

install_packages "${PACKAGES[@]}"

# Pixel and end-to-end tests must run here, never be skipped.
export GRAVITY_REQUIRE_GL=1 GRAVITY_REQUIRE_DISPLAY=1

echo "== Build and test (Release)"
build "$ROOT/build"
with_display ctest --test-dir "$ROOT/build" --output-on-failure -j "$(jobs)"

echo "== Unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
build "$ROOT/build-sanitize" -DGRAVITY_SANITIZE=ON -DGRAVITY_BENCH=OFF
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
with_display ctest --test-dir "$ROOT/build-sanitize" --output-on-failure -j "$(jobs)" -LE e2e

if [ "$windows" -eq 1 ] && [ -x "$ROOT/scripts/windows-test.sh" ]; then
  echo "== Windows build under Wine"
  "$ROOT/scripts/windows-test.sh"
fi
