#!/usr/bin/env bash
# Builds the Debian package into build/deb/ from a copy of the source tree, so that the tree
# itself stays as it is (debhelper writes into debian/ while it works).
#   scripts/build-deb.sh        (`make deb` runs it after installing what it needs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/deb
rm -rf "$out"
mkdir -p "$out/src"
# The tree as it is now, edits included, without builds and the repository's history.
tar -C "$root" --exclude=./build --exclude=./.git --exclude=./.cache -cf - . | tar -C "$out/src" -xf -
cd "$out/src"
DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-parallel=2}" dpkg-buildpackage -us -uc -b
ls -l "$out"/*.deb
