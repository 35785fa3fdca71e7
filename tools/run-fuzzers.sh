#!/bin/bash
# Runs every libFuzzer target of a build for a bounded time each, seeded from
# fuzz/<subsystem>/corpus/<target name>/ when there is one.  Fails on the first
# crash, leak or sanitizer report.
set -euo pipefail
build=${1:-build/fuzz}
seconds=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
found=0
while IFS= read -r exe; do
  found=$((found + 1))
  name=$(basename "$exe")
  work=$(mktemp -d); mkdir "$work/corpus"
  seeds=()
  for d in "$root"/fuzz/*/corpus/"$name"; do [ -d "$d" ] && seeds+=("$d"); done
  echo "-- $name (${seconds}s)"
  (cd "$work" && "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=0 "$work/corpus" "${seeds[@]}" >"$work/log" 2>&1) || {
    tail -n 60 "$work/log"; echo "FAILED: $name"; exit 1; }
  grep -E '^(#[0-9]+\s+DONE|Done)' "$work/log" | tail -n 1 || true
  rm -rf "$work"
done < <(find "$root/$build" -type f -perm -u+x -name 'fuzz_*' | sort)
[ "$found" -gt 0 ] || { echo "no fuzz targets found"; exit 1; }
echo "$found passed, 0 failed"
