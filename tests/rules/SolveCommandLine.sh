#!/bin/sh
# SolveCommandLine.sh — quarn-zone solve from the outside: a plan becomes a key script that wins
# when played back, a goal it cannot reach fails with the plan's line, wrong input is status 2.
# usage: SolveCommandLine.sh QUARN_ZONE GOLDEN_DIR
set -u
tool=$1
golden=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
zone=$golden/delivery.qrn

"$tool" solve "$zone" "$golden/delivery.plan" >"$work/won.keys" 2>"$work/err"
status=$?
[ $status -eq 0 ] || { echo "FAIL: solving delivery.plan ended with $status"; cat "$work/err"; fail=1; }
grep -q '^# the far one$' "$work/won.keys" || { echo "FAIL: the plan's comments are not in the script"; fail=1; }
"$tool" play "$zone" --keys "$work/won.keys" >"$work/report" 2>&1
grep -q '"wins": 1, "deaths": 0' "$work/report" ||
  { echo "FAIL: the solved script does not win:"; cat "$work/won.keys" "$work/report"; fail=1; }

# (8, 3), the time bonus, lies past the second potato, which a go must not step on; the script
# so far is still written.
printf 'go 3 1\ngo 8 3\n' >"$work/walled.plan"
"$tool" solve "$zone" "$work/walled.plan" >"$work/part.keys" 2>"$work/err"
status=$?
[ $status -eq 1 ] || { echo "FAIL: an unreachable goal ended with $status"; fail=1; }
grep -q "walled.plan:2: cannot do 'go 8 3'" "$work/err" || { echo "FAIL: no line for the goal:"; cat "$work/err"; fail=1; }
grep -q '^[0-9]* right$' "$work/part.keys" || { echo "FAIL: the script so far was not written"; fail=1; }

for args in "$zone" "$zone $work/none.plan" "$work/none.qrn $golden/delivery.plan" "$zone $golden/delivery.plan --fast"; do
  # shellcheck disable=SC2086
  "$tool" solve $args >/dev/null 2>&1
  status=$?
  [ $status -eq 2 ] || { echo "FAIL: solve $args ended with $status, not 2"; fail=1; }
done
exit $fail
