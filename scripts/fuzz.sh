#!/usr/bin/env bash
# Runs each fuzz target for SECONDS (default 60) with a seed corpus made from our zones, test zones
# and key scripts and the format's dictionary. Inputs that grow the coverage are kept in
# BUILD/corpus between runs; a crash leaves its input in BUILD/crashes and fails the run.
#   scripts/fuzz.sh BUILD [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: scripts/fuzz.sh BUILD [SECONDS]}
seconds=${2:-60}
root=$(pwd)

seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{zone_parser,key_script,play} "$build/crashes"
zones=(zones/*.qrn tests/rules/golden/*.qrn tests/ui/data/*.qrn)
for z in "${zones[@]}"; do cp "$z" "$seeds/zone_parser/$(basename "$z")"; done
for k in tests/rules/golden/*.keys tests/run/solutions/*.keys; do
  cp "$k" "$seeds/key_script/$(basename "$(dirname "$k")")-$(basename "$k")"
done
# A zone and its keys, split by a line "%%": the golden replays and the shipped zones' solutions.
for k in tests/rules/golden/*.keys; do
  z=${k%.keys}.qrn
  [ -f "$z" ] && { cat "$z"; printf '\n%%%%\n'; cat "$k"; } >"$seeds/play/$(basename "$z")"
done
for k in tests/run/solutions/*.keys; do
  z=zones/$(basename "${k%.keys}").qrn
  [ -f "$z" ] && { cat "$z"; printf '\n%%%%\n'; cat "$k"; } >"$seeds/play/solution-$(basename "$z")"
done

status=0
for target in zone_parser key_script play; do
  corpus=$build/corpus/$target
  mkdir -p "$corpus"
  log=$build/fuzz-$target.log
  echo "fuzz: $target for $seconds s"
  # Zones are small text files; a play runs at most 2000 ticks.
  max_len=8192
  [ "$target" = play ] && max_len=16384
  if ! (cd "$build/crashes" && "$root/$build/fuzz/fuzz_$target" "$root/$corpus" "$root/$seeds/$target" \
        -dict="$root/fuzz/quarn.dict" -max_total_time="$seconds" -max_len="$max_len" \
        -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 \
        -artifact_prefix="$root/$build/crashes/$target-" >"$root/$log" 2>&1); then
    echo "fuzz: $target FAILED; see $log and $build/crashes"
    tail -n 40 "$log"
    status=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n1)
  echo "fuzz: $target: ${execs:-?} runs, ${cov:-cov: ?}, corpus $(ls "$corpus" | wc -l) inputs"
done
exit $status
