#!/usr/bin/env bash
# EditorEndToEnd.sh — quarn --edit on a private Xvfb display, as a zone author uses it: a tile
# chosen in the palette, a cell painted, Ctrl+Z, another cell painted, Ctrl+S; F5 plays the zone
# with the player walking, Esc comes back to the editor, Esc closes it and ends the program with
# status 0. Then a small zone is won in a test-play: back in the editor the run is offered as the
# zone's solution, and the NAME.keys kept beside the zone wins it headless. Then SIGTERM with a
# change unsaved: the change is kept in a recovery copy (stderr says where) and offered back by the
# next --edit, and Ctrl+S over a file another program changed asks first. Screenshots are left in
# OUT_DIR.
#   EditorEndToEnd.sh QUARN OUT_DIR
set -u
quarn=$1 out=$2
for tool in Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$out"
rm -rf "$out"/*.png "$out"/display "$out"/trace.txt "$out"/home "$out"/state "$out"/zone.qrn "$out"/win.*

. "$(dirname "$0")/Display.sh"
StartDisplay "$out" || { echo "FAIL: no X display could be started"; cat "$out/xvfb.log"; exit 1; }
export XDG_DATA_HOME=$out/home HOME=$out/home XDG_STATE_HOME=$out/state
mkdir -p "$HOME"

fail() {
  echo "FAIL: $*"
  shot failure
  echo "--- zone"; cat "$out/zone.qrn"
  echo "--- trace"; cat "$out/trace.txt"; echo "--- stderr"; cat "$out/stderr.txt"
  exit 1
}
shot() { command -v import >/dev/null && import -window root "$out/$1.png" 2>/dev/null; }
# The first visible window whose name matches, waiting up to 15 s.
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

# 15 x 13 cells fill the 600 x 530 canvas at 40 pixels a cell, 5 pixels from its top; the canvas
# stands at 184, 34 of the window. Cell X, Y is clicked in its middle.
cell() { xdotool mousemove --window "$editor" $((184 + 40 * $1 + 20)) $((34 + 5 + 40 * $2 + 20)) click 1; sleep 0.3; }
{
  printf 'Zkouška editoru\n15\n13\n4\n8\n8\n8\n01\n01\n01\n'
  printf 'WWWWWWWWWWWWWWW\n'
  printf 'WS............W\n'
  for _ in $(seq 10); do printf 'W.............W\n'; done
  printf 'WWWWWWWWWWWWWWW\n'
} >"$out/zone.qrn"

"$quarn" --edit "$out/zone.qrn" --no-sound --trace-player >"$out/trace.txt" 2>"$out/stderr.txt" &
app=$!
editor=$(named 'Quarn, editor')
[ -n "$editor" ] || fail "no editor window appeared"
focus "$editor"
shot editor

# The palette's eighth row is the hot potato (rows of 28 pixels from y = 34).
xdotool mousemove --window "$editor" 80 $((34 + 7 * 28 + 14)) click 1; sleep 0.2
cell 5 5
xdotool key ctrl+z; sleep 0.3
cell 7 3
shot painted
xdotool key ctrl+s; sleep 0.5
row4=$(sed -n '14p' "$out/zone.qrn")   # rows start at line 11: row 3 is line 14
row6=$(sed -n '16p' "$out/zone.qrn")
[ "$row4" = "W......R......W" ] || fail "row 4 is '$row4', not the painted potato"
[ "$row6" = "W.............W" ] || fail "row 6 is '$row6': the undone potato was saved"

# F5 plays the zone as it is; the game screen is the window named after the zone.
xdotool key F5
game=$(named '^Quarn – ')
[ -n "$game" ] || fail "F5 showed no game screen"
focus "$game"
xdotool keydown Right; sleep 0.8; xdotool keyup Right; sleep 0.3
read -r _ x0 _ <<<"$(head -n1 "$out/trace.txt")"
read -r _ x1 _ <<<"$(tail -n1 "$out/trace.txt")"
[ -n "$x0" ] && [ "${x1:-0}" -gt "$x0" ] || fail "the player did not walk in the test-play ($x0 -> $x1)"
shot testplay
xdotool key Escape; sleep 0.5
back=$(named 'Quarn, editor')
[ "$back" = "$editor" ] || fail "Esc did not bring the editor back"
focus "$editor"
shot back

# Nothing is unsaved: Esc closes the editor without a question, and the program ends.
xdotool key Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then fail "Esc did not close the editor"; fi
wait "$app"; status=$?
app=
[ "$status" -eq 0 ] || fail "quarn ended with status $status"

# A won test-play: the run becomes the zone's solution.
printf '"Rychlá výhra"\n6\n3\n4\n8\n8\n8\n01\n01\n01\nWWWWWW\nWSR..E\nWWWCWW\n' >"$out/win.qrn"
"$quarn" --edit "$out/win.qrn" --no-sound >"$out/trace.txt" 2>"$out/stderr.txt" &
app=$!
editor=$(named 'Quarn, editor')
[ -n "$editor" ] || fail "no editor window appeared for the second zone"
focus "$editor"
xdotool key F5
game=$(named '^Quarn – ')
[ -n "$game" ] || fail "F5 showed no game screen for the second zone"
focus "$game"
xdotool keydown Right
question=$(OtherQuarnWindow "$game")
xdotool keyup Right
[ -n "$question" ] || fail "the test-play was not won"
focus "$question"; xdotool key n; sleep 0.3
focus "$game"; xdotool key Escape; sleep 0.5
offer=$(OtherQuarnWindow "$game")
[ -n "$offer" ] || fail "back in the editor, the won run was not offered as the solution"
shot solution
focus "$offer"; xdotool key y; sleep 0.5
[ -s "$out/win.keys" ] || fail "no win.keys was written beside the zone"
grep -q "^# soubor: $out/win.qrn" "$out/win.keys" || fail "win.keys does not name the zone: $(head -n4 "$out/win.keys")"
report=$("$(dirname "$quarn")/quarn-zone" play "$out/win.qrn" --keys "$out/win.keys")
case "$report" in
  *'"wins": 1,'*) ;;
  *) fail "the kept solution does not win the zone headless: $report" ;;
esac
focus "$editor"; xdotool key Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "Esc did not close the editor of the second zone"
wait "$app"
app=

# SIGTERM with a change unsaved: the change is kept before the program ends, and stderr says where.
"$quarn" --edit "$out/zone.qrn" --no-sound >"$out/trace.txt" 2>"$out/stderr.txt" &
app=$!
editor=$(named 'Quarn, editor')
[ -n "$editor" ] || fail "no editor window appeared for the signal"
focus "$editor"
xdotool mousemove --window "$editor" 80 $((34 + 7 * 28 + 14)) click 1; sleep 0.2
cell 9 9
kill -TERM "$app"
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "SIGTERM did not end the editor"
wait "$app"; status=$?
app=
[ "$status" -eq 143 ] || fail "SIGTERM ended the editor with status $status"
kept=$(ls "$out/state/quarn/recovery/"*.qrn 2>/dev/null | head -n1)
[ -n "$kept" ] || fail "SIGTERM kept no recovery copy"
grep -q "uchovány v $kept" "$out/stderr.txt" || fail "stderr does not say where the changes are kept"
[ "$(sed -n '20p' "$kept")" = "W........R....W" ] || fail "the recovery copy lacks the change: $(sed -n '20p' "$kept")"
[ "$(sed -n '20p' "$out/zone.qrn")" = "W.............W" ] || fail "the zone itself was written"

# The next --edit offers the change back; Ano brings it, Ctrl+S saves it and the copy goes.
"$quarn" --edit "$out/zone.qrn" --no-sound >"$out/trace.txt" 2>"$out/stderr.txt" &
app=$!
question=$(QuarnWindow)
[ -n "$question" ] || fail "the restore question did not appear"
sleep 0.5
shot restore
grep -q "Obnovit neuložené změny z " "$out/stderr.txt" || fail "the restore question was not asked"
focus "$question"; xdotool key y
editor=$(named 'Quarn, editor')
[ -n "$editor" ] || fail "no editor window after the restore question"
focus "$editor"
xdotool key ctrl+s; sleep 0.5
[ "$(sed -n '20p' "$out/zone.qrn")" = "W........R....W" ] || fail "the restored change was not saved"
[ -z "$(ls "$out/state/quarn/recovery/"*.qrn 2>/dev/null)" ] || fail "the recovery copy stayed after the save"

# Another program changes the file; Ctrl+S over it asks, and Zrušit leaves the other change.
cell 10 9
printf '\npoznámka jiného programu\n' >>"$out/zone.qrn"
xdotool key ctrl+s
changed=$(OtherQuarnWindow "$editor")
[ -n "$changed" ] || changed=$(QuarnWindow)
[ -n "$changed" ] || fail "Ctrl+S over a changed file asked nothing"
sleep 0.5
shot changed
focus "$changed"; xdotool key c; sleep 0.5
grep -q "poznámka jiného programu" "$out/zone.qrn" || fail "the other program's change was written over"
grep -q "mezitím změnil jiný program" "$out/stderr.txt" || fail "the changed-on-disk question was not asked"
focus "$editor"; xdotool key Escape
unsaved=$(QuarnWindow)
[ -n "$unsaved" ] && { focus "$unsaved"; xdotool key n; }
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the editor did not close after the changed-on-disk question"
wait "$app"
app=
[ -z "$(ls -A "$out/state/quarn/recovery/")" ] || fail "changes thrown away left a recovery copy, or its claim: $(ls -A "$out/state/quarn/recovery/")"
echo "PASS: painted, undone, saved, test-played ($x0 -> $x1), back in the editor, closed; a won test-play kept as the solution; SIGTERM kept the change, the next --edit brought it back; a change on disk was asked about"
