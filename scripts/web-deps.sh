#!/usr/bin/env bash
# Builds the libraries of Quarn's browser build with emscripten, from Debian's source packages:
# SDL2 (its Emscripten video and audio backend), FreeType and SDL2_ttf, installed into
# build/web-deps/prefix, and the real-browser test's driver (puppeteer-core, no browser of its own)
# into build/web-deps/node. Nothing is built twice: a finished step leaves a stamp, so CI can keep
# build/web-deps/ between runs. QUARN_WEB_DEPS names another folder for it.
#   scripts/web-deps.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=${QUARN_WEB_DEPS:-$root/build/web-deps}
prefix=$deps/prefix
src=$deps/src
export NODE_PATH=/usr/share/nodejs
jobs=${QUARN_WEB_JOBS:-$(nproc)}
mkdir -p "$prefix" "$src"

# `apt-get source` needs a source entry for the same archive as the binary one: added once (a
# file of its own in /etc/apt/sources.list.d/), with an `apt-get update` after it.
if ! grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "web-deps: adding Debian's source packages to apt's sources (quarn-deb-src) and updating apt's lists"
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo[@]}" tee /etc/apt/sources.list.d/quarn-deb-src.sources >/dev/null
  else
    grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' |
      "${sudo[@]}" tee /etc/apt/sources.list.d/quarn-deb-src.list >/dev/null
  fi
  "${sudo[@]}" apt-get update -q
fi

# Fetches one source package's upstream tarball and unpacks it; prints the unpacked folder.
unpack() {
  local package=$1 tarball_glob=$2
  (cd "$src" && ls $tarball_glob >/dev/null 2>&1 || apt-get source -q --download-only "$package" >&2)
  local tarball
  tarball=$(cd "$src" && ls $tarball_glob | head -n1)
  local top
  top=$(tar -tf "$src/$tarball" | head -n1 | cut -d/ -f1)
  [[ -d $src/$top ]] || tar -xf "$src/$tarball" -C "$src"
  echo "$src/$top"
}

if [[ ! -f $deps/sdl2.done || ! -f $deps/freetype.done || ! -f $deps/sdl2-ttf.done ]]; then
  echo "web-deps: building SDL2, FreeType and SDL2_ttf for the browser into $deps ($jobs jobs; once)"
fi
if [[ ! -f $deps/sdl2.done ]]; then
  dir=$(unpack libsdl2 'libsdl2_*.orig.tar.*')
  emcmake cmake -S "$dir" -B "$deps/build-sdl2" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
  cmake --build "$deps/build-sdl2" -j "$jobs"
  cmake --install "$deps/build-sdl2"
  touch "$deps/sdl2.done"
fi
if [[ ! -f $deps/freetype.done ]]; then
  dir=$(unpack freetype 'freetype_*.orig.tar.*')
  emcmake cmake -S "$dir" -B "$deps/build-freetype" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  cmake --build "$deps/build-freetype" -j "$jobs"
  cmake --install "$deps/build-freetype"
  touch "$deps/freetype.done"
fi
if [[ ! -f $deps/sdl2-ttf.done ]]; then
  dir=$(unpack libsdl2-ttf 'libsdl2-ttf_*.orig.tar.*')
  emcmake cmake -S "$dir" -B "$deps/build-sdl2-ttf" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_SAMPLES=OFF \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix"
  cmake --build "$deps/build-sdl2-ttf" -j "$jobs"
  cmake --install "$deps/build-sdl2-ttf"
  touch "$deps/sdl2-ttf.done"
fi
# The real-browser test drives Debian's Chromium; puppeteer-core never downloads a browser.
if [[ ! -f $deps/node.done ]]; then
  mkdir -p "$deps/node"
  (cd "$deps/node" && npm install --no-audit --no-fund --silent puppeteer-core@21 >&2)
  touch "$deps/node.done"
fi
echo "web-deps: ready in $deps"
