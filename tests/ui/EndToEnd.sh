#!/usr/bin/env bash
# EndToEnd.sh — the real quarn on a private Xvfb display, as a player uses it: the sound question
# answered with Esc, a zone chosen with the keys and started with Play, the web label's link,
# P pausing, the zone walked and won, the replay declined and Enter restarting, × back to the
# start screen with the selection kept, the editor question answered Yes (an xdg-open stand-in
# records what it was given), Cancel ending the program with status 0. Screenshots of every
# stage are left in OUT_DIR.
#   EndToEnd.sh QUARN ZONE_FOLDER OUT_DIR
# ZONE_FOLDER holds two zones: the second is won by holding Right from the start.
set -u
quarn=$1 zones=$2 out=$3
for tool in Xvfb xdotool xdpyinfo xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$out"
rm -rf "$out"/*.png "$out"/display "$out"/trace.txt "$out"/opened.txt "$out"/home "$out"/bin

. "$(dirname "$0")/Display.sh"
StartDisplay "$out" || { echo "FAIL: no X display could be started"; cat "$out/xvfb.log"; exit 1; }

# The player's own zone folder lies inside OUT_DIR, and the desktop's opener only writes down
# what it was asked to open.
export XDG_DATA_HOME=$out/home
mkdir -p "$out/bin" "$XDG_DATA_HOME"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened.txt"\n' "$out" >"$out/bin/xdg-open"
chmod +x "$out/bin/xdg-open"
export PATH=$out/bin:$PATH

fail() {
  echo "FAIL: $*"
  shot failure
  echo "--- windows"
  for w in $(shown); do echo "$w $(size "$w") at $(position "$w")"; done
  echo "--- trace"; cat "$out/trace.txt"; echo "--- stderr"; cat "$out/stderr.txt"
  exit 1
}
shot() { import -window root "$out/$1.png" 2>/dev/null; }
# The colour of a pixel of a screenshot, as RRGGBB.
pixel() { convert "$out/$1.png" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | tr -d '#'; }
# quarn's shown top-level windows (all are named Quarn, the game screen Quarn – ZONE). xwininfo, not xdotool's name search: the
# system's message box names itself in a way that search does not read.
shown() {
  local w
  for w in $(xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "Quarn[^"]*".*/\1/p'); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$w"
  done
}
size() {
  xwininfo -id "$1" 2>/dev/null |
    awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {if (w) print w "x" h}'
}
position() {
  xwininfo -id "$1" 2>/dev/null |
    awk '/Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4} END {print x, y}'
}
# A shown window of quarn's of the size WxH, or with "other" any size but the two screens' (a
# question); waits up to 20 s and prints its id.
window() {
  local w
  for _ in $(seq 200); do
    for w in $(shown); do
      case "$1:$(size "$w")" in
        other:511x314 | other:800x600 | other:) ;;
        other:* | "$1:$1") echo "$w"; return 0 ;;
      esac
    done
    sleep 0.1
  done
  return 1
}
gone() {
  for _ in $(seq 100); do
    shown | grep -qx "$1" || return 0
    sleep 0.1
  done
  return 1
}
# Keys go where the pointer and focus are put: there is no window manager.
focus() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; sleep 0.2; }
answer() {  # answer the question shown now with key $1
  local q
  q=$(window other) || fail "no question appeared for $2"
  shot "$2"
  focus "$q"
  xdotool key "$1"
  gone "$q" || fail "the question of $2 did not go away after $1"
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
last() { tail -n1 "$out/trace.txt" | grep '^player' | cut -d' ' -f2-; }

"$quarn" --zones "$zones" --trace-player >"$out/trace.txt" 2>"$out/stderr.txt" &
app=$!

# 1. The sound question comes before the start screen; Esc says No.
answer Escape sound-question
start=$(window 511x314) || fail "no start screen appeared"
sleep 0.3
shot start-screen

# 2. Down selects the second zone; a click on Play (177,189, 100 x 30) starts it.
focus "$start"
xdotool key Down
sleep 0.3
shot zone-chosen
click "$start" 227 204
game=$(window 800x600) || fail "Play opened no game screen"
gone "$start" || fail "the start screen stayed shown while the zone is played"
for _ in $(seq 50); do [ -n "$(last)" ] && break; sleep 0.1; done
begin=$(last)
[ "$begin" = "4 4" ] || fail "the second zone starts the player at 4,4, not at '$begin'"
shot game
# The web label (237,38) hands its link to the desktop's opener; the game goes on.
click "$game" 260 46
for _ in $(seq 50); do [ -s "$out/opened.txt" ] && break; sleep 0.1; done
link=$(head -n1 "$out/opened.txt" 2>/dev/null)
[ "$link" = "http://quarn.example.org/" ] || fail "the web label opened '$link'"

# 3. P pauses: Right moves nothing while "Pauza" shows; P again lets the game go on.
focus "$game"
xdotool key p
sleep 0.3
xdotool keydown Right; sleep 0.5; xdotool keyup Right
shot paused
[ "$(last)" = "$begin" ] || fail "the player moved to $(last) during the pause"
xdotool key p
sleep 0.3

# 4. Holding Right picks the potato, delivers it beside the target and walks into the exit.
xdotool keydown Right; sleep 1.5; xdotool keyup Right
answer Escape won
won=$(last)
[ "$won" != "$begin" ] || fail "the player did not walk"
# No to "Hrát znovu?" halts play; Enter restarts.
focus "$game"
xdotool keydown Left; sleep 0.5; xdotool keyup Left
[ "$(last)" = "$won" ] || fail "the player walked to $(last) after the replay was declined"
shot halted
xdotool key Return
sleep 0.5
[ "$(last)" = "$begin" ] || fail "Enter after the end left the player at $(last), not at $begin"

# 5. × (649,10, 28 x 29) goes back to the start screen, the second zone still selected.
click "$game" 663 24
start=$(window 511x314) || fail "× did not bring the start screen back"
gone "$game" || fail "the game screen stayed shown after ×"
sleep 0.5
shot back-at-start
read -r sx sy < <(position "$start")
# The list's rows start at 189 in the window, 15 pixels each; its right end carries no text.
first=$(pixel back-at-start $((sx + 145)) $((sy + 196)))
second=$(pixel back-at-start $((sx + 145)) $((sy + 211)))
[ "$first" = "000080" ] && [ "$second" = "00FFFF" ] ||
  fail "the selection is not on the second zone (rows show $first, $second)"

# 6. Editor (177,224): Yes hands the selected zone's file to the desktop's opener.
click "$start" 227 239
answer Return editor-question
for _ in $(seq 50); do [ "$(wc -l <"$out/opened.txt")" -ge 2 ] && break; sleep 0.1; done
opened=$(sed -n 2p "$out/opened.txt")
[ "$opened" = "$zones/2-vyhra.qrn" ] || fail "the editor was given '$opened'"
window 511x314 >/dev/null || fail "the start screen went away after the editor question"

# 7. Cancel (466,8, 37 x 30) ends the program at once, with status 0.
click "$start" 484 23
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then fail "Cancel did not end the program"; fi
wait "$app"; status=$?
app=
[ "$status" -eq 0 ] || fail "quarn ended with status $status"
echo "PASS: sound question, zone chosen and played from $begin, won at $won, restarted,"
echo "      back at the start screen with the selection kept, editor given $opened, Cancel"
