#!/usr/bin/env bash
# Checks the package `make deb` built as a player's machine would meet it: lintian finds no error
# and no warning, apt installs it, the installed game runs from /usr/games, finds its data in
# /usr/share/games/quarn, lists and plays its zones on a private virtual display (screenshots in
# build/deb/), its manual pages open, and apt removes it without leaving a file behind.
#   scripts/check-deb.sh        (as root or with sudo; `make deb` first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/deb
debs=("$out"/quarn_*.deb)
[ -f "${debs[0]}" ] || { echo "no package in build/deb: run make deb first" >&2; exit 1; }
deb=${debs[0]}
changes=$(ls "$out"/quarn_*.changes)
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "== lintian"
lintian --info --display-info --pedantic "$changes" 2>&1 | grep -v 'root privileges' | tee "$out/lintian.txt" || true
if grep -q '^[EW]:' "$out/lintian.txt"; then fail "lintian reports an error or a warning"; fi

echo "== install"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get install -y -q "$deb" >"$out/install.log" 2>&1 || { cat "$out/install.log"; fail "apt could not install $deb"; }
version=$(/usr/games/quarn --version)
echo "$version"
# The package writes the version's stage after a tilde (so it sorts below the release); the game shows
# it straight after the number.
package=$(dpkg-query -W -f='${Version}' quarn)
[ "$version" = "Quarn ${package/\~/}" ] || fail "the package's version $package is not the program's"
man -w quarn >/dev/null && man -w quarn-zone >/dev/null || fail "man finds no page"
for page in quarn quarn-zone; do
  warnings=$(MANWIDTH=80 man --warnings "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man warns about $page: $warnings"
done
[ -s /usr/share/doc/quarn/AUTHORING.txt.gz ] || fail "the author's guide is not installed"
# The desktop's triggers took the icon into the theme's cache.
grep -qa quarn /usr/share/icons/hicolor/icon-theme.cache || fail "the icon cache does not hold the icon"

echo "== the installed zones"
cd /
unset QUARN_DATA_DIR
zones=(/usr/share/games/quarn/zones/*.qrn)
/usr/games/quarn-zone check "${zones[@]}" | tee "$out/zones.txt"
/usr/games/quarn-zone render "${zones[0]}" "$out/zone.bmp" >/dev/null || fail "quarn-zone render found no pictures"

echo "== playing on a virtual display"
work=$(mktemp -d)
. "$root/tests/ui/Display.sh"
trap 'CleanUp; rm -rf "$work"' EXIT
StartDisplay "$work" 1024x768x24 || fail "no private X display could be started"
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
/usr/games/quarn --no-sound >"$work/start.txt" 2>&1 &
app=$!
win=$(QuarnWindow)
[ -n "$win" ] || { cat "$work/start.txt"; fail "the installed quarn showed no start screen"; }
sleep 1
import -window root "$out/installed-start.png"
kill "$app"; wait "$app" || true
/usr/games/quarn --no-sound --zone "${zones[0]}" >"$work/game.txt" 2>&1 &
app=$!
win=$(QuarnWindow)
[ -n "$win" ] || { cat "$work/game.txt"; fail "the installed quarn showed no game screen"; }
sleep 1
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
for key in Right Right Down Down Right; do xdotool key --delay 150 "$key"; sleep 0.3; done
import -window root "$out/installed-game.png"
kill -0 "$app" || { cat "$work/game.txt"; fail "the installed quarn ended while playing"; }
kill "$app"; wait "$app" || true
app=

echo "== remove"
files=$(dpkg -L quarn)
"${sudo[@]}" apt-get remove -y -q quarn >"$out/remove.log" 2>&1 || { cat "$out/remove.log"; fail "apt could not remove quarn"; }
left=$(while read -r f; do [ -f "$f" ] && echo "$f"; done <<<"$files" || true)
[ -z "$left" ] || fail "left behind: $left"
[ ! -e /usr/share/games/quarn ] || fail "/usr/share/games/quarn is left behind"
status=$(dpkg-query -W -f='${db:Status-Status}' quarn 2>/dev/null || true)
[ "$status" != installed ] || fail "quarn is still installed"
echo "package lintian-clean, installed, played and removed; screenshots in build/deb/installed-*.png"
