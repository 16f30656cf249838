#!/usr/bin/env bash
# Identical files in a tree of FILES media files, PERCENT of them copies
# (mirelo-bench make-duplicates), with a warm page cache:
# `mirelo-index duplicates` with no fingerprints yet and with them, beside
# `jdupes -r` and `rmlint` (hyperfine, whole processes), and whether the
# groups are jdupes's.
#
#     bench/duplicates-vs-peers.sh TREE [FILES] [PERCENT]
set -euo pipefail
tree=$1 files=${2:-100000} percent=${3:-10}
root=$(cd "$(dirname "$0")/.." && pwd)
index="$root/build/tools/mirelo-index" bench="$root/build/bench/mirelo-bench"
[[ -x "$index" && -x "$bench" ]] || { echo "build build/ (Release) first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" make-duplicates "$tree" "$files" "$percent"
"$index" scan --library "$work/library.json" "$tree"
export XDG_CACHE_HOME="$work/cache"
# One --prepare a command: only the first starts without fingerprints.
hyperfine --warmup 1 --min-runs 5 \
  --prepare "rm -rf '$work/cache'" --prepare true --prepare true --prepare true \
  -n "mirelo-index duplicates (no fingerprints)" \
  "'$index' duplicates --library '$work/library.json' > '$work/mirelo.txt'" \
  -n "mirelo-index duplicates (fingerprints cached)" \
  "'$index' duplicates --library '$work/library.json' > /dev/null" \
  -n "jdupes -r" "jdupes -r -q '$tree' > '$work/jdupes.txt'" \
  -n "rmlint" "rmlint -o json:'$work/rmlint.json' '$tree' > /dev/null"
python3 - "$work/mirelo.txt" "$work/jdupes.txt" <<'PY'
import sys
def groups(path):
    found, group = set(), []
    for line in open(path, encoding="utf-8", errors="surrogateescape").read().split("\n"):
        if line: group.append(line)
        elif group: found.add(frozenset(group)); group = []
    if group: found.add(frozenset(group))
    return found
mirelo, jdupes = groups(sys.argv[1]), groups(sys.argv[2])
print(f"groups: mirelo {len(mirelo)}, jdupes {len(jdupes)}, the same: {mirelo == jdupes}")
PY
