#!/usr/bin/env bash
# ToolsEndToEnd.sh — the author's tools in quarn --edit on a private Xvfb display: a room is
# selected with V and a drag, copied, pasted three times where the floating piece is clicked down,
# the last copy mirrored with H; Shift+F5 plays from the cell under the pointer and the player
# walks there; Esc comes back, Ctrl+S saves, and the file holds the four rooms. Screenshots are
# left in OUT_DIR.
#   ToolsEndToEnd.sh QUARN OUT_DIR
set -u
quarn=$1 out=$2
for tool in Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$out"
rm -rf "$out"/*.png "$out"/trace.txt "$out"/home "$out"/zone.qrn "$out"/here.*

. "$(dirname "$0")/Display.sh"
StartDisplay "$out" || { echo "FAIL: no X display could be started"; cat "$out/xvfb.log"; exit 1; }
# A state folder of its own: no recovery copy left by another run asks to be restored.
rm -rf "$out/state"
export XDG_DATA_HOME=$out/home HOME=$out/home XDG_STATE_HOME=$out/state
mkdir -p "$HOME"

fail() {
  echo "FAIL: $*"
  shot failure
  echo "--- zone"; cat "$out/zone.qrn"
  echo "--- stderr"; cat "$out/stderr.txt"
  exit 1
}
shot() { command -v import >/dev/null && import -window root "$out/$1.png" 2>/dev/null; }
named() {
  local win=
  for _ in $(seq 150); do
    win=$(QuarnNamed --onlyvisible "$1" | head -n1)
    [ -n "$win" ] && break
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  echo "$win"
}
focus() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; sleep 0.3; }
# A key with a modifier held around it long enough for a busy program to see it held.
with() { xdotool keydown "$1"; sleep 0.3; xdotool key "$2"; sleep 0.5; xdotool keyup "$1"; sleep 0.2; }

# A 30 x 26 zone fills the 600 x 530 canvas at 20 pixels a cell, 5 pixels from its top; the canvas
# stands at 184, 34 of the window.
px() { echo $((184 + 20 * $1 + 10)) $((34 + 5 + 20 * $2 + 10)); }
to() { xdotool mousemove --window "$editor" $(px "$1" "$2"); sleep 0.2; }
click() { to "$1" "$2"; xdotool click 1; sleep 0.3; }
drag() {
  to "$1" "$2"; xdotool mousedown 1; sleep 0.1
  to "$3" "$4"; xdotool mouseup 1; sleep 0.3
}
{
  printf 'Nástroje\n30\n26\n4\n8\n8\n8\n01\n01\n01\n'
  printf 'WWWWWWWWWWWWWWWWWWWWWWWWWWWWWE\n'
  printf 'WS...........................W\n'
  printf 'W.WWWWWW.....................W\n'
  printf 'W.WR...W.....................W\n'
  printf 'W.W..K.O.....................W\n'
  printf 'W.W....W.....................W\n'
  printf 'W.WWWWWW.....................W\n'
  for _ in $(seq 17); do printf 'W............................W\n'; done
  printf 'WC...........................W\n'
  printf 'WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\n'
} >"$out/zone.qrn"

"$quarn" --edit "$out/zone.qrn" --no-sound --trace-player >"$out/trace.txt" 2>"$out/stderr.txt" &
app=$!
editor=$(named 'Quarn, editor')
[ -n "$editor" ] || fail "no editor window appeared"
focus "$editor"

xdotool key v; sleep 0.2
drag 2 2 7 6
shot selected
with ctrl c
for at in "10 2" "18 2" "10 10"; do
  with ctrl v
  set -- $at
  to "$1" "$2"
  [ "$at" = "10 10" ] && shot floating
  click "$1" "$2"
done
# The last copy is selected: H mirrors it left to right.
xdotool key h; sleep 0.3
shot pasted

# Shift+F5 with the pointer on a floor cell: the run starts there, not at the start.
to 14 16
with shift F5
game=$(named '^Quarn( – |$)')
[ -n "$game" ] || fail "Shift+F5 showed no game screen"
focus "$game"
xdotool keydown Right; sleep 0.6; xdotool keyup Right; sleep 0.3
read -r _ x0 y0 _ <<<"$(head -n1 "$out/trace.txt")"
# 4 fine steps a cell: cell 14, 16, where the pointer was.
[ "$x0 $y0" = "56 64" ] || fail "the test-play began at ($x0, $y0), not under the pointer"
shot testplay
xdotool key Escape; sleep 0.5
back=$(named 'Quarn, editor')
[ "$back" = "$editor" ] || fail "Esc did not bring the editor back"
focus "$editor"
with ctrl s; sleep 0.5

row() { sed -n "$((11 + $1))p" "$out/zone.qrn"; }
[ "$(row 2)" = "W.WWWWWW..WWWWWW..WWWWWW.....W" ] || fail "row 2 is '$(row 2)'"
[ "$(row 4)" = "W.W..K.O..W..K.O..W..K.O.....W" ] || fail "row 4 is '$(row 4)'"
[ "$(row 12)" = "W.........O.K..W.............W" ] || fail "row 12 (the mirrored copy) is '$(row 12)'"
[ "$(row 1)" = "WS...........................W" ] || fail "row 1 is '$(row 1)': the start moved"
[ "$(grep -c S "$out/zone.qrn")" = 1 ] || fail "the saved zone has more than one start"

# Save as: Ctrl+Shift+S opens the chooser in the player's zone folder; a new name and Enter write
# the zone there, and that file is edited from then on.
xdotool keydown ctrl keydown shift; sleep 0.3; xdotool key s; sleep 0.5; xdotool keyup shift keyup ctrl
chooser=$(named 'Uložit zónu jako')
[ -n "$chooser" ] || fail "Ctrl+Shift+S showed no file chooser"
focus "$chooser"
shot chooser
xdotool key --delay 40 $(printf 'BackSpace %.0s' $(seq 12))
xdotool key --delay 80 k o p i e
sleep 0.3
xdotool key Return
sleep 1
own=$XDG_DATA_HOME/quarn/zones/kopie.qrn
[ -f "$own" ] || fail "save as wrote no $own"
cmp -s "$own" "$out/zone.qrn" || fail "the zone saved as differs from the one saved before"
[ -z "$(QuarnNamed --onlyvisible 'Uložit zónu jako')" ] || fail "the chooser stayed open"
focus "$editor"
# The copy is the file edited now: a change and Ctrl+S go there, not to the first file.
xdotool mousemove --window "$editor" $(px 20 20); sleep 0.2
xdotool mousemove --window "$editor" 559 17 click 1; sleep 0.3
xdotool mousemove --window "$editor" $(px 20 20); sleep 0.2
xdotool key r; sleep 0.2; xdotool click 1; sleep 0.3
with ctrl s; sleep 0.5
[ "$(sed -n 31p "$own")" = "W...................R........W" ] || fail "Ctrl+S after save as did not write the new file: '$(sed -n 31p "$own")'"
cmp -s <(sed -n 31p "$out/zone.qrn") <(printf 'W............................W\n') || fail "Ctrl+S after save as wrote the first file"

# Esc drops the selection, the next one closes the editor (nothing unsaved).
xdotool key Escape; sleep 0.3
xdotool key Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "Esc did not close the editor"
wait "$app"; status=$?
app=
[ "$status" -eq 0 ] || fail "quarn ended with status $status"
# A zone won from a cell other than its start: the run is not offered as the zone's solution.
printf '"Odjinud"\n6\n3\n4\n8\n8\n8\n01\n01\n01\nWWWWWW\nWS.R.E\nWWWWCW\n' >"$out/here.qrn"
"$quarn" --edit "$out/here.qrn" --no-sound >"$out/trace.txt" 2>"$out/stderr.txt" &
app=$!
editor=$(named 'Quarn, editor')
[ -n "$editor" ] || fail "no editor window appeared for the second zone"
focus "$editor"
# 6 x 3 cells at 40 pixels stand in the middle of the canvas: cell 2, 1 is 180 + 80 pixels right.
xdotool mousemove --window "$editor" $((184 + 180 + 2 * 40 + 20)) $((34 + 205 + 40 + 20)); sleep 0.2
with shift F5
game=$(named '^Quarn( – |$)')
[ -n "$game" ] || fail "Shift+F5 showed no game screen for the second zone"
focus "$game"
xdotool keydown Right
question=$(OtherQuarnWindow "$game")
xdotool keyup Right
[ -n "$question" ] || fail "the run from cell 2, 1 was not won"
focus "$question"; xdotool key n; sleep 0.3
focus "$game"; xdotool key Escape; sleep 1.5
[ -z "$(xdotool search --onlyvisible --name '^Quarn$' 2>/dev/null)" ] || fail "a run that did not begin at the start was offered as the solution"
[ -e "$out/here.keys" ] && fail "here.keys was written"
focus "$editor"; xdotool key Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "Esc did not close the editor of the second zone"
wait "$app"
app=

echo "PASS: selected, copied, pasted three times, mirrored, test-played from the pointer ($x0, $y0), saved, saved as; a win from another cell not offered as the solution"
