#!/bin/bash
# measure-first-window.sh [--rounds N] [-- COMMAND...]
# The time from starting the game (or COMMAND) to its first window shown, on a private virtual
# display (Xvfb 1280x1024x24, no sound, a fresh player's folders): N rounds (15), each time and
# the median in milliseconds. The game is build/release/bin/quarn unless QUARN names another
# program file; with no COMMAND it starts as a player does, so the first window is the sound
# question. The timer (scripts/first-window.c) is built into build/first-window.
set -euo pipefail
rounds=15
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --) shift; break ;;
    *) sed -n '2,7p' "$0" >&2; exit 2 ;;
  esac
done
here=$(cd "$(dirname "$0")/.." && pwd)
[ $# -gt 0 ] || set -- "${QUARN:-$here/build/release/bin/quarn}"
timer=$here/build/first-window
if [ ! -x "$timer" ] || [ "$here/scripts/first-window.c" -nt "$timer" ]; then
  mkdir -p "$here/build"
  cc -O2 -o "$timer" "$here/scripts/first-window.c" -lX11
fi
home=$(mktemp -d)
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
read -r display <&3
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$home"' EXIT
DISPLAY=:$display SDL_AUDIODRIVER=dummy XDG_DATA_HOME=$home/data XDG_STATE_HOME=$home/state \
  XDG_CONFIG_HOME=$home/config "$timer" "$rounds" "$@"
