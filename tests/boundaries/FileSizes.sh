#!/usr/bin/env bash
# FileSizes.sh — no source file of src/ or tools/ is longer than 600 lines unless its first
# comment says why ("Longer than 600 lines on purpose: ..."). Prints each long file and fails.
#   FileSizes.sh SOURCE_DIR
set -u
root=${1:?usage: FileSizes.sh SOURCE_DIR}
status=0
while IFS= read -r file; do
  lines=$(wc -l <"$file")
  [ "$lines" -le 600 ] && continue
  head -n 6 "$file" | grep -q 'Longer than 600 lines on purpose' && continue
  echo "FAIL: ${file#"$root"/} has $lines lines and no reason for them in its first comment"
  status=1
done < <(find "$root/src" "$root/tools" -name '*.cpp' -o -name '*.h')
[ $status -eq 0 ] && echo "every long source file says why"
exit $status
