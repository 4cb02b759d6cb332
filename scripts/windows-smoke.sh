#!/bin/bash
# End-to-end smoke test of gravity.exe under Wine, on a virtual X screen.
#
#   scripts/windows-smoke.sh [BUILD_DIR]      (default build-win)
#
# Starts Xvfb at 1366x768x24 and runs gravity.exe on it:
#  - a screenshot after a few seconds must show particles around the centre
#    and the heads-up line in the panel at the bottom left;
#  - Alt+F4 must not end it;
#  - another program taking the focus must make the window give up the
#    screen, and the window must cover it again when it gets the focus back
#    (through gravity-focus.exe, there being no taskbar to click);
#  - Space must end it, by itself, with status 0.
# A second run checks that Ctrl+C ends it with status 130. The screenshot
# and the program's output are kept in BUILD_DIR/smoke.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-${GRAVITY_WIN_BUILD:-$root/build-win}}" && pwd)
exe=$build/app/gravity.exe
focus_exe=$build/tests/platform_windows/gravity-focus.exe
out=$build/smoke
wine_run=$root/scripts/windows-wine.sh
width=1366
height=768
settle_seconds=${GRAVITY_SMOKE_SECONDS:-4}

export WINEPREFIX=$build/wine
mkdir -p "$out"
rm -f "$out"/*

fail() {
  echo "windows-smoke: FAILED: $*" >&2
  for f in "$out"/stdout*.txt "$out"/stderr*.txt; do
    [ -s "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }
  done
  exit 1
}

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

for f in "$exe" "$focus_exe"; do
  [ -f "$f" ] || fail "$f not built (scripts/windows-build.sh)"
done

display=
for n in $(seq 90 150); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
    display=:$n
    break
  fi
done
[ -n "$display" ] || fail "no free X display number"

xvfb_pid=
program_pid=
other_pid=
cleanup() {
  for pid in "$program_pid" "$other_pid"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
    fi
  done
  wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

Xvfb "$display" -screen 0 "${width}x${height}x24" -nolisten tcp >"$out/xvfb.txt" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 1 100); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
  sleep 0.1
done

# A fresh prefix is made before the clock starts, so the figures below are
# those of the program itself.
prefix_start=$(now)
"$wine_run" cmd /c exit 0 >/dev/null 2>&1 || true
echo "windows-smoke: Wine prefix ready in $(since "$prefix_start") s"

# Waits up to $2 seconds for process $1 to end; its status in $status.
wait_for_exit() {
  local pid=$1 limit=$2 waited=0
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$waited" -ge $((limit * 10)) ]; then
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  status=0
  wait "$pid" || status=$?
}

wait_for_window() {
  for _ in $(seq 1 600); do
    xdotool search --name '^gravity$' >/dev/null 2>&1 && return 0
    kill -0 "$program_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# The gravity window's size as WIDTHxHEIGHT.
window_size() {
  local id
  id=$(xdotool search --name '^gravity$' | head -n 1)
  [ -n "$id" ] && xdotool getwindowgeometry "$id" | awk '/Geometry:/ { print $2 }'
}

# Waits up to 10 s for the window size to become (=) or stop being (!=) $2.
wait_for_size() {
  local relation=$1 size=$2 now_size
  for _ in $(seq 1 100); do
    now_size=$(window_size || true)
    if [ "$relation" = "=" ] && [ "$now_size" = "$size" ]; then return 0; fi
    if [ "$relation" = "!=" ] && [ -n "$now_size" ] && [ "$now_size" != "$size" ]; then return 0; fi
    sleep 0.1
  done
  return 1
}

# Lit pixels (grey level above 12 %) in a rectangle of the screenshot.
lit_pixels() {
  convert "$out/screenshot.png" -crop "$1" +repage -colorspace Gray -threshold 12% \
    -format '%[fx:round(mean*w*h)]' info:
}

# --- Run 1: picture, then Space.
start=$(now)
"$wine_run" "$exe" >"$out/stdout.txt" 2>"$out/stderr.txt" &
program_pid=$!
wait_for_window || fail "no window named gravity appeared"
echo "windows-smoke: window up after $(since "$start") s"
sleep "$settle_seconds"
import -window root "$out/screenshot.png"
kill -0 "$program_pid" 2>/dev/null || fail "gravity.exe ended before Space was pressed"

centre=$(lit_pixels "400x300+$((width / 2 - 200))+$((height / 2 - 150))")
hud=$(lit_pixels "395x16+10+750")
echo "windows-smoke: lit pixels: $centre around the centre, $hud in the heads-up line"
[ "$centre" -ge 200 ] || fail "no particles around the screen centre ($centre lit pixels)"
[ "$hud" -ge 40 ] || fail "no heads-up line in rows 750..765 ($hud lit pixels)"

xdotool key alt+F4
sleep 1
kill -0 "$program_pid" 2>/dev/null || fail "Alt+F4 ended gravity.exe"
echo "windows-smoke: still running after Alt+F4"

full="${width}x${height}"
[ "$(window_size)" = "$full" ] || fail "the window is $(window_size), not $full"
"$wine_run" notepad >"$out/stdout-notepad.txt" 2>&1 &
other_pid=$!
wait_for_size "!=" "$full" || fail "the window kept the screen when it lost the focus"
echo "windows-smoke: focus lost: window $(window_size)"
"$wine_run" "$focus_exe" || fail "gravity-focus.exe found no window"
wait_for_size "=" "$full" || fail "the window is $(window_size) after it got the focus back"
echo "windows-smoke: focus back: window $(window_size)"
kill "$other_pid" 2>/dev/null || true
wait "$other_pid" 2>/dev/null || true
other_pid=
kill -0 "$program_pid" 2>/dev/null || fail "gravity.exe ended during the focus changes"

space_at=$(now)
xdotool key space
wait_for_exit "$program_pid" 30 || fail "gravity.exe still running 30 s after Space"
program_pid=
echo "windows-smoke: ended $(since "$space_at") s after Space, status $status; $(since "$start") s in all"
[ "$status" -eq 0 ] || fail "exit status $status after Space, expected 0"
[ ! -s "$out/stderr.txt" ] || fail "gravity.exe wrote to stderr"
wineserver -w

# --- Run 2: Ctrl+C. Wine hands SIGINT to the program's console handler.
"$wine_run" "$exe" >"$out/stdout-ctrl-c.txt" 2>"$out/stderr-ctrl-c.txt" &
program_pid=$!
wait_for_window || fail "no window in the Ctrl+C run"
sleep 1
kill -INT "$program_pid"
wait_for_exit "$program_pid" 30 || fail "gravity.exe still running 30 s after SIGINT"
program_pid=
echo "windows-smoke: Ctrl+C ended it with status $status"
[ "$status" -eq 130 ] || fail "exit status $status after Ctrl+C, expected 130"
wineserver -w

echo "windows-smoke: passed"
