#!/usr/bin/env bash
# Boundaries.sh — which folder may include which. Every folder of src/, web/ and tools/quarn-zone
# has an entry below naming what of Quarn's it may include besides its own headers; any other
# include of ours fails, as does a folder with no entry, a path that climbs out with "..", SDL or
# OpenAL in the folders that hold the general helpers, the rules, the zone files, the runs, the
# files and the editor's model, and emscripten's headers or a block for the browser build alone
# (#ifdef __EMSCRIPTEN__) anywhere but in web/ and src/platform: the browser build is a backend
# of its own, not conditional code in the folders of the game.
# Prints each offending include and fails.
#   Boundaries.sh SOURCE_DIR
set -u
root=${1:?usage: Boundaries.sh SOURCE_DIR}

# FOLDER -> what it may include: a folder of src/ (all its headers) or one header ("game/Ports.h").
declare -A allowed=(
  [src/base]=""                       # the general helpers under all: text, Result
  [src/zone]="base"                   # the tile codes and the zone file
  [src/game]="base zone"              # the rules
  [src/run]="base game zone"          # recorded runs
  [src/system]="base zone"            # files and folders; zones only for their content keys
  [src/edit]="base zone game system"  # the editor's model
  [src/render]="base game zone"       # draws what the rules' painter port asks
  [src/sound]="base game/Ports.h"     # plays what the rules' sound port asks
  [src/platform]=""                   # windows, controls and keys over SDL
  [src/ui]="base zone game run system edit render sound platform"
  [tools/quarn-zone]="base game zone run system render"
  [web]="base zone run system render platform ui"  # the browser build's side of the interfaces
)
# No SDL, no OpenAL here.
plain="src/base src/zone src/game src/run src/system src/edit"
media='SDL|AL/|al\.h|alc\.h|alext\.h|efx\.h'
# Only these may include emscripten's headers.
browser="web src/platform"

status=0
fail() {
  echo "FAIL: $1"
  status=1
}

# Our folders: every folder of src/.
ours=()
for dir in "$root"/src/*/; do
  name=$(basename "$dir")
  ours+=("$name")
  [ -n "${allowed[src/$name]+set}" ] || fail "src/$name has no entry in the allow-list"
done

is_ours() {
  local top=$1 name
  for name in "${ours[@]}"; do [ "$top" = "$name" ] && return 0; done
  return 1
}

may_include() {  # may_include FOLDER PATH
  local folder=$1 path=$2 entry
  [ "${folder#src/}" = "${path%%/*}" ] && return 0  # its own headers, by their full path
  for entry in ${allowed[$folder]}; do
    [ "$entry" = "${path%%/*}" ] && return 0
    [ "$entry" = "$path" ] && return 0
  done
  return 1
}

for folder in "${!allowed[@]}"; do
  [ -d "$root/$folder" ] || {
    fail "$folder is in the allow-list but does not exist"
    continue
  }
  while IFS= read -r hit; do
    # FILE:LINE:TEXT, taken apart without a program per line: the checks run on a busy machine.
    file=${hit%%:*}
    rest=${hit#*:}
    [[ ${rest#*:} =~ include[[:space:]]*([<\"])([^>\"]*) ]] || continue
    quote=${BASH_REMATCH[1]}
    path=${BASH_REMATCH[2]}
    where="${file#"$root"/}:${rest%%:*}: #include $path"
    if [[ $path == *..* ]]; then
      fail "$where (a path out of the folder; name the folder from src/)"
      continue
    fi
    if [[ " $browser " != *" $folder "* && $path =~ ^emscripten(\.h|/) ]]; then
      fail "$where (the browser's own headers belong in web/ or src/platform)"
      continue
    fi
    if [[ " $plain " == *" $folder "* && $path =~ ^($media) ]]; then
      fail "$where ($folder must stay plain C++: no SDL or OpenAL)"
      continue
    fi
    if [[ $path == */* ]]; then
      top=${path%%/*}
      if is_ours "$top" && ! may_include "$folder" "$path"; then
        may=${allowed[$folder]:-nothing of ours}
        fail "$where ($folder may include only: $may)"
      fi
    elif [[ $quote == '"' && ! -e ${file%/*}/$path ]]; then
      # A quoted name without a folder is a header beside the file, and nothing else.
      fail "$where (no such header beside it)"
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' \
             --include='*.h' --include='*.cpp' "$root/$folder")
done

# Nor code for the browser build alone: that is web/'s (or src/platform's, behind its window
# system), never a conditional block in the game's folders.
while IFS= read -r hit; do
  fail "${hit#"$root"/} (code for the browser alone belongs in web/, behind an interface)"
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif)\b.*__EMSCRIPTEN__' \
           --include='*.h' --include='*.cpp' "$root"/src "$root"/tools | grep -v "^$root/src/platform/")

[ $status -eq 0 ] && echo "layer boundaries hold"
exit $status
