#!/bin/sh
# End-to-end check of the kelvane-reformat executable: raw bytes in and out,
# the --report line on standard error, and the exit codes.
# usage: reformat-cli.sh <kelvane-reformat> <sample-reply.txt>
set -u
exe=$1
sample=$2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

printf 'Ann Lee wrote:\n> Hello Bob, this is a rather long line that the client did not wrap at\n> all because it was typed that way.\n\n\n-- \nBob' >"$work/want"

"$exe" --report "$sample" >"$work/out" 2>"$work/err" || fail "sample: exit $?"
cmp -s "$work/out" "$work/want" || fail "sample output differs: $(od -c "$work/out" | head -5)"
[ "$(cat "$work/err")" = "result 0 cursor 0" ] || fail "report: $(cat "$work/err")"

"$exe" --set cursorAtTop=0 --report <"$sample" >"$work/out" 2>"$work/err" || fail "stdin: exit $?"
cmp -s "$work/out" "$work/want" || fail "stdin output differs"
[ "$(cat "$work/err")" = "result 0 cursor 3" ] || fail "report: $(cat "$work/err")"

# A body the engine leaves alone comes back byte for byte, CR LF included.
printf 'no header\r\nhere\r\n' >"$work/plain"
"$exe" "$work/plain" >"$work/out" 2>/dev/null || fail "plain: exit $?"
cmp -s "$work/out" "$work/plain" || fail "unchanged body was altered"

"$exe" "$work/missing.txt" >"$work/out" 2>"$work/err"
[ $? -eq 1 ] || fail "missing file: expected exit 1"
grep -q "missing.txt" "$work/err" || fail "missing file: message lacks the name"
[ -s "$work/out" ] && fail "missing file: output written"

"$exe" --set noSuchField=1 "$sample" >"$work/out" 2>"$work/err"
[ $? -eq 2 ] || fail "bad field: expected exit 2"
grep -q noSuchField "$work/err" || fail "bad field: message lacks the field"

# --charset=auto follows the locale: display columns under UTF-8, bytes
# otherwise, and bytes for text that is not valid UTF-8.
printf '> Sch\303\266ne Gr\303\274\303\237e aus M\303\274nchen, \303\274ber die Br\303\274cke' >"$work/utf8"
first() { LC_ALL=$1 "$exe" --requote --set wrapColumn=40 "$2" | head -n 1; }
[ "$(first C.UTF-8 "$work/utf8")" = "$(printf '> Sch\303\266ne Gr\303\274\303\237e aus M\303\274nchen, \303\274ber die')" ] ||
  fail "utf-8 locale: $(first C.UTF-8 "$work/utf8")"
[ "$(first C "$work/utf8")" = "$(printf '> Sch\303\266ne Gr\303\274\303\237e aus M\303\274nchen, \303\274ber')" ] ||
  fail "C locale: $(first C "$work/utf8")"
printf '> Sch\366ne Gr\374\337e aus M\374nchen, \374ber die Br\374cke' >"$work/latin1"
[ "$(first C.UTF-8 "$work/latin1")" = "$(printf '> Sch\366ne Gr\374\337e aus M\374nchen, \374ber die')" ] ||
  fail "latin-1 text under a utf-8 locale"

"$exe" --help >"$work/out" || fail "--help: exit $?"
grep -q "usage: kelvane-reformat" "$work/out" || fail "--help text"
echo "kelvane-reformat end-to-end checks passed"
