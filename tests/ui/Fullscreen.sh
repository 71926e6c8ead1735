#!/usr/bin/env bash
# Fullscreen.sh — on an X display without a window manager, F11 lays the game over the whole screen
# with the frame enlarged to the largest size that fits and centred (panel included), the help
# opened over it stands on top in the middle at its own size while the game stays full-screen,
# and F11 again puts the window back where it was.
#   Fullscreen.sh QUARN ZONE WORK_DIR
set -u
quarn=$1 zone=$2 work=$3
for tool in Xvfb xdotool xdpyinfo xwininfo import compare; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }

. "$(dirname "$0")/Display.sh"
StartDisplay "$work" 1280x1024x24 || fail "no private X display could be started"

"$quarn" --zone "$zone" --no-sound >/dev/null 2>"$work/stderr.txt" &
app=$!
win=$(QuarnWindow)
[ -n "$win" ] || fail "no window named Quarn appeared"
sleep 0.5
geometry() { xwininfo -id "$win" | sed -n 's/^ *-geometry //p'; }
before=$(geometry)
read -r x y <<<"$(xwininfo -id "$win" | sed -n 's/^ *Absolute upper-left [XY]: *//p' | paste -sd' ')"
# The panel's left part (logo and title) does not animate: it must look the same in both modes.
import -window root -crop "450x60+$x+$y" +repage "$work/panel-window.png"
xdotool windowfocus "$win" 2>/dev/null
xdotool key --window "$win" F11
sleep 1
[ "$(geometry)" = "1280x1024+0+0" ] || fail "fullscreen window is $(geometry), not 1280x1024+0+0"
# The 800 x 600 frame enlarged 1.6 times to 1280 x 960, centred: 32 black rows above it. Brought
# back to its own size, the panel looks as in the window, but for the mixed border pixels.
import -window root -crop "720x96+0+32" +repage -resize '450x60!' "$work/panel-fullscreen.png"
differ=$(compare -metric RMSE "$work/panel-window.png" "$work/panel-fullscreen.png" null: 2>&1 |
  sed 's/.*(\(.*\))/\1/')
awk -v d="$differ" 'BEGIN { exit !(d < 0.08) }' ||
  fail "the panel is not where the enlarged frame puts it (difference $differ)"
margin=$(import -window root -crop "1280x32+0+0" +repage -format '%[fx:maxima]' info:)
[ "$margin" = "0" ] || fail "the rows above the enlarged frame are not black ($margin)"
# The help over the full-screen game: shown above it, in the middle of the screen, at its own size
# at least (readable, not squeezed into the game's scale); the game stays laid over the screen
# under it and after it.
xdotool key --window "$win" F1
help=
for _ in $(seq 100); do
  help=$(QuarnNamed --onlyvisible 'nápověda' | head -n1)
  [ -n "$help" ] && break
  sleep 0.1
done
[ -n "$help" ] || fail "no help window appeared over the full-screen game"
sleep 0.5
read -r hx hy hw hh <<<"$(xwininfo -id "$help" |
  sed -n 's/^ *\(Absolute upper-left [XY]\|Width\|Height\): *//p' | paste -sd' ')"
[ "$hw" -ge 1000 ] || fail "the help is $hw pixels wide, less than its own 1000"
[ $((2 * hx + hw - 1280)) -ge -2 ] && [ $((2 * hx + hw - 1280)) -le 2 ] &&
  [ $((2 * hy + hh - 1024)) -ge -2 ] && [ $((2 * hy + hh - 1024)) -le 2 ] ||
  fail "the help is not centred: ${hw}x${hh}+$hx+$hy"
# xwininfo lists the root's children from the top down: the help must come before the game.
order=$(xwininfo -root -children | grep -oE '^ *0x[0-9a-f]+' | tr -d ' ' | tr '\n' ' ')
above=${order%%"$(printf '0x%x' "$win")"*}
[[ $above == *"$(printf '0x%x' "$help")"* ]] || fail "the help is under the full-screen game"
[ "$(geometry)" = "1280x1024+0+0" ] || fail "under the help the game is $(geometry)"
# Esc as a player presses it, to the window with the keyboard: the help has it, and goes.
xdotool key Escape
sleep 1
[ -z "$(QuarnNamed --onlyvisible 'nápověda')" ] || fail "Esc did not reach the help"
[ "$(geometry)" = "1280x1024+0+0" ] || fail "after the help the game is $(geometry)"

xdotool key --window "$win" F11
sleep 1
[ "$(geometry)" = "$before" ] || fail "back from fullscreen the window is $(geometry), not $before"
echo "PASS: $before -> 1024x768+0+0 -> $(geometry)"
