#!/usr/bin/env bash
# The image engine beside the tools people use, on the same files:
#  1. a 24-megapixel JPEG to a 480-pixel preview: mirelo-index thumb beside
#     vipsthumbnail (hyperfine, whole processes);
#  2. 1,000 mixed previews: the thumbnail store's two workers (mirelo-bench
#     images) beside vipsthumbnail and ffmpegthumbnailer run one file at a time.
#   bench/thumbs-vs-peers.sh DIR      (DIR gets the files on the first run)
set -euo pipefail
dir=${1:?usage: bench/thumbs-vs-peers.sh DIR}
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$here/build-bench}
if [[ ! -x $build/bench/mirelo-bench ]]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIRELO_TESTS=OFF >/dev/null
  cmake --build "$build" >/dev/null
fi
"$build/bench/mirelo-bench" images "$dir"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
hyperfine --warmup 2 --min-runs 15 \
  "vipsthumbnail '$dir/sources/a.jpg' -s 480 -o '$out/v.png'" \
  "'$build/tools/mirelo-index' thumb --size 480 '$dir/sources/a.jpg' '$out/m.png'"
start=$(date +%s.%N)
for f in "$dir"/mixed/*; do
  case $f in
    *.mp4) ffmpegthumbnailer -i "$f" -o "$out/p.png" -s 480 -t 0 -q 8 2>/dev/null || true ;;
    *) vipsthumbnail "$f" -s 480 -o "$out/p.png" 2>/dev/null || true ;;
  esac
done
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v n="$(ls "$dir/mixed" | wc -l)" \
  'BEGIN { printf "peers, one file at a time: %d previews in %.2f s, %.1f per second\n", n, e - s, n / (e - s) }'
