#!/usr/bin/env bash
# A picture opened from the file manager by a cold process, under Xvfb
# (2560 × 1440): `mirelo FILE` until the picture is painted (its own launch
# trace) and until its window is mapped as xdotool sees it, beside feh, eog
# and gwenview (when installed) until a window with the file's name is mapped.
#
#     bench/open-vs-peers.sh FILE [RUNS]
set -euo pipefail
file=$(realpath "$1") runs=${2:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
mirelo="$root/build/src/ui/mirelo"
[[ -x "$mirelo" ]] || { echo "build build/ (Release) first" >&2; exit 1; }
home=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache"
export XDG_RUNTIME_DIR="$home/run" && mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
display=:$((RANDOM % 400 + 500))
Xvfb "$display" -screen 0 2560x1440x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
name=$(basename "$file")

# Milliseconds from launching "$@" until a window whose name has NAME is mapped.
mapped() {
  local pattern=$1; shift
  local start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 6000); do xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 && break; sleep 0.005; done
  local end=$(date +%s%N)
  kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
  echo $(((end - start) / 1000000))
}

# A first start warms the system's caches (fonts, the shared libraries).
MIRELO_LAUNCH_TRACE=1 MIRELO_LAUNCH_TRACE_QUIT=1 timeout 60 "$mirelo" "$file" >/dev/null 2>&1 || true
echo "mirelo $name: its own trace"
for _ in $(seq "$runs"); do
  rm -rf "$XDG_DATA_HOME/com.tessel.local.viewer"
  MIRELO_LAUNCH_TRACE=$(date +%s%N) MIRELO_LAUNCH_TRACE_QUIT=1 "$mirelo" "$file" 2>&1 | grep '^launch' | tr '\n' ' '
  echo
done
echo "window mapped (ms), $runs runs each:"
printf 'mirelo:'; for _ in $(seq "$runs"); do printf ' %s' "$(mapped "$name" "$mirelo" "$file")"; done; echo
if command -v feh >/dev/null; then printf 'feh:'; for _ in $(seq "$runs"); do printf ' %s' "$(mapped "$name" feh "$file")"; done; echo; fi
if command -v eog >/dev/null; then printf 'eog:'; for _ in $(seq "$runs"); do printf ' %s' "$(mapped "$name" eog "$file")"; done; echo; fi
if command -v gwenview >/dev/null; then printf 'gwenview:'; for _ in $(seq "$runs"); do printf ' %s' "$(mapped "$name" gwenview "$file")"; done; echo; fi
