# Display.sh — sourced by the end-to-end tests: a private Xvfb display of their own.
#
# Several checkouts run these tests and take screenshots on one machine at the same time. Xvfb's
# own choice of a free display (-displayfd) races when servers start together: a test can be told
# a display another server won, or none serves, and the program then finds no X server at all.
# So a display number is drawn at random from a wide range, and the display counts as ours only
# when its lock file names our server; otherwise the next number is tried.
#
# -noreset: by default the server resets itself when its last client leaves, and refuses
# connections meanwhile. The check that the server answers is such a last client; the program
# started right after it then sometimes found no X server, and the game ticked with no window.

# Sourcing this arms the clean-up: on exit the program under test ($app, once the test sets it)
# and the server ($xvfb) are ended and waited for. A test that must end them otherwise sets a
# trap of its own after sourcing.
app= xvfb=
CleanUp() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
}
trap CleanUp EXIT

# StartDisplay OUT_DIR [WxHxDEPTH]: starts the server (1280x1024x24 unless told), sets xvfb to its
# process and exports DISPLAY.
StartDisplay() {
  local out=$1 screen=${2:-1280x1024x24} n lock
  for _ in $(seq 20); do
    n=$((200 + RANDOM % 800))
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "$screen" -nolisten tcp -noreset >"$out/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
      lock=$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")
      if [ "$lock" = "$xvfb" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=":$n"
        # The program must draw there: a video driver named by the caller's environment
        # (SDL_VIDEODRIVER=dummy, as the unit tests use), or a fall-back when X cannot be
        # reached, would tick the game with no window anywhere.
        export SDL_VIDEODRIVER=x11
        unset WAYLAND_DISPLAY
        return 0
      fi
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
  done
  xvfb=
  return 1
}

# QuarnNamed [SEARCH_OPTION] REGEX: the ids of quarn's windows (visible ones unless another
# xdotool search option, or "", is given) whose title matches the extended REGEX. The titles are
# UTF-8 ("Quarn – Rychlík"), which xdotool's name search does not read; xprop does.
QuarnNamed() {
  local option=--onlyvisible w name
  if [ $# -gt 1 ]; then option=$1; shift; fi
  for w in $(xdotool search $option --classname '^quarn$' 2>/dev/null); do
    name=$(xprop -id "$w" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME([^)]*) = "\(.*\)"$/\1/p')
    [ -n "$name" ] ||
      name=$(xprop -id "$w" WM_NAME 2>/dev/null | sed -n 's/^WM_NAME([^)]*) = "\(.*\)"$/\1/p')
    printf '%s\n' "$name" | grep -Eq -- "$1" && echo "$w"
  done
}

# QuarnWindow [SEARCH_OPTION]: prints the id of the first window named Quarn, or Quarn – ZONE as
# the game screen is named (a visible one unless
# another xdotool search option, or "", is given), waiting up to 15 s while the program whose
# process is $app runs; prints nothing when none appeared.
QuarnWindow() {
  local option=${1---onlyvisible} win=
  for _ in $(seq 150); do
    win=$(QuarnNamed "$option" '^Quarn($| – )' | head -n1)
    [ -n "$win" ] && break
    [ -n "${app:-}" ] && ! kill -0 "$app" 2>/dev/null && break
    sleep 0.1
  done
  echo "$win"
}

# OtherQuarnWindow WINDOW: prints the id of a shown window named Quarn other than WINDOW (the game's
# dialog over the game screen), waiting up to 10 s; prints nothing when none appeared.
OtherQuarnWindow() {
  for _ in $(seq 100); do
    for w in $(QuarnNamed --onlyvisible '^Quarn$'); do
      [ "$w" != "$1" ] && { echo "$w"; return 0; }
    done
    sleep 0.1
  done
}
