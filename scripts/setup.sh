#!/usr/bin/env bash
# Installs the Debian packages Quarn needs to build, run and test, when any are missing.
set -euo pipefail

packages=(
  # build
  cmake ninja-build pkg-config g++ make
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # window, pictures, fonts
  libsdl2-dev libsdl2-ttf-dev libx11-dev libfontconfig-dev fontconfig fonts-liberation fonts-comic-neue
  # sound
  libopenal-dev
  # the program's icon, and checking what install puts on the desktop
  libpng-dev desktop-file-utils appstream shared-mime-info
  # end-to-end tests on a virtual display, and measuring our sounds
  xvfb xdotool x11-utils imagemagick sox
  # fuzzing (libFuzzer comes with clang's runtime libraries) and memory checking
  clang-14 libclang-rt-14-dev valgrind
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q "${missing[@]}"
