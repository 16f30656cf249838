#!/usr/bin/env bash
# Thumbnails that last, over a folder of COUNT photos (hard links to the
# pictures in PHOTOS, so that the disk holds them once), under Xvfb
# (1440 × 900):
#  1. the first visit: every photo through the thumbnail store and into the
#     freedesktop cache (mirelo-bench previews), beside gThumb browsing the
#     same folder in its own home until its cache stops growing;
#  2. the cache's size on disk, Mirelo's and gThumb's;
#  3. a relaunch on the folder: from the window's first appearance until
#     the screen is settled with every card's picture (mirelo-screen-poll).
#
#     bench/thumbnails-relaunch.sh PHOTOS [COUNT] [RUNS]
set -euo pipefail
photos=$(realpath "$1") count=${2:-2000} runs=${3:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
mirelo="$root/build/src/ui/mirelo" bench="$root/build/bench/mirelo-bench" poll="$root/build/bench/mirelo-screen-poll"
[[ -x "$mirelo" && -x "$bench" && -x "$poll" ]] || { echo "build build/ (Release) first" >&2; exit 1; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
mapfile -t sources < <(find "$photos" -maxdepth 1 -type f -iname '*.jpg' | sort)
mkdir -p "$work/Photos"
for i in $(seq "$count"); do
  ln "${sources[$(((i - 1) % ${#sources[@]}))]}" "$work/Photos/$(printf 'IMG_%05d.jpg' "$i")"
done

home() {
  export HOME="$work/$1" XDG_DATA_HOME="$work/$1/.local/share" XDG_CONFIG_HOME="$work/$1/.config" \
    XDG_CACHE_HOME="$work/$1/.cache" XDG_RUNTIME_DIR="$work/$1/run"
  mkdir -p "$XDG_CACHE_HOME/thumbnails" && mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
}
display=:$((RANDOM % 400 + 500))
Xvfb "$display" -screen 0 1440x900x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 0.5; fi

echo "== first visit, $count photos"
home mirelo
MIRELO_BENCH_THUMBNAILS="$XDG_CACHE_HOME/thumbnails" QT_QPA_PLATFORM=offscreen "$bench" previews "$work"/Photos/*.jpg |
  sed 's/^/mirelo: /'
echo "mirelo cache: $(du -sh "$XDG_CACHE_HOME/thumbnails" | cut -f1), $(find "$XDG_CACHE_HOME/thumbnails" -name '*.png' | wc -l) files"
if command -v gthumb >/dev/null; then
  home gthumb
  start=$(date +%s%N)
  gthumb "$work/Photos" >/dev/null 2>&1 &
  pid=$! last=-1 still=0
  while ((still < 20)); do # until its cache has not grown for 10 s
    sleep 0.5
    now=$(find "$XDG_CACHE_HOME/thumbnails" -name '*.png' | wc -l)
    if ((now == last)); then still=$((still + 1)); else still=0 last=$now end=$(date +%s%N); fi
  done
  kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
  awk -v n="$last" -v s="$start" -v e="$end" 'BEGIN { printf "gthumb: %d thumbnails in %.1f s, %.1f per second\n", n, (e - s) / 1e9, n / ((e - s) / 1e9) }'
  echo "gthumb cache: $(du -sh "$XDG_CACHE_HOME/thumbnails" | cut -f1), $last files"
fi

echo "== relaunch on the folder, $runs runs: ms from launch (window first on screen, every card settled)"
home mirelo
"$mirelo" "$work/Photos" >/dev/null 2>&1 & # the folder joins the library and is scanned
sleep 8; kill $! 2>/dev/null; wait $! 2>/dev/null || true
for run in $(seq "$runs"); do
  out=$("$poll" -- "$mirelo" 2>&1 | grep '^first')
  read -r _ first _ settled <<<"$out"
  echo "  run $run: $out (settled $((settled - first)) ms after the window appeared)"
done
