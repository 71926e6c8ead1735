#!/bin/bash
# measure-idle.sh [--settle S] [--seconds N] ZONE.qrn | -- COMMAND...
# Runs the game on ZONE (or any COMMAND, for a yardstick) on a private virtual display
# (Xvfb 1280x1024x24, no sound), waits S seconds (3) for it to settle, then prints the CPU time
# it used over the next N seconds (10) as a share of one core, and its peak resident memory.
# The game is build/release/bin/quarn unless QUARN names another program file.
# measure-idle.sh --sum-ns < SCHEDSTAT... prints the sum of the first column (the tests use it).
set -euo pipefail
# Nanoseconds pass 2^31 after 2.1 s of CPU: Debian's awk prints %d through a 32-bit integer, so
# the sum is printed as a whole floating-point number (exact up to 2^53 ns, 104 days).
SumNs() { awk '{ ns += $1 } END { printf "%.0f\n", ns }'; }
if [ "${1:-}" = --sum-ns ]; then SumNs; exit 0; fi
settle=3
seconds=10
while [ $# -gt 0 ]; do
  case "$1" in
    --settle) settle=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { sed -n '2,6p' "$0" >&2; exit 2; }
here=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 1 ] && [[ "$1" == *.qrn ]]; then
  zone=$(realpath "$1")
  set -- "${QUARN:-$here/build/release/bin/quarn}" --zone "$zone" --no-sound
fi

# Xvfb picks a free display itself and writes its number to the pipe.
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
read -r display <&3
cleanup() {
  [ -n "${game:-}" ] && kill "$game" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

DISPLAY=:$display SDL_AUDIODRIVER=dummy "$@" >/dev/null 2>&1 &
game=$!
sleep "$settle"
# Time on a CPU in nanoseconds, summed over the program's threads (the scheduler's own count:
# the clock ticks of /proc/PID/stat are a tenth of a percent apart over ten seconds).
cpu() { cat /proc/"$game"/task/*/schedstat 2>/dev/null | SumNs; }
before=$(cpu)
sleep "$seconds"
after=$(cpu)
peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$game/status")
awk -v used=$((after - before)) -v s="$seconds" -v kb="$peak" -v what="$*" \
  'BEGIN { printf "%-60s CPU %5.2f %%   peak RSS %4.0f MB\n", what, 100 * used / 1e9 / s, kb / 1024 }'
