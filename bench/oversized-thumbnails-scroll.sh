#!/usr/bin/env bash
# The real library window over 200 pictures whose large/ thumbnails (written
# by another program) are 4096 pixels: pages to the end of the grid under
# Xvfb and prints the process's peak memory.
#
#     bench/oversized-thumbnails-scroll.sh [MIRELO]   (default build/src/ui/mirelo)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mirelo=$(realpath "${1:-$root/build/src/ui/mirelo}")
home=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache
export XDG_RUNTIME_DIR=$home/run MIRELO_REDUCE_MOTION=1
mkdir -m 0700 -p "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME" "$home/Pictures"
convert -size 1200x800 plasma:fractal -quality 85 "$home/base.jpg"
for i in $(seq 1 200); do cp "$home/base.jpg" "$home/Pictures/p$i.jpg"; done
python3 "$root/bench/oversized-thumbnails.py" "$XDG_CACHE_HOME/thumbnails" "$home"/Pictures/*.jpg
display=:$((RANDOM % 400 + 500))
Xvfb "$display" -screen 0 1440x900x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
dbus-run-session -- bash -c '
  "$0" "$HOME/Pictures" >/dev/null 2>&1 & pid=$!
  sleep 6
  xdotool mousemove 700 450 click 1; sleep 0.5
  for i in $(seq 30); do xdotool key Page_Down; sleep 0.4; done
  sleep 3
  grep VmHWM /proc/$pid/status
  kill $pid; wait $pid 2>/dev/null || true' "$mirelo" 2>/dev/null
