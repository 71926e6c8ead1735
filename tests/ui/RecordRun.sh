#!/usr/bin/env bash
# RecordRun.sh — a zone won in a real window by held arrow keys is recorded with its ticks, its
# saved run wins headless in exactly those ticks, Backspace after the win goes back and a second
# win is recorded as one with going back, and --watch plays the saved run to the same end.
#   RecordRun.sh QUARN QUARN_ZONE ZONE OUT_DIR
set -u
quarn=$1 tool=$2 zone=$3 out=$4
for t in Xvfb xdotool xdpyinfo; do
  command -v "$t" >/dev/null || { echo "SKIP: $t is not installed"; exit 77; }
done
rm -rf "$out"
mkdir -p "$out"
export HOME="$out/home" XDG_STATE_HOME="$out/state" XDG_DATA_HOME="$out/data"

. "$(dirname "$0")/Display.sh"
StartDisplay "$out" || { echo "FAIL: no X display could be started"; cat "$out/xvfb.log"; exit 1; }

fail() {
  echo "FAIL: $*"
  echo "--- trace"; tail -n5 "$out/trace.txt"; echo "--- stderr"; cat "$out/stderr.txt"
  exit 1
}
focus() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; sleep 0.2; }
last() { grep '^player' "$out/trace.txt" | tail -n1 | cut -d' ' -f2-; }
# Holds Right until the win question shows, then answers it No.
win() {
  focus "$game"
  xdotool keydown Right
  q=$(OtherQuarnWindow "$game")
  [ -n "$q" ] || { xdotool keyup Right; fail "no win question appeared ($1)"; }
  xdotool keyup Right
  focus "$q"
  xdotool key n
  sleep 0.5
}
# The record's field ($1: 1 without going back, 2 with it) of the one zone won.
recorded() { "$quarn" --records | sed -n 2p | cut -f"$1"; }
# A saved run plays headless to its win on its very last tick.
wins_headless() {
  local report
  report=$("$tool" play "$zone" --keys "$1") || fail "quarn-zone play failed on $1"
  case "$report" in
    *'"tick": '"$2"', "wins": 1,'*) ;;
    *) fail "the run $1 did not win in $2 ticks headless: $report" ;;
  esac
  report=$("$tool" play "$zone" --keys "$1" --ticks $(($2 - 1)))
  case "$report" in
    *'"wins": 0,'*) ;;
    *) fail "the run $1 won before its last tick: $report" ;;
  esac
}

"$quarn" --zone "$zone" --no-sound --trace-player >"$out/trace.txt" 2>"$out/stderr.txt" &
app=$!
game=$(QuarnWindow)
[ -n "$game" ] || fail "no game window appeared"
sleep 0.5
begin=$(last)

# 1. Won by holding Right: the record has the ticks, the run wins headless in them.
win "first"
ticks=$(recorded 1)
[[ "$ticks" =~ ^[0-9]+$ ]] || fail "no time recorded after the win: '$("$quarn" --records)'"
[ "$(recorded 2)" = "-" ] || fail "a run without Backspace was recorded as going back"
run=$(ls "$XDG_DATA_HOME"/quarn/runs/*.keys 2>/dev/null | grep -v zpet | head -n1)
[ -n "$run" ] || fail "no run was saved"
grep -q "^# zóna: Rychlá výhra" "$run" || fail "the saved run does not name its zone"
wins_headless "$run" "$ticks"

# 2. Backspace after the declined replay goes back; winning again counts as going back.
won=$(last)
focus "$game"
xdotool key BackSpace
sleep 0.5
[ "$(last)" != "$won" ] || fail "Backspace after the win left the player at $won"
win "after going back"
rewound=$(recorded 2)
[[ "$rewound" =~ ^[0-9]+$ ]] || fail "the win after Backspace was not recorded as going back"
[ "$(recorded 1)" = "$ticks" ] || fail "the best time without going back changed"
run2=$(ls "$XDG_DATA_HOME"/quarn/runs/*.zpet.keys 2>/dev/null | head -n1)
[ -n "$run2" ] || fail "the run with going back was not saved"
wins_headless "$run2" "$rewound"

focus "$game"
xdotool key Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "Esc did not end the game"
wait "$app"

# 3. Watching the saved run brings the player where the win left him, and records nothing.
before=$(cat "$XDG_STATE_HOME/quarn/records.txt")
"$quarn" --zone "$zone" --no-sound --watch "$run" --trace-player >"$out/trace.txt" 2>>"$out/stderr.txt" &
app=$!
game=$(QuarnWindow)
[ -n "$game" ] || fail "no window for watching appeared"
for _ in $(seq 100); do [ "$(last)" = "$won" ] && break; sleep 0.1; done
[ "$(last)" = "$won" ] || fail "the watched run ended at $(last), not at $won"
focus "$game"
xdotool key Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
wait "$app"
app=
[ "$(cat "$XDG_STATE_HOME/quarn/records.txt")" = "$before" ] || fail "watching changed the records"
echo "recorded $ticks ticks, $rewound with going back; both runs win headless; watching plays"
