#!/usr/bin/env bash
# How long Ctrl+C takes to end `mirelo-index duplicates` in a group of 70
# files of one size (8 GiB each, sparse, so more than are read together):
# interrupted after 3 seconds, the time to exit is printed.
#
#     bench/duplicates-stop.sh [MIRELO-INDEX]   (default build/tools/mirelo-index)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$(realpath "${1:-$root/build/tools/mirelo-index}")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/big"
for i in $(seq 1 70); do truncate -s 8G "$folder/big/f$i.mov"; done
export XDG_CACHE_HOME=$folder/cache
"$tool" scan --library "$folder/lib.json" "$folder/big" >/dev/null
"$tool" duplicates --library "$folder/lib.json" >/dev/null 2>&1 &
pid=$!
sleep 3
start=$(date +%s%N)
kill -INT "$pid"
wait "$pid" || true
echo "Ctrl+C to exit: $((($(date +%s%N) - start) / 1000000)) ms"
