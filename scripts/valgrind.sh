#!/usr/bin/env bash
# Runs valgrind's memcheck on a 10 000-tick headless replay and on the game screen opened, played
# and closed by its × label on a private Xvfb display. Needs a build without sanitizers:
#   scripts/valgrind.sh [BUILD]      (default build/release; `make build` makes it)
# Fails on any error of our own code; scripts/valgrind.supp explains each suppression. A child
# forked by a system library (D-Bus starting its helper) is not checked: it only runs exec.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh valgrind
build=${1:-build/release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
memcheck=(valgrind --tool=memcheck --error-exitcode=99 --leak-check=full
          --errors-for-leak-kinds=definite --show-leak-kinds=definite --track-origins=yes
          --suppressions=scripts/valgrind.supp --num-callers=30
          --child-silent-after-fork=yes)

echo "valgrind: 10000-tick replay of 15-laserova-chodba with its solution, then no keys"
"${memcheck[@]}" --log-file="$build/valgrind-replay.log" "$build/bin/quarn-zone" play zones/15-laserova-chodba.qrn \
  --keys tests/run/solutions/15-laserova-chodba.keys --ticks 10000 >/dev/null ||
  { cat "$build/valgrind-replay.log"; exit 1; }
grep -E "ERROR SUMMARY|definitely lost" "$build/valgrind-replay.log"

echo "valgrind: the game screen on Xvfb, opened, played and closed by ×"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"${memcheck[@]}" --log-file="$build/valgrind-screen.log" "$build/bin/quarn" --zone zones/01-uvod.qrn \
  --no-sound >/dev/null 2>&1 &
app=$!
win=
for _ in $(seq 600); do
  win=$(xdotool search --onlyvisible --name '^Quarn$' 2>/dev/null | head -n1 || true)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "valgrind: no window appeared"; cat "$build/valgrind-screen.log"; exit 1; }
sleep 3
xdotool windowfocus "$win" 2>/dev/null || true
xdotool keydown Right; sleep 2; xdotool keyup Right
sleep 1
xdotool mousemove --window "$win" 663 24 click 1
status=0
wait "$app" || status=$?
grep -E "ERROR SUMMARY|definitely lost" "$build/valgrind-screen.log"
if [ "$status" -ne 0 ]; then
  echo "valgrind: the game screen ended with status $status"
  cat "$build/valgrind-screen.log"
  exit 1
fi
echo "valgrind: clean"
