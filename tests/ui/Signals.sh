#!/usr/bin/env bash
# Signals.sh — the real quarn ends on SIGTERM, SIGINT and SIGHUP, while playing and while a message
# box is open, with status 128 + the signal; and without a display it says so and ends with
# status 1. How long each took is printed (a figure, not a limit: a busy machine is slower); a
# program that has not ended after 10 s is a failure.
#   Signals.sh QUARN ZONE WORK_DIR
set -u
quarn=$1 zone=$2 work=$3
for tool in Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$work"
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
fail() { echo "FAIL: $*"; for f in "$work"/*.err; do echo "--- $f"; head -c 2000 "$f"; done; exit 1; }

# No display at all: a clear line and status 1.
start=$(now_ms)
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR=/nonexistent \
  timeout 10 "$quarn" --zone "$zone" --no-sound >/dev/null 2>"$work/nodisplay.err"
status=$? took=$(( $(now_ms) - start ))
[ "$status" -eq 1 ] || fail "without a display the status is $status, not 1"
grep -q "quarn: chybí obrazovka" "$work/nodisplay.err" || fail "without a display nothing says so"
echo "no display: status 1 after $took ms"

# A private display.
. "$(dirname "$0")/Display.sh"
# A program stuck in a signal test is killed outright.
cleanup() {
  [ -n "$app" ] && kill -9 "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
StartDisplay "$work" 1024x768x24 || fail "no private X display could be started"

printf '"Rozbitá"\n5\nx\n' >"$work/broken.qrn"

# Starts quarn on a zone, waits for its window, sends the signal and times the end.
ends() {
  local signal=$1 number=$2 zoneFile=$3 name=$4 visible=$5
  "$quarn" --zone "$zoneFile" --no-sound >/dev/null 2>"$work/$name.err" &
  app=$!
  local win
  win=$(QuarnWindow "$visible")
  [ -n "$win" ] || fail "$name: no window named Quarn appeared"
  sleep 0.5
  local start; start=$(now_ms)
  kill -s "$signal" "$app"
  local waited=0
  while kill -0 "$app" 2>/dev/null && [ "$waited" -lt 200 ]; do sleep 0.05; waited=$((waited + 1)); done
  kill -0 "$app" 2>/dev/null && fail "$name: still running 10 s after SIG$signal"
  wait "$app"
  local status=$? took=$(( $(now_ms) - start ))
  app=
  [ "$status" -eq $((128 + number)) ] || fail "$name: status $status after SIG$signal"
  echo "$name: SIG$signal ended it with status $status after $took ms"
}

ends TERM 15 "$zone" playing-term --onlyvisible
ends INT 2 "$zone" playing-int --onlyvisible
ends HUP 1 "$zone" playing-hup --onlyvisible
# The message box about the broken zone is open, waiting for the player (the system's box is not
# seen as visible by xdotool, the game's window is never shown).
ends TERM 15 "$work/broken.qrn" box-term ""
ends INT 2 "$work/broken.qrn" box-int ""
echo "PASS"
