#!/usr/bin/env bash
# Pictures of the main window for looking at its layout, fonts and Japanese texts:
#   tools/screenshot-window.sh [BUILD_DIR] [OUT_DIR]
# Starts a private Xvfb screen (1280 x 1024), runs corvista-window-shot there (window as
# it starts, with the study controls revealed, with a hint, with filled images, the About
# dialog), opens the File menu with the mouse and captures the whole screen with File > Open
# highlighted (screen.png).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/release}
out=${2:-$root/build/screenshots}
display=:${CORVISTA_SHOT_DISPLAY:-97}
mkdir -p "$out"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target corvista-window-shot >/dev/null

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -S "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done

DISPLAY=$display QT_QPA_PLATFORM=xcb ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0} \
  "$build/tests/ui/corvista-window-shot" "$out" 5000 &
shot=$!
sleep 3
window=$(DISPLAY=$display xdotool search --onlyvisible --name Corvista | head -n 1)
DISPLAY=$display xdotool mousemove --window "$window" 26 10 click 1
sleep 0.5
DISPLAY=$display xdotool mousemove --window "$window" 40 36
sleep 0.5
DISPLAY=$display import -window root "$out/screen.png"
wait "$shot"
echo "pictures in $out"
