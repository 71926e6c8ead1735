#!/usr/bin/env bash
# Fullscreen.sh — on an X display without a window manager, F11 lays the game over the whole screen
# with the frame enlarged to the largest size that fits and centred (panel included), and F11
# again puts the window back where it was.
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
xdotool key --window "$win" F11
sleep 1
[ "$(geometry)" = "$before" ] || fail "back from fullscreen the window is $(geometry), not $before"
echo "PASS: $before -> 1024x768+0+0 -> $(geometry)"
