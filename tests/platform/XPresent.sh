#!/usr/bin/env bash
# XPresent.sh TESTS WORK_DIR — runs the X presenting tests on a private virtual display.
set -u
tests=$1 work=$2
for tool in Xvfb xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$work"
. "$(dirname "$0")/../ui/Display.sh"
StartDisplay "$work" || { echo "FAIL: no private X display could be started"; exit 1; }
"$tests"
