#!/bin/sh
# PlayCommandLine.sh — quarn-zone play from the outside: exit statuses, messages on stderr, stdout.
# usage: PlayCommandLine.sh QUARN_ZONE GOLDEN_DIR
set -u
tool=$1
golden=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

expect() {  # expect STATUS PATTERN-ON-STDERR -- ARGS...
  want=$1 pattern=$2
  shift 3
  "$tool" play "$@" >"$work/out" 2>"$work/err"
  got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL: play $*: status $got, expected $want"; cat "$work/err"; fail=1
  elif [ -n "$pattern" ] && ! grep -q -- "$pattern" "$work/err"; then
    echo "FAIL: play $*: stderr lacks '$pattern':"; cat "$work/err"; fail=1
  fi
}

zone=$golden/delivery.qrn
expect 2 "soubor zóny nelze otevřít" -- "$work/missing.qrn"
printf 'Broken\n5\nx\n' >"$work/broken.qrn"
expect 2 "broken.qrn:3:" -- "$work/broken.qrn"
printf '1 right\n2 jump\n' >"$work/bad.keys"
expect 2 "bad.keys:2: unknown key 'jump'" -- "$zone" --keys "$work/bad.keys"
expect 2 "cannot open the key script" -- "$zone" --keys "$work/none.keys"
# Key scripts are read as zones are: no pipe waited on, no device read without end, no folder
# played as an empty run, nothing too large (a sparse file: nothing is written).
mkfifo "$work/pipe.keys"
mkdir "$work/folder.keys"
truncate -s 65M "$work/big.keys"
for refused in "$work/pipe.keys:a pipe" /dev/zero:device "$work/folder.keys:a folder" \
               "$work/big.keys:larger than 64 MB"; do
  file=${refused%%:*} why=${refused#*:}
  timeout 10 "$tool" play "$zone" --keys "$file" >"$work/out" 2>"$work/err"
  got=$?
  if [ "$got" -ne 2 ] || ! grep -q -- "^quarn-zone play: $file: .*$why" "$work/err"; then
    echo "FAIL: play --keys $file: status $got:"; cat "$work/err"; fail=1
  fi
done
expect 2 "--answer is yes or no" -- "$zone" --answer maybe
expect 2 "--ticks needs a whole number" -- "$zone" --ticks -3
expect 2 "unknown option" -- "$zone" --fast
expect 2 "which zone" --

expect 0 "" -- "$zone" --ticks 7 --board
if ! grep -q '^{"tick": 7, .*"board": \[\[' "$work/out"; then
  echo "FAIL: the report is not one JSON line with 7 ticks and a board:"; cat "$work/out"; fail=1
fi
[ "$(wc -l <"$work/out")" -eq 1 ] || { echo "FAIL: more than one line on stdout"; fail=1; }
exit $fail
