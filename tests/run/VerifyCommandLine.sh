#!/bin/sh
# VerifyCommandLine.sh — quarn-zone verify from the outside: every shipped zone is won by its run
# (status 0, "wins in"), and each kind of broken run is counted in the status with its reason.
# usage: VerifyCommandLine.sh QUARN_ZONE ZONES_DIR SOLUTIONS_DIR
set -u
tool=$1 zones=$2 solutions=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
say() { echo "FAIL: $*"; fail=1; }

verify() {  # verify WANTED-STATUS ZONE RUN...
  want=$1
  shift
  "$tool" verify "$@" >"$work/out" 2>"$work/err"
  got=$?
  [ "$got" -eq "$want" ] || {
    say "verify $1 and $(($# - 1)) runs: status $got, expected $want"
    head -n 20 "$work/out" "$work/err"
  }
}

# The first set's runs are kept apart from the zones; every other set keeps X.keys beside X.qrn.
for zone in "$zones"/*.qrn "$zones"/*/*.qrn; do
  name=$(basename "$zone" .qrn)
  run=$(dirname "$zone")/$name.keys
  [ "$(dirname "$zone")" = "$zones" ] && run=$solutions/$name.keys
  verify 0 "$zone" "$run"
  grep -q "^$run: wins in [0-9]* ticks" "$work/out" || say "$zone: $(cat "$work/out")"
done

zone=$zones/01-prvni-kroky.qrn
good=$solutions/01-prvni-kroky.keys
verify 0 "$zone" "$good"
ticks=$(sed -n 's/.*wins in \([0-9]*\) ticks.*/\1/p' "$work/out")
{ printf '# zóna: První kroky\n# čas: %s tiků\n' "$ticks"; cat "$good"; } >"$work/true.keys"
{ printf '# zóna: První kroky\n# čas: %s tiků\n' "$((ticks - 1))"; cat "$good"; } >"$work/lies.keys"
printf '300 right\n' >"$work/nowin.keys"
{ printf '# zóna: Sklad, klíč a dveře\n'; cat "$good"; } >"$work/other.keys"
{ cat "$good"; printf '2 jump\n'; } >"$work/damaged.keys"
cp "$good" "$work/0123456789abcdef-01-prvni-kroky.keys"
verify 6 "$zone" "$work/true.keys" "$work/lies.keys" "$work/nowin.keys" "$work/other.keys" \
  "$work/damaged.keys" "$work/0123456789abcdef-01-prvni-kroky.keys" "$work/missing.keys"
[ "$(wc -l <"$work/out")" -eq 7 ] || say "not one line a run: $(cat "$work/out")"
for line in "true.keys: wins in $ticks ticks (.*), as recorded" \
            "lies.keys: wins in $ticks ticks (.*), not in the $((ticks - 1)) ticks it records" \
            "nowin.keys: does not win (300 ticks played)" \
            "other.keys: is a run of another zone: Sklad, klíč a dveře" \
            "damaged.keys: cannot be read: .*damaged.keys:19: unknown key 'jump'" \
            "01-prvni-kroky.keys: is a run of another zone: kept for the content 0123456789abcdef" \
            "missing.keys: cannot be read: .*cannot open the key script"; do
  grep -q -- "$line" "$work/out" || say "no line '$line' in: $(cat "$work/out")"
done

# Many failing runs keep the status a shell can tell from a signal.
set --
i=0
while [ $i -lt 130 ]; do set -- "$@" "$work/nowin.keys"; i=$((i + 1)); done
verify 125 "$zone" "$@"
verify 2 "$zone"
grep -q "which runs" "$work/err" || say "no word on a missing run: $(cat "$work/err")"
verify 2 "$zone" --fast "$good"
exit $fail
