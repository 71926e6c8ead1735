#!/usr/bin/env bash
# InstallTest.sh — installs the build into a fresh prefix and checks what a player gets: the
# layout, the desktop entry, metainfo and MIME type as their validators see them, the icon cache,
# and the installed programs finding their data in ../share/quarn, also after the prefix is moved.
#   InstallTest.sh BUILD_DIR WORK_DIR
set -u
build=$1 work=$2
fail() { echo "FAIL: $*"; exit 1; }
for tool in desktop-file-validate appstreamcli update-mime-database; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
unset QUARN_DATA_DIR DESTDIR
export ASAN_OPTIONS=detect_leaks=0

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install failed"; }

# The layout.
share=$prefix/share
for f in bin/quarn bin/quarn-zone share/quarn/Graphics/Quarn.bmp share/quarn/sound/walk.wav \
         share/applications/io.github.quarn.Quarn.desktop \
         share/metainfo/io.github.quarn.Quarn.metainfo.xml share/mime/packages/quarn.xml \
         share/man/man6/quarn.6 share/man/man6/quarn-zone.6 \
         share/doc/quarn/AUTHORING.txt share/doc/quarn/README.md; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/quarn" ] && [ -x "$prefix/bin/quarn-zone" ] || fail "the programs cannot run"
zones=("$share"/quarn/zones/*.qrn)
[ -s "${zones[0]}" ] || fail "no zones in share/quarn/zones"
for size in 16 24 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/quarn.png
  [ -s "$icon" ] || fail "no ${size}x${size} icon"
  # The PNG header holds the width and height as big-endian words at bytes 16..23.
  read -r w h <<<"$(od -An -tu1 -j16 -N8 "$icon" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')"
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "the ${size}x${size} icon is ${w}x${h}"
done
[ -e "$prefix/bin/Graphics" ] && fail "data was installed beside the programs"
# Installed straight into a prefix without an icon theme of its own, the icon cache is written.
if command -v gtk-update-icon-cache >/dev/null; then
  grep -qa quarn "$share/icons/hicolor/icon-theme.cache" 2>/dev/null ||
    fail "the install wrote no icon cache that holds the icon"
fi

# The validators.
desktop-file-validate "$share/applications/io.github.quarn.Quarn.desktop" ||
  fail "desktop-file-validate refused the desktop entry"
appstreamcli validate --no-net "$share/metainfo/io.github.quarn.Quarn.metainfo.xml" \
  >"$work/appstream.txt" 2>&1 || { cat "$work/appstream.txt"; fail "appstreamcli refused the metainfo"; }
rm -rf "$work/mime" && mkdir -p "$work/mime/packages"
cp "$share/mime/packages/quarn.xml" "$work/mime/packages/"
update-mime-database "$work/mime" >"$work/mime.txt" 2>&1 || { cat "$work/mime.txt"; fail "update-mime-database failed"; }
[ -s "$work/mime/text/x-quarn-zone.xml" ] || { cat "$work/mime.txt"; fail "the zone MIME type was not taken"; }
grep -q 'text/x-quarn-zone:\*\.qrn' "$work/mime/globs" || fail "*.qrn is not the zone type's glob"
grep -q 'text/x-quarn-zone text/plain' "$work/mime/subclasses" || fail "a zone is not a text/plain"
if command -v gio >/dev/null; then
  type=$(XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$work/nohome" \
    gio info -a standard::content-type "${zones[0]}" 2>/dev/null | sed -n 's/.*content-type: //p')
  [ "$type" = text/x-quarn-zone ] || fail "gio sees a zone as '$type'"
fi

# The installed programs, started from elsewhere, find their data in ../share/quarn.
cd /
version=$("$prefix/bin/quarn" --version) || fail "quarn --version failed"
[[ "$version" == Quarn\ * ]] || fail "quarn --version printed '$version'"
"$prefix/bin/quarn-zone" check "${zones[@]}" >"$work/check.txt" 2>&1 ||
  { cat "$work/check.txt"; fail "quarn-zone check refused an installed zone"; }
mv "$prefix" "$work/moved"
prefix=$work/moved
"$prefix/bin/quarn-zone" render "$prefix/share/quarn/zones/$(basename "${zones[0]}")" \
  "$work/board.bmp" >"$work/render.txt" 2>&1 ||
  { cat "$work/render.txt"; fail "the moved quarn-zone did not find its pictures"; }
[ -s "$work/board.bmp" ] || fail "quarn-zone render wrote no picture"

# The moved game on a virtual display shows its window with the first installed zone.
for tool in Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "installed layout fine; no $tool to start the game"; exit 0; }
done
. "$(dirname "$0")/../ui/Display.sh"
StartDisplay "$work" 1024x768x24 || fail "no private X display could be started"
HOME=$work/home "$prefix/bin/quarn" --no-sound >"$work/quarn.txt" 2>&1 &
app=$!
win=$(QuarnWindow)
[ -n "$win" ] || { cat "$work/quarn.txt"; fail "the installed quarn showed no window"; }
sleep 1
kill -0 "$app" 2>/dev/null || { cat "$work/quarn.txt"; fail "the installed quarn ended by itself"; }
command -v import >/dev/null && import -window root "$work/installed.png" 2>/dev/null
echo "installed layout, validators and programs fine"
