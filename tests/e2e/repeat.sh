#!/bin/bash
# Runs end-to-end cases again and again to show they are stable (by hand, not
# in CI): repeat.sh [-n COUNT] [CASE...]; no CASE means the self-check and
# every watch case.  Any other CASE is a test as ctest names it
# (e2e_app_options, e2e_kelvane_reply_clipboard, installer_e2e, ...) and runs
# through ctest's win64 preset, which gives it the programs of the build, once
# per run.  Prints "CASE: PASSED/COUNT" per case; the logs of failed runs stay
# in $TMPDIR.
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
count=20
if [ "${1:-}" = -n ]; then count=$2; shift 2; fi
cases=("$@")
watch_cases=" $(sed -n 's/^case_\([a-z_]*\)() {$/\1/p' "$here/watch-cases.sh" | tr '\n' ' ')"
if [ ${#cases[@]} = 0 ]; then
  cases=(standin_selfcheck $watch_cases)
fi
status=0
for c in "${cases[@]}"; do
  passed=0
  for ((i = 1; i <= count; i++)); do
    log=$(mktemp "${TMPDIR:-/tmp}/kelvane-e2e-$c.XXXXXX.log")
    if [ "$c" = standin_selfcheck ]; then
      bash "$here/standin-selfcheck.sh" >"$log" 2>&1
    elif [[ $watch_cases == *" $c "* ]]; then
      bash "$here/watch-cases.sh" "$c" >"$log" 2>&1
    else
      (cd "$root" && ctest --preset win64 -R "^$c\$" --output-on-failure --no-tests=error) >"$log" 2>&1
    fi
    if [ $? = 0 ]; then passed=$((passed + 1)); rm -f "$log"; else echo "$c run $i failed: $log"; fi
  done
  echo "$c: $passed/$count"
  [ $passed = $count ] || status=1
done
exit $status
