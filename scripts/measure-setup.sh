#!/usr/bin/env bash
# Tells what a set-up command would install on a minimal Debian 12 (its required packages and
# apt, nothing else), without installing anything: apt simulates the install against an empty
# package database, and the sizes are the packages' Installed-Size.
#   scripts/measure-setup.sh COMMAND [--recommends]        the packages setup.sh installs for it
#   scripts/measure-setup.sh --packages P... [--recommends]  any list of packages
# Prints the named packages and their size, then everything apt would bring, and its size.
set -euo pipefail
cd "$(dirname "$0")/.."
recommends=(--no-install-recommends)
named=()
if [[ ${1:-} == --packages ]]; then
  shift
  for a in "$@"; do [[ $a == --recommends ]] && recommends=() || named+=("$a"); done
else
  [[ $# -ge 1 ]] || { echo "usage: scripts/measure-setup.sh COMMAND [--recommends]" >&2; exit 2; }
  [[ ${2:-} == --recommends ]] && recommends=()
  read -r -a named <<<"$(scripts/setup.sh --list "$1" | tr '\n' ' ')"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: >"$work/status"
simulate() {
  apt-get -s -o Dir::State::status="$work/status" install "$@" 2>"$work/apt.err" |
    awk '/^Inst /{print $2}' | sort -u
}
megabytes() {  # the packages on stdin, their Installed-Size added up
  xargs -r apt-cache show --no-all-versions | awk '/^Installed-Size:/{s+=$2} END{printf "%.0f", s/1024}'
}
# A minimal Debian 12: its required and essential packages, and apt.
read -r -a base <<<"$(dpkg-query -W -f='${Package} ${Priority} ${Essential}\n' |
  awk '$2=="required" || $3=="yes" {printf "%s ", $1}') apt"
simulate "${base[@]}" >"$work/base"
simulate "${recommends[@]}" "${base[@]}" "${named[@]}" >"$work/all"
[[ -s "$work/all" ]] || { cat "$work/apt.err" >&2; exit 1; }
comm -13 "$work/base" "$work/all" >"$work/new"
echo "named: ${#named[@]} packages, $(printf '%s\n' "${named[@]}" | megabytes) MB"
echo "installed on a minimal Debian 12${recommends:+ (without recommends)}: $(wc -l <"$work/new") packages, $(megabytes <"$work/new") MB"
