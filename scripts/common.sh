# Shared by run.sh and test.sh: installs what is missing, builds.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the build, the program and the tests need.
PACKAGES=(
  cmake g++ make pkg-config
  libsdl2-dev libgl-dev libegl-dev libegl1 libgl1-mesa-dri libegl-mesa0 libglx-mesa0
  libgtest-dev libbenchmark-dev libx11-dev
  xvfb xdotool x11-utils
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=()
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
  fi
}

jobs() { nproc 2>/dev/null || echo 2; }

# build DIR [cmake options...]
build() {
  local dir="$1"
  shift
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$dir" -j "$(jobs)"
}

# Runs "$@" with an X display: the current one, else a private Xvfb of a
# laptop-sized screen (the heads-up line sits at rows 740..767).
with_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    "$@"
    return
  fi
  local number=99
  while [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; do
    number=$((number + 1))
  done
  Xvfb ":${number}" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  for _ in $(seq 50); do
    DISPLAY=":${number}" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  local status=0
  DISPLAY=":${number}" "$@" || status=$?
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  return $status
}
