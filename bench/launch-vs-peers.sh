#!/usr/bin/env bash
# Launch of the real program under Xvfb (1440 × 900) with a library of ITEMS
# synthetic items: until its window is painted and until the grid's first
# cards are painted (the program's own launch trace), and until the window
# is mapped as xdotool sees it, beside eog and feh opening a folder of
# pictures, measured the same way.
#
#     bench/launch-vs-peers.sh [ITEMS] [RUNS]
set -euo pipefail
items=${1:-1000000} runs=${2:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
mirelo="$root/build/src/ui/mirelo" bench="$root/build-bench/bench/mirelo-bench"
[[ -x "$mirelo" && -x "$bench" ]] || { echo "build build/ and build-bench/ (Release) first" >&2; exit 1; }
home=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache"
export XDG_RUNTIME_DIR="$home/run" && mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
"$bench" write-library "$XDG_DATA_HOME/com.tessel.local.viewer/library.json" "$items"
"$root/build/tools/mirelo-sample-media" "$home/Pictures" >/dev/null

display=:$((RANDOM % 400 + 500))
Xvfb "$display" -screen 0 1440x900x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# Milliseconds from launching "$@" until a window named NAME is mapped.
mapped() {
  local name=$1; shift
  local start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  local pid=$!
  until xdotool search --onlyvisible --name "$name" >/dev/null 2>&1; do sleep 0.005; done
  local end=$(date +%s%N)
  kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
  echo $(((end - start) / 1000000))
}

echo "mirelo, $items items: its own trace"
for _ in $(seq "$runs"); do
  MIRELO_LAUNCH_TRACE=$(date +%s%N) MIRELO_LAUNCH_TRACE_QUIT=1 "$mirelo" 2>&1 | grep '^launch' | tr '\n' ' '
  echo
done
echo "window mapped (ms), $runs runs each:"
printf 'mirelo (%s items):' "$items"; for _ in $(seq "$runs"); do printf ' %s' "$(mapped '^Mirelo$' "$mirelo")"; done; echo
printf 'eog (a folder of 24 pictures):'; for _ in $(seq "$runs"); do printf ' %s' "$(mapped 'Harbour at dawn|Aurora|eog|Image Viewer' eog "$home/Pictures/Wallpapers/Aurora.jpg")"; done; echo
printf 'feh (one picture):'; for _ in $(seq "$runs"); do printf ' %s' "$(mapped 'feh' feh "$home/Pictures/Wallpapers/Aurora.jpg")"; done; echo
