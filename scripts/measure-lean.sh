#!/bin/bash
# measure-lean.sh [--rounds N] BEFORE_BIN AFTER_BIN
# Lays two builds of the game side by side in one run (each BIN a folder holding quarn with its
# Graphics, sound and zones) and, as a yardstick, Tile World (/usr/games/tworld -q -p, the
# Debian package tworld) where it is installed: idle CPU and peak resident memory in zone 01,
# zone 20 and the crowded 150 x 130 zone (scripts/measure-idle.sh, 3 s to settle, 10 s
# measured), then the time to the first window (scripts/measure-first-window.sh). The rounds
# (3) take the builds in turn, so that a busy moment of the machine falls on both; each line is
# one measurement.
set -euo pipefail
rounds=3
if [ "${1:-}" = --rounds ]; then rounds=$2; shift 2; fi
[ $# -eq 2 ] || { sed -n '2,9p' "$0" >&2; exit 2; }
here=$(cd "$(dirname "$0")/.." && pwd)
before=$(realpath "$1")
after=$(realpath "$2")
crowded=$(mktemp --suffix=.qrn)
home=$(mktemp -d)
trap 'rm -rf "$crowded" "$home"' EXIT
"$here/scripts/make-crowded-zone.sh" "$crowded"
export XDG_DATA_HOME=$home/data XDG_STATE_HOME=$home/state XDG_CONFIG_HOME=$home/config
peer=
[ -x /usr/games/tworld ] && peer=/usr/games/tworld
for round in $(seq "$rounds"); do
  echo "# round $round: idle CPU and peak memory"
  for zone in "$here/zones/01-prvni-kroky.qrn" "$here/zones/20-velke-mesto.qrn" "$crowded"; do
    for bin in "$before" "$after"; do
      printf '%-7s %-22s ' "$([ "$bin" = "$before" ] && echo before || echo after)" \
        "$(basename "$zone" | sed 's/^tmp.*/crowded 150x130/')"
      "$here/scripts/measure-idle.sh" -- "$bin/quarn" --zone "$zone" --no-sound |
        sed 's/^.* CPU/CPU/'
    done
  done
  if [ -n "$peer" ]; then
    printf '%-7s %-22s ' peer "tworld -q -p"
    "$here/scripts/measure-idle.sh" -- "$peer" -q -p | sed 's/^.* CPU/CPU/'
  fi
done
echo "# time to the first window (median of 15 starts, each build in turn)"
for round in $(seq "$rounds"); do
  for bin in "$before" "$after"; do
    printf '%-7s quarn (the sound question)   ' "$([ "$bin" = "$before" ] && echo before || echo after)"
    "$here/scripts/measure-first-window.sh" -- "$bin/quarn" | tail -1
  done
  if [ -n "$peer" ]; then
    printf '%-7s %-29s ' peer "tworld -q -p"
    "$here/scripts/measure-first-window.sh" -- "$peer" -q -p | tail -1
  fi
done
