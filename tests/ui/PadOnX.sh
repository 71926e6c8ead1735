#!/usr/bin/env bash
# PadOnX.sh — the pad's tests on a real X display (their windows, key focus and event wait as a
# player's desktop has them), besides the dummy display the unit tests use.
#   PadOnX.sh UI_TESTS WORK_DIR
set -u
tests=$1 work=$2
for tool in Xvfb xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$work"
. "$(dirname "$0")/Display.sh"
StartDisplay "$work" 1280x1024x24 || { echo "FAIL: no private X display could be started"; exit 1; }
"$tests" --gtest_filter='PadPlay.*:PadWake.*'
