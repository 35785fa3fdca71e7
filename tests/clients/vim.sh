#!/bin/bash
# usage: vim.sh KELVANE_REFORMAT
# Real Vim formats through formatprg: gq over a quoted paragraph of a reply
# re-wraps just that paragraph, and gq over a whole draft rewrites it as the
# filter's --mail mode does.
set -euo pipefail
filter=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work LC_ALL=C.UTF-8
fail() { echo "FAIL: $*"; exit 1; }
# No vimrc, no viminfo, no swap file: the runs depend on nothing outside.
run_vim() { vim -es -u NONE -i NONE -N -n "$@" </dev/null; }

long="this quoted line was never wrapped by the client that sent it and runs on well past the margin"
printf '%s\n' "Hi Ann," "" "> $long" "> and it ends here." "" "Bob" >"$work/reply.txt"
run_vim -c "set formatprg=$filter\\ --requote" -c '3' -c 'normal! gqip' -c 'wq' "$work/reply.txt"
{
  printf '%s\n' "Hi Ann," ""
  printf '> %s\n> %s' "$long" "and it ends here." | "$filter" --requote
  printf '\n\nBob\n'
} >"$work/expected.txt"
cmp -s "$work/reply.txt" "$work/expected.txt" || {
  diff "$work/expected.txt" "$work/reply.txt" || true
  fail "gqip through --requote"
}
! grep -qF "$long" "$work/reply.txt" || fail "the quoted paragraph was not re-wrapped"

"$filter" --help | grep -q -- '--mail' || { echo "SKIP: the filter has no --mail"; exit 77; }
cat >"$work/draft.eml" <<'MAIL'
From: Bob <bob@example.org>
To: Ann Lee <ann@example.com>
Subject: Re: Plans for the weekend

On Mon, Mar 03, 2003 at 10:00:00AM +0000, Ann Lee wrote:
> Hello Bob, this is a rather long line that the client did not wrap at all because it was typed that way.
>
> -- 
> Ann

-- 
Bob
MAIL
cp "$work/draft.eml" "$work/original.eml"
run_vim -c "set formatprg=$filter\\ --mail" -c 'normal! gggqG' -c 'wq' "$work/draft.eml"
{ "$filter" --mail <"$work/original.eml"; echo; } >"$work/expected.eml"
cmp -s "$work/draft.eml" "$work/expected.eml" || {
  diff "$work/expected.eml" "$work/draft.eml" || true
  fail "gggqG through --mail"
}
head -4 "$work/draft.eml" | cmp -s - <(head -4 "$work/original.eml") || fail "the header block changed"
grep -qx 'Ann Lee wrote:' "$work/draft.eml" || fail "the attribution line was not rewritten"
echo "vim: formatprg re-wraps a quoted paragraph and rewrites a whole draft"
