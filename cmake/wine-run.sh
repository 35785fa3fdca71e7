#!/bin/sh
# Runs one Windows executable under wine64 for ctest.  Wine's background
# processes would inherit ctest's pipes and make it wait for their linger
# time, so the output goes through a file instead.
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-prefix.sh" || exit 1
out=$(mktemp) || exit 1
/usr/lib/wine/wine64 "$@" >"$out" 2>&1 </dev/null
rc=$?
tr -d '\r' <"$out"
rm -f "$out"
exit $rc
