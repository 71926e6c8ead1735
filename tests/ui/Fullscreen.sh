#!/usr/bin/env bash
# Fullscreen.sh — on an X display without a window manager, F11 lays the game over the whole screen
# with the frame centred (panel included), and F11 again puts the window back where it was.
#   Fullscreen.sh QUARN ZONE WORK_DIR
set -u
quarn=$1 zone=$2 work=$3
for tool in Xvfb xdotool xdpyinfo xwininfo import compare; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }

. "$(dirname "$0")/Display.sh"
StartDisplay "$work" 1024x768x24 || fail "no private X display could be started"

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
[ "$(geometry)" = "1024x768+0+0" ] || fail "fullscreen window is $(geometry), not 1024x768+0+0"
# The 800 x 600 frame at scale 1, centred in 1024 x 768.
import -window root -crop "450x60+112+84" +repage "$work/panel-fullscreen.png"
differ=$(compare -metric AE "$work/panel-window.png" "$work/panel-fullscreen.png" null: 2>&1)
[ "$differ" = "0" ] || fail "the panel is not where the centred frame puts it ($differ pixels differ)"
xdotool key --window "$win" F11
sleep 1
[ "$(geometry)" = "$before" ] || fail "back from fullscreen the window is $(geometry), not $before"
echo "PASS: $before -> 1024x768+0+0 -> $(geometry)"
