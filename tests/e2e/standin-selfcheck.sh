#!/bin/bash
# Proves the stand-in client from outside, as a watcher reaches it: keys into
# the body editor, copy and paste through the clipboard, the document behind
# WM_HTML_GETOBJECT read and written from another process, the message view,
# the control tool's clipboard commands, and windows closing at awkward times.
. "$(dirname "$0")/lib.sh"

start_standin

# --- keys, copy and paste -----------------------------------------------------
printf 'line one\nline two\nline three\nlast line' | crlf >"$WORK/body.txt"
id=$(ctl open compose --title "Re: probe" --body @"$WORK/body.txt")
check "new window is listed as a composition" "$id compose Re: probe" "$(ctl list | tr -d '\r' | grep "^$id ")"
check "a new message has its caret on top" "line 0 sel 0 0 lines 4" "$(ctl caret "$id")"

check "plain copy has no HTML Format" "html no" "$(probe copy "$id" "$(winpath "$WORK/copied.txt")")"
{ cat "$WORK/body.txt"; printf ' '; } >"$WORK/expected.txt"
check_file "Ctrl+End, Space, Ctrl+A, Ctrl+C copies the body with the typed blank" "$WORK/expected.txt" "$WORK/copied.txt"

probe paste "$id" "$(printf 'new one\nnew two\nnew three')" >/dev/null
ctl -o "$(winpath "$WORK/after-paste.txt")" body "$id"
printf 'new one\nnew two\nnew three' | crlf >"$WORK/expected.txt"
check_file "Ctrl+A, Ctrl+V replaces the whole body" "$WORK/expected.txt" "$WORK/after-paste.txt"
check "after the paste the caret stands at the end" "line 2 sel 25 25 lines 3" "$(ctl caret "$id")"
probe keys "$id" up >/dev/null
check "Up climbs one body line" "line 1" "$(ctl caret "$id" | cut -d' ' -f1-2)"
probe keys "$id" home >/dev/null
check "Ctrl+Home goes to the top" "line 0 sel 0 0" "$(ctl caret "$id" | cut -d' ' -f1-5)"

# --- HTML mail copies "HTML Format" as well -----------------------------------
hid=$(ctl open compose --title "Re: html" --html '<DIV>Hi</DIV><BLOCKQUOTE>&gt; quoted</BLOCKQUOTE>')
check "HTML mail shows its text" "$(printf 'Hi\r\n> quoted')" "$(ctl body "$hid")"
check "HTML copy carries HTML Format" "html yes" "$(probe copy "$hid" "$(winpath "$WORK/html-copied.txt")")"

# --- the document across processes --------------------------------------------
out=$(probe doc "$id" "$(printf 'doc text\r\nsecond')")
expected="readyState=complete
title=
innerText=new one\r\nnew two\r\nnew three
innerHTML=new one<BR>new two<BR>new three
put_innerText=ok
innerText=doc text\r\nsecond
createStyleSheet=ok
get_all=E_NOTIMPL"
check "document read and written through WM_HTML_GETOBJECT" "$expected" "$out"
check "inner text written by the document is the editor's text" "$(printf 'doc text\r\nsecond')" "$(ctl body "$id")"
check "a written body leaves the caret on its last line" "line 1" "$(ctl caret "$id" | cut -d' ' -f1-2)"
check "the style sheet is recorded" "$(printf 'C:\\probe\\styles.css\t0')" "$(ctl sheets "$id" | tr -d '\r')"
check "the document title is written" "probe" "$(ctl doctitle "$id")"
ctl state "$id" loading
check "ready state follows the control channel" "readyState=loading" "$(probe doc "$id" x | head -1)"

# --- the message view ---------------------------------------------------------
ctl view --html 'Hello<BR>&gt; quoted' >/dev/null
out=$(probe doc view "view text" | sed -n '3,4p')
check "the message view serves its own document" "innerText=Hello\r\n> quoted
innerHTML=Hello<BR>&gt; quoted" "$out"

# --- received messages are no composition windows ------------------------------
rid=$(ctl open received --title "A received message" --html 'Text<BR>&gt; quote')
check "a received message is listed as such" "$rid received A received message" "$(ctl list | tr -d '\r' | grep "^$rid ")"

# --- the control tool's clipboard ----------------------------------------------
ctl clip-set --text "user text" --html "<b>user</b>" --format "Kelvane Private" "abc" --dib
dump=$(ctl clip-get | tr -d '\r')
for f in CF_TEXT '"HTML Format"' '"Kelvane Private" 3' CF_DIB; do
  case "$dump" in *"$f"*) pass "clipboard holds $f";; *) fail "clipboard lacks $f: $dump";; esac
done
check "clipboard text" "user text" "$(ctl clip-text)"
start_bg hold "$E2E_BIN/standin-ctl.exe" clip-hold 60000 --ready "$(winpath "$WORK/held")" --until "$(winpath "$WORK/release")"
wait_until 20 test -s "$WORK/held" || fail "clip-hold did not get the clipboard"
if ctl clip-set --once --text "x" 2>/dev/null; then fail "a held clipboard could be set"; else pass "a held clipboard cannot be set"; fi
touch "$WORK/release"
wait "$LAST_PID"
check "the clipboard survives the holder" "user text" "$(ctl clip-text)"

# --- windows that go away --------------------------------------------------------
cid=$(ctl open compose --title "Re: closing" --body @"$WORK/body.txt")
ctl arm-close "$cid" copy
check "a window closing at Ctrl+C copies nothing" "no copy" "$(probe copy "$cid" "$(winpath "$WORK/none.txt")")"
wait_until 5 sh -c "! $W '$E2E_BIN/standin-ctl.exe' list </dev/null | grep -q '^$cid '" &&
  pass "the window closed at Ctrl+C" || fail "the window did not close"
ctl close "$rid"
check "a closed window is gone" "" "$(ctl list | tr -d '\r' | grep "^$rid ")"
check "the stand-in still answers" "pong" "$(ctl ping | tr -d '\r\n')"

finish
