#!/usr/bin/env bash
# Installs what is missing, builds gravity and starts it. Space ends it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages "${PACKAGES[@]}"
build "$ROOT/build" -DBUILD_TESTING=OFF
exec "$ROOT/build/app/gravity"
