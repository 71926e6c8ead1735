#!/usr/bin/env bash
# Leftovers.sh — a game killed while writing leaves its temporary file; the next start removes
# those over a minute old from every folder the game writes: the editor's recovery copies, the
# kept runs, the player's zones and their sets, a --zones folder. A fresh one (a write of another
# game under way) and a file of someone else's naming stay.
#   Leftovers.sh QUARN OUT_DIR
set -u
quarn=$1 out=$2
rm -rf "$out"
state="$out/state/quarn" data="$out/data/quarn" zones="$out/zones"
mkdir -p "$state/recovery" "$data/runs" "$data/zones/sada" "$zones"
chmod 700 "$out/state" "$state" "$state/recovery" "$out/data" "$data" "$data/runs" "$data/zones" \
  "$data/zones/sada"
export XDG_STATE_HOME="$out/state" XDG_DATA_HOME="$out/data" SDL_VIDEODRIVER=dummy DISPLAY=
fail() { echo "FAIL: $*"; exit 1; }
stale=()
for folder in "$state" "$state/recovery" "$data/runs" "$data/zones" "$data/zones/sada" "$zones"; do
  touch -d '3 minutes ago' "$folder/.quarn-Ab12Cd" "$folder/.zona.qrn.Xy34Zw"
  stale+=("$folder/.quarn-Ab12Cd" "$folder/.zona.qrn.Xy34Zw")
  touch "$folder/.quarn-Fresh1"
  touch -d '3 minutes ago' "$folder/.quarn-notours"
done
cp "$(dirname "$0")/data/walk.qrn" "$zones/"
"$quarn" --zones "$zones" >"$out/stdout" 2>"$out/stderr" &
pid=$!
for _ in $(seq 200); do
  left=0
  for f in "${stale[@]}"; do [ -e "$f" ] && left=$((left + 1)); done
  [ $left -eq 0 ] && break
  sleep 0.1
done
kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
for f in "${stale[@]}"; do [ ! -e "$f" ] || fail "a stale temporary file was left: $f"; done
for folder in "$state" "$state/recovery" "$data/runs" "$data/zones" "$data/zones/sada" "$zones"; do
  [ -e "$folder/.quarn-Fresh1" ] || fail "a fresh temporary file was removed in $folder"
  [ -e "$folder/.quarn-notours" ] || fail "a file not of the game's naming was removed in $folder"
done
echo "stale temporary files removed"
