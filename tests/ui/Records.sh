#!/usr/bin/env bash
# Records.sh — quarn --records opens no window: the header and one line per zone won, status 0;
# no records yet is the header alone; a damaged file is a clear message, status 1, left in place.
# quarn --verify counts the kept runs it cannot prove in its status.
#   Records.sh QUARN OUT_DIR
set -u
quarn=$1 out=$2
rm -rf "$out"
mkdir -p "$out/state/quarn"
export XDG_STATE_HOME="$out/state" DISPLAY= SDL_VIDEODRIVER=none
fail() { echo "FAIL: $*"; exit 1; }
header=$(printf 'ticks\tticks_with_rewind\ttitle\tfile\tset')

got=$("$quarn" --records) || fail "status $? without a records file"
[ "$got" = "$header" ] || fail "without records: $got"

printf 'quarn-records 1\n0123456789abcdef\t1\t2720\t-\tZkušební chodba\t/z/walk.qrn\n' \
  >"$out/state/quarn/records.txt"
got=$("$quarn" --records) || fail "status $? with a good records file"
# A zone listed in no set (its content is no shipped zone's) has "-" for its set.
want=$(printf '%s\n2720\t-\tZkušební chodba\t/z/walk.qrn\t-' "$header")
[ "$got" = "$want" ] || fail "listing was: $got"

# A game killed between writing its run and its record: the kept run is the proof of the win and
# its time, as the start screen reads it; a run whose record was never written is listed by the
# title and file its head names.
mkdir -p "$out/data/quarn/runs"
chmod 700 "$out/data" "$out/data/quarn" "$out/data/quarn/runs"
printf '# Quarn: vyhraný průchod zónou\n# zóna: Zkušební chodba\n# soubor: /z/walk.qrn\n# čas: 1900 tiků (29,7 s)\n1900 right\n' \
  >"$out/data/quarn/runs/0123456789abcdef-walk.keys"
printf '# Quarn: vyhraný průchod zónou\n# zóna: Sklep\n# soubor: /z/sklep.qrn\n# čas: 640 tiků (10,0 s)\n640 right\n' \
  >"$out/data/quarn/runs/fedcba9876543210-sklep.keys"
got=$(XDG_DATA_HOME="$out/data" "$quarn" --records) || fail "status $? with kept runs"
want=$(printf '%s\n640\t-\tSklep\t/z/sklep.qrn\t-\n1900\t-\tZkušební chodba\t/z/walk.qrn\t-' "$header")
[ "$got" = "$want" ] || fail "with kept runs the listing was: $got"

# quarn --verify replays them: their zones are gone, so neither proves its time; one line each,
# the status counts them.
XDG_DATA_HOME="$out/data" "$quarn" --verify >"$out/stdout" 2>"$out/stderr"
status=$?
[ $status -eq 2 ] || fail "--verify of two unprovable runs gave status $status"
[ "$(grep -c 'tu už není' "$out/stdout")" -eq 2 ] || fail "--verify said: $(cat "$out/stdout")"
rm "$out/data/quarn/runs/"*
XDG_DATA_HOME="$out/data" "$quarn" --verify >"$out/stdout" 2>"$out/stderr" ||
  fail "--verify without runs gave status $?"

printf 'quarn-records 1\nbroken' >"$out/state/quarn/records.txt"
"$quarn" --records >"$out/stdout" 2>"$out/stderr"
status=$?
[ $status -eq 1 ] || fail "a damaged file gave status $status"
grep -q "records.txt" "$out/stderr" || fail "the message names no file: $(cat "$out/stderr")"
[ -f "$out/state/quarn/records.txt" ] || fail "listing moved the damaged file"
# A state folder anyone may write to is not read: what it holds may be anyone's.
printf 'quarn-records 1\n0123456789abcdef\t1\t2720\t-\tZ\t/z/walk.qrn\n' >"$out/state/quarn/records.txt"
chmod 0777 "$out/state/quarn"
"$quarn" --records >"$out/stdout" 2>"$out/stderr"
status=$?
[ $status -eq 1 ] || fail "a folder writable by others gave status $status"
grep -q "nepoužije" "$out/stderr" || fail "no reason given: $(cat "$out/stderr")"
[ ! -s "$out/stdout" ] || fail "a refused folder was listed: $(cat "$out/stdout")"
echo "records listing ok"
