#!/bin/bash
# Runs end-to-end cases again and again to show they are stable (by hand, not
# in CI): repeat.sh [-n COUNT] [CASE...]; no CASE means the self-check and
# every watch case.  A CASE named as ctest names it (e2e_app_options,
# e2e_kelvane_reply_clipboard, ...) runs through ctest's win64 preset, which
# gives it the programs of the build, once per run.  Prints
# "CASE: PASSED/COUNT" per case; the logs of failed runs stay in $TMPDIR.
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
count=20
if [ "${1:-}" = -n ]; then count=$2; shift 2; fi
cases=("$@")
if [ ${#cases[@]} = 0 ]; then
  cases=(standin_selfcheck $(sed -n 's/^case_\([a-z_]*\)() {$/\1/p' "$here/watch-cases.sh"))
fi
status=0
for c in "${cases[@]}"; do
  passed=0
  for ((i = 1; i <= count; i++)); do
    log=$(mktemp "${TMPDIR:-/tmp}/kelvane-e2e-$c.XXXXXX.log")
    if [[ $c == e2e_* ]]; then
      (cd "$root" && ctest --preset win64 -R "^$c\$" --output-on-failure) >"$log" 2>&1
    elif [ "$c" = standin_selfcheck ]; then
      bash "$here/standin-selfcheck.sh" >"$log" 2>&1
    else
      bash "$here/watch-cases.sh" "$c" >"$log" 2>&1
    fi
    if [ $? = 0 ]; then passed=$((passed + 1)); rm -f "$log"; else echo "$c run $i failed: $log"; fi
  done
  echo "$c: $passed/$count"
  [ $passed = $count ] || status=1
done
exit $status
