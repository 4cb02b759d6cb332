#!/usr/bin/env bash
# Runs gravity under a private Xvfb (1366 x 768, Mesa's llvmpipe) for a
# while, prints the heads-up line once a second and the count it settles
# at, and saves the last screen as docs/screenshot.png.
#   scripts/screenshot.sh [SECONDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

seconds="${1:-60}"
install_packages "${PACKAGES[@]}" imagemagick
build "$ROOT/build"
mkdir -p "$ROOT/docs"
unset DISPLAY
with_display "$ROOT/build/tests/e2e/gravity-watch" "$ROOT/build/app/gravity" "$seconds" \
  "$ROOT/build/screenshot.ppm"
convert "$ROOT/build/screenshot.ppm" "$ROOT/docs/screenshot.png"
echo "saved docs/screenshot.png"
