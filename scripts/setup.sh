#!/usr/bin/env bash
# Installs the Debian packages one command of Quarn's needs, and no more, when any are missing.
#   scripts/setup.sh [COMMAND]        install what COMMAND needs (default: build)
#   scripts/setup.sh --list COMMAND   print those packages, one a line, and install nothing
# COMMAND is one of: build, run, test, soak, bench, fuzz, valgrind, deb, web.
# `web` also builds the browser build's libraries (SDL2, FreeType, SDL2_ttf from Debian's source
# packages, with emscripten) into build/web-deps/ once; scripts/web-deps.sh says how.
set -euo pipefail

# Building the game and its tools (the icon painter needs libpng) and the manual pages, and what
# the game needs at run time: its fonts, and xdg-utils for the Editor button and the links.
build=(
  cmake ninja-build pkg-config g++ make scdoc
  libsdl2-dev libsdl2-ttf-dev libx11-dev libfontconfig-dev libopenal-dev libpng-dev
  fontconfig fonts-liberation fonts-comic-neue xdg-utils
)
# The suite: GoogleTest, the validators of what install puts on the desktop, the manual page
# renderer, and the end-to-end tests on a virtual display (keys, screenshots, measured sounds).
test=(
  googletest libgtest-dev libgmock-dev
  desktop-file-utils appstream shared-mime-info man-db groff-base
  xvfb xdotool x11-utils imagemagick sox
)
# Fuzzing builds only the rules library, with clang; libFuzzer comes with clang's runtime.
fuzz=(cmake ninja-build make clang-14 libclang-rt-14-dev)
# The Debian package: debhelper builds it (running the tests that need no display), lintian judges it.
deb=(debhelper dpkg-dev fakeroot lintian googletest libgtest-dev libgmock-dev)

# The browser build: emscripten (with its clang and binaryen), Debian's JavaScript modules that its
# optimizer needs, the fonts that go into the page's data and Chromium for the real-browser test;
# dpkg-dev gives `apt-get source` what it needs. The test's driver comes with npm, which comes with
# Node.js (Debian's npm package, where Node.js is Debian's too). The desktop game's start screen,
# which the page's is laid against, is shot on a virtual display.
web=(
  cmake ninja-build make g++ pkg-config emscripten node-acorn dpkg-dev
  fonts-liberation fonts-comic-neue chromium python3
  xvfb xdotool x11-utils imagemagick
)

packages_of() {
  case $1 in
    build|run) echo "${build[@]}" ;;
    test|soak) echo "${build[@]}" "${test[@]}" ;;
    bench) echo "${build[@]}" libbenchmark-dev ;;
    fuzz) echo "${fuzz[@]}" ;;
    valgrind) echo "${build[@]}" valgrind xvfb xdotool x11-utils ;;
    deb) echo "${build[@]}" "${deb[@]}" ;;
    web) echo "${build[@]}" "${web[@]}" ;;
    *) echo "setup: unknown command '$1' (build, run, test, soak, bench, fuzz, valgrind, deb, web)" >&2
       return 2 ;;
  esac
}

if [[ ${1:-} == --list ]]; then
  [[ $# -eq 2 ]] || { echo "usage: scripts/setup.sh --list COMMAND" >&2; exit 2; }
  list=$(packages_of "$2")
  tr ' ' '\n' <<<"$list"
  exit 0
fi
list=$(packages_of "${1:-build}")
read -r -a packages <<<"$list"

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
# npm may come with a Node.js of its own, which Debian's npm package would conflict with.
if [[ ${1:-build} == web ]] && ! command -v npm >/dev/null; then missing+=(npm); fi

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "setup: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [[ ${1:-build} == web ]]; then
  exec "$(dirname "$0")/web-deps.sh"
fi
