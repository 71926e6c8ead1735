#!/usr/bin/env bash
# NativeStart.sh — the desktop game's start screen as a picture, for the page's start screen to be
# laid against: quarn on a private Xvfb display with a fresh home (no records, no zones of the
# player's own), the sound question answered, and the start screen's window (511 x 314) saved
# alone as a binary PPM.
#   NativeStart.sh QUARN ZONE_FOLDER OUT.ppm
set -u
quarn=$1 zones=$2 picture=$3
for tool in Xvfb xdotool xdpyinfo xwininfo import; do
  command -v "$tool" >/dev/null || { echo "NativeStart: $tool is not installed" >&2; exit 1; }
done
work=$(mktemp -d)
. "$(dirname "$0")/../ui/Display.sh"
trap 'CleanUp; rm -rf "$work"' EXIT
StartDisplay "$work" || { echo "NativeStart: no X display could be started" >&2; exit 1; }

export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_STATE_HOME=$work/home/state
export XDG_CONFIG_HOME=$work/home/config XDG_CACHE_HOME=$work/home/cache
mkdir -p "$HOME" "$(dirname "$picture")"
"$quarn" --zones "$zones" >"$work/out.txt" 2>&1 &
app=$!

# quarn's shown windows of the size WxH (any other size with "other": the question).
shown() {
  local w size
  for w in $(xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "Quarn[^"]*".*/\1/p'); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
    size=$(xwininfo -id "$w" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w "x" h}')
    case "$1:$size" in
      other:511x314) ;;
      other:* | "$1:$1") echo "$w" ;;
    esac
  done
}
window() {
  for _ in $(seq 200); do
    shown "$1" | head -n1 | grep . && return 0
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  echo "NativeStart: no $1 window of quarn appeared" >&2
  cat "$work/out.txt" >&2
  return 1
}

question=$(window other) || exit 1
xdotool windowfocus --sync "$question" 2>/dev/null
sleep 0.2
xdotool key Escape  # sound off: the start screen looks the same either way
start=$(window 511x314) || exit 1
sleep 1  # the list is filled and the hover looks settle
import -window "$start" -depth 8 "ppm:$picture" || exit 1
echo "NativeStart: the start screen of $quarn saved in $picture"
