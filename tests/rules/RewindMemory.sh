#!/bin/sh
# RewindMemory.sh — the resident memory going back in a run holds, measured as the kernel counts
# it: an hour of play (230 400 ticks) on the largest zone may add at most 32 MB to the peak of the
# same zone opened and not played, and a game left alone does not grow: its second to sixth ten
# minutes add less than 1 MB. The player is built without sanitizers (they keep freed memory).
# usage: RewindMemory.sh QUARN_REWIND_HOUR SOURCE_DIR
set -u
player=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sh "$source/scripts/make-crowded-zone.sh" "$work/crowded.qrn" || exit 1
fail=0

peak() {  # peak ZONE TICKS wander|idle: prints the peak resident memory in KB
  "$player" "$@" >"$work/out" || { cat "$work/out" >&2; exit 1; }
  echo "$*: $(cat "$work/out")" >&2
  cut -d' ' -f1 "$work/out"
}

zone=$work/crowded.qrn
opened=$(peak "$zone" 0 idle)
hour=$(peak "$zone" 230400 wander)
if [ $((hour - opened)) -gt $((32 * 1024)) ]; then
  echo "FAIL: an hour of play takes $(((hour - opened) / 1024)) MB more than none (at most 32)"
  fail=1
fi
ten=$(peak "$zone" 38400 idle)
sixty=$(peak "$zone" 230400 idle)
if [ $((sixty - ten)) -ge 1024 ]; then
  echo "FAIL: left alone for 50 minutes more, the game grew by $((sixty - ten)) KB (less than 1 MB)"
  fail=1
fi
exit $fail
