#!/usr/bin/env bash
# Times a scan of TREE by mirelo-index beside find(1) reading every entry's
# size and date. Builds a Release tree of the tools first when needed.
#   bench/scan-vs-find.sh TREE        (make one with: mirelo-bench make-tree TREE)
set -euo pipefail
tree=${1:?usage: bench/scan-vs-find.sh TREE}
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$here/build-bench}
if [[ ! -x $build/tools/mirelo-index ]]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIRELO_TESTS=OFF >/dev/null
  cmake --build "$build" >/dev/null
fi
library=$(mktemp -d)/library.json
trap 'rm -rf "$(dirname "$library")"' EXIT
hyperfine --warmup 2 --min-runs 10 \
  "find '$tree' -printf '%s %T@\n' > /dev/null" \
  "'$build/tools/mirelo-index' scan --library '$library' '$tree' > /dev/null"
