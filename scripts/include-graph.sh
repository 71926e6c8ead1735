#!/usr/bin/env bash
# include-graph.sh — the include graph between Quarn's folders: one line "from → to: count" for
# each pair, counting the #include lines in the folders of src/ and tools/ that name a header of
# another folder of src/. A folder's includes of its own headers are not counted.
#   scripts/include-graph.sh [SOURCE_DIR]
set -eu
root=${1:-$(dirname "$0")/..}
cd "$root"

ours=$(ls -d src/*/ | xargs -n1 basename | paste -sd'|')
for dir in src/*/ tools/*/; do
  from=${dir%/}
  grep -rhoE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($ours)/" \
       --include='*.h' --include='*.cpp' "$from" |
    sed -E 's/.*[<"]([^/]*)\/$/\1/' |
    while read -r to; do
      [ "src/$to" = "$from" ] || echo "$from → src/$to"
    done
done | sort | uniq -c | awk '{count = $1; $1 = ""; sub(/^ /, ""); print $0 ": " count}'
