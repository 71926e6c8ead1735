#!/usr/bin/env bash
# ZoneEndToEnd.sh — quarn --zone on a private Xvfb display: the window is 800 x 600, held arrow keys
# move the player, Restart brings him back, the help closes with the keyboard back in the game, a
# click on × closes the program. Screenshots are
# left in OUT_DIR.
#   ZoneEndToEnd.sh QUARN ZONE OUT_DIR
set -u
quarn=$1 zone=$2 out=$3
for tool in Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$out"
rm -f "$out"/*.png "$out"/display "$out"/trace.txt

. "$(dirname "$0")/Display.sh"
StartDisplay "$out" || { echo "FAIL: no X display could be started"; cat "$out/xvfb.log"; exit 1; }

fail() {
  echo "FAIL: $*"
  echo "--- trace"; cat "$out/trace.txt"; echo "--- stderr"; cat "$out/stderr.txt"
  exit 1
}
shot() { command -v import >/dev/null && import -window root "$out/$1.png" 2>/dev/null; }

"$quarn" --zone "$zone" --no-sound --trace-player >"$out/trace.txt" 2>"$out/stderr.txt" &
app=$!
win=$(QuarnWindow)
[ -n "$win" ] || fail "no window named Quarn appeared"
sleep 0.5
geometry=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "800x600" ] || fail "window is $geometry, not 800x600"
shot start

# With no window manager the keyboard goes where we put it.
xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
sleep 0.3
first=$(head -n1 "$out/trace.txt")
[ -n "$first" ] || fail "the game reported no player position"
read -r _ x0 y0 <<<"$first"
xdotool keydown Right; sleep 1; xdotool keyup Right
sleep 0.3
read -r _ x1 y1 <<<"$(tail -n1 "$out/trace.txt")"
[ "$x1" -gt "$x0" ] || fail "Right did not move the player ($x0,$y0 -> $x1,$y1)"
xdotool keydown Down; sleep 0.6; xdotool keyup Down
sleep 0.3
read -r _ x2 y2 <<<"$(tail -n1 "$out/trace.txt")"
[ "$y2" -gt "$y1" ] || fail "Down did not move the player ($x1,$y1 -> $x2,$y2)"
shot moved

# The Restart label (585,45, 93 x 29) puts the player back at the start.
xdotool mousemove --window "$win" 631 59 click 1
sleep 0.5
read -r _ x3 y3 <<<"$(tail -n1 "$out/trace.txt")"
[ "$x3,$y3" = "$x0,$y0" ] || fail "Restart left the player at $x3,$y3, not at $x0,$y0"

# F1 shows the help and gives it the keyboard; Esc closes it and the game has the keyboard again,
# with no window manager to hand it on.
xdotool key F1
help=
for _ in $(seq 50); do
  help=$(QuarnNamed --onlyvisible '^Quarn – nápověda$' | head -n1)
  [ -n "$help" ] && break
  sleep 0.1
done
[ -n "$help" ] || fail "F1 showed no help"
sleep 0.3
shot help
xdotool key Escape
sleep 0.5
kill -0 "$app" 2>/dev/null || fail "Esc meant for the help closed the game"
[ -z "$(QuarnNamed --onlyvisible '^Quarn – nápověda$')" ] ||
  fail "Esc did not close the help"
read -r _ x4 _ <<<"$(tail -n1 "$out/trace.txt")"
xdotool keydown Right; sleep 0.6; xdotool keyup Right
sleep 0.3
read -r _ x5 _ <<<"$(tail -n1 "$out/trace.txt")"
[ "$x5" -gt "$x4" ] || fail "after the help closed the keys went nowhere ($x4 -> $x5)"

# The × label at 649,10 (28 x 29) ends the program.
xdotool mousemove --window "$win" 663 24 click 1
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then fail "a click on × did not close the game"; fi
wait "$app"; status=$?
app=
[ "$status" -eq 0 ] || fail "quarn ended with status $status"
echo "PASS: window 800x600, player $x0,$y0 -> $x1,$y1 -> $x2,$y2, restarted, help and back, closed by ×"
