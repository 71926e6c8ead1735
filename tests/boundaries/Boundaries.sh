#!/usr/bin/env bash
# Boundaries.sh — the layers include only what they may: the rules know no SDL, OpenAL or screen,
# and the window services know no game. Prints each offending include and fails.
#   Boundaries.sh SOURCE_DIR
set -u
src=${1:?usage: Boundaries.sh SOURCE_DIR}/src
status=0
forbid() {  # forbid FOLDER REGEX WHY
  local hits
  hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($2)" "$src/$1" || true)
  if [ -n "$hits" ]; then
    echo "FAIL: src/$1 $3:"
    echo "$hits"
    status=1
  fi
}
forbid game 'SDL|AL/|al\.h|alc\.h|platform/|render/|sound/|ui/' "must stay plain C++ (no SDL, OpenAL or other layer)"
forbid platform 'game/|render/|sound/|ui/' "must not know the game or the screens"
forbid system 'SDL|AL/|al\.h|alc\.h|platform/|render/|sound/|ui/' "must stay plain C++ (no SDL, OpenAL or screen)"
forbid edit 'SDL|AL/|al\.h|alc\.h|platform/|render/|sound/|ui/' "must stay plain C++ (the editor's model has no window)"
[ $status -eq 0 ] && echo "layer boundaries hold"
exit $status
