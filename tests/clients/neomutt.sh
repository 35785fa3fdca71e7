#!/bin/bash
# usage: neomutt.sh KELVANE_REFORMAT
# Real NeoMutt, driven in tmux, replies to a message of a local mbox.  Its
# editor hook rewrites the draft in place with the filter, and the reply is
# "sent" through a sendmail stand-in that keeps it in a file.  The sent body
# must be the rewritten one: once as plain text, once as format=flowed.
set -euo pipefail
filter=$1
work=$(mktemp -d)
socket=kelvane-test-$$
export HOME=$work/home TMUX_TMPDIR=$work LC_ALL=C.UTF-8 TERM=xterm
unset TMUX
cleanup() {
  tmux -L "$socket" kill-server 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$HOME"
fail() {
  echo "FAIL ($config): $*"
  tmux -L "$socket" capture-pane -p -t reply 2>/dev/null | sed 's/^/  screen: /' || true
  exit 1
}

"$filter" --help | grep -q -- '--mail' || { echo "SKIP: the filter has no --mail"; exit 77; }

# Polls a condition for up to $1 seconds.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
screen_shows() { tmux -L "$socket" capture-pane -p -t reply 2>/dev/null | grep -qF -- "$1"; }
session_gone() { ! tmux -L "$socket" has-session -t reply 2>/dev/null; }

paragraph="Hello Bob, this is a rather long line that the client did not wrap at all because it was typed \
that way, with Grüße aus München, and it goes on for quite a while longer than any margin."

# reply CONFIG FLOWED(yes|no) FILTER_OPTIONS: one reply, sent to $dir/sent.eml.
reply() {
  config=$1
  local flowed=$2 options=$3
  dir=$work/$config
  mkdir -p "$dir/mail" "$dir/tmp"
  {
    printf '%s\n' "From ann@example.com Mon Mar  3 10:00:00 2003" "From: Ann Lee <ann@example.com>" \
      "To: Bob <bob@example.org>" "Subject: Plans for the weekend" "Date: Mon, 3 Mar 2003 10:00:00 +0000" \
      "Message-ID: <plans-1@example.com>" "MIME-Version: 1.0" "Content-Transfer-Encoding: 8bit"
    if [ "$flowed" = yes ]; then
      # The paragraph as a flowed sender writes it: soft breaks after blanks.
      printf '%s\n\n' "Content-Type: text/plain; charset=utf-8; format=flowed"
      printf "%s" "$paragraph" | fold -s -w 66
      printf '\n'
    else
      printf '%s\n\n%s\n' "Content-Type: text/plain; charset=utf-8" "$paragraph"
    fi
    printf '%s\n' "" "-- " "Ann" ""
  } >"$dir/mail/inbox"
  printf 'Bob\n' >"$dir/signature"
  printf '#!/bin/sh\ncat >"%s/sent.tmp" && mv "%s/sent.tmp" "%s/sent.eml"\n' "$dir" "$dir" "$dir" >"$dir/sendmail"
  chmod +x "$dir/sendmail"
  cat >"$dir/muttrc" <<RC
set folder="$dir/mail"
set spoolfile="$dir/mail/inbox"
set mbox_type=mbox
set tmpdir="$dir/tmp"
set header_cache=""
set from="Bob <bob@example.org>"
set use_from=yes
set signature="$dir/signature"
set sendmail="$dir/sendmail"
set edit_headers=yes
set editor="cp %s '$dir/draft.eml'; '$filter' $options -i %s"
set text_flowed=$flowed
set charset="utf-8"
set send_charset="utf-8"
set fast_reply=yes
set include=yes
set abort_unmodified=no
set recall=no
set postponed="$dir/mail/postponed"
set copy=no
set record=""
set quit=yes
set move=no
set wait_key=no
RC
  tmux -L "$socket" -f /dev/null new-session -d -s reply -x 132 -y 40 "neomutt -n -R -F '$dir/muttrc'"
  wait_for 20 screen_shows "Plans for the weekend" || fail "the index did not show the message"
  tmux -L "$socket" send-keys -t reply r
  wait_for 20 screen_shows "y:Send" || fail "no compose menu after the editor"
  tmux -L "$socket" send-keys -t reply y
  wait_for 20 test -f "$dir/sent.eml" || fail "nothing was sent"
  tmux -L "$socket" send-keys -t reply q
  wait_for 20 session_gone || fail "neomutt did not quit"
  [ -f "$dir/draft.eml" ] || fail "the editor hook did not run"
}

# check OPTIONS: the sent body is what the filter makes of NeoMutt's draft,
# with the attribution, the quote and both signatures where they belong.
check() {
  "$filter" $1 <"$dir/draft.eml" >"$dir/expected.eml" || fail "the filter failed on the draft"
  python3 - "$dir" "$config" "$paragraph" <<'PY' || fail "see above"
import sys
folder, config, paragraph = sys.argv[1], sys.argv[2], sys.argv[3]
def parts(name):
    text = open(f"{folder}/{name}", encoding="utf-8").read()
    head, _, body = text.partition("\n\n")
    return head, body.rstrip("\n").split("\n")
head, sent = parts("sent.eml")
_, expected = parts("expected.eml")
_, draft = parts("draft.eml")
def check(ok, what):
    if not ok:
        print(f"FAIL ({config}): {what}")
        print("  sent body:", *sent, sep="\n  | ")
        sys.exit(1)
check(sent == expected, "the sent body is not the filter's output for the draft")
check(sent != draft, "the sent body is NeoMutt's draft, not rewritten")
check(sent[0] == "Ann Lee wrote:", "attribution line " + repr(sent[0]))
check(sent[-2:] == ["-- ", "Bob"], "the own signature does not end the body")
check(not any(line.lstrip("> ") == "Ann" for line in sent), "the quoted signature is still there")
quoted = [line for line in sent if line.startswith(">")]
flowed = "format=flowed" in head
check(flowed == (config == "flowed"), "Content-Type: " + head)
if flowed:
    check(all(len(line) <= 78 for line in sent), "a flowed line is longer than 78")
    # Decoded as flowed, the quote gives back the paragraph.
    joined = "".join(line[1:].removeprefix(" ") for line in quoted)
    check(all(line.endswith(" ") for line in quoted[:-1]), "a quoted line ends in a hard break")
else:
    check(all(len(line) <= 72 for line in sent), "a line is longer than 72 characters")
    joined = " ".join(line[2:] for line in quoted)
check(joined.strip() == paragraph, "the quoted paragraph changed: " + joined)
PY
}

reply plain no "--mail"
check "--mail"
reply flowed yes "--mail --flowed"
check "--mail --flowed"
echo "neomutt: the sent reply is the rewritten draft, plain and format=flowed"
