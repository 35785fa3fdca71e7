#!/bin/bash
# Whole-process throughput of `kelvane-reformat --requote` against `par 72`
# on the same generated quoted text, and how kelvane-reformat's time grows
# from 1 MB to 10 MB.  Goals: at least 4 times par's throughput on 10 MB, and
# 10 times the input for at most 11 times the time.
# usage: bench/engine/compare-par.sh [build dir, default build/bench]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/bench}
command -v par >/dev/null || { echo "par is missing (tools/ensure-deps.sh installs it)"; exit 1; }
if [ "$build" = build/bench ]; then
  cmake --preset bench >/dev/null
  cmake --build --preset bench --target kelvane-reformat make_quoted_text >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/engine/make_quoted_text" 1048576 >"$work/1mb.txt"
"$build/bench/engine/make_quoted_text" 10485760 >"$work/10mb.txt"

# Best wall-clock time of five runs, in seconds.
best() {
  local best_t="" t
  for _ in 1 2 3 4 5; do
    t=$( { /usr/bin/env TIMEFORMAT=%R bash -c 'time "$@" >/dev/null' _ "$@" ; } 2>&1 )
    if [ -z "$best_t" ] || awk -v a="$t" -v b="$best_t" 'BEGIN { exit !(a < b) }'; then best_t=$t; fi
  done
  echo "$best_t"
}

k1=$(best "$build/tools/kelvane-reformat" --requote "$work/1mb.txt")
k10=$(best "$build/tools/kelvane-reformat" --requote "$work/10mb.txt")
p10=$(best sh -c 'par 72 <"$1"' _ "$work/10mb.txt")
awk -v k1="$k1" -v k10="$k10" -v p10="$p10" 'BEGIN {
  mb = 10
  printf "kelvane-reformat --requote  1 MB: %6.3f s\n", k1
  printf "kelvane-reformat --requote 10 MB: %6.3f s  (%.1f MB/s)\n", k10, mb / k10
  printf "par 72                     10 MB: %6.3f s  (%.1f MB/s)\n", p10, mb / p10
  printf "throughput vs par: %.1fx (goal >= 4x)\n", p10 / k10
  printf "10x input costs:   %.1fx time (goal <= 11x)\n", k10 / k1
  ok = (p10 / k10 >= 4) && (k10 / k1 <= 11)
  print (ok ? "goals met" : "goals NOT met")
  exit !ok
}'
