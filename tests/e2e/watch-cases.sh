#!/bin/bash
# End-to-end cases of the window watch: the stand-in mail client and the watch
# driver run as separate Windows processes; each case checks what a user would
# see afterwards (body, caret, clipboard, status rows, document marks).
#
# usage: watch-cases.sh CASE [REPEAT]
# Needs E2E_BIN, E2E_DRIVER and E2E_REFORMAT (see lib.sh).
. "$(dirname "$0")/lib.sh"

SAMPLE=$E2E_ROOT/data/sample-reply.txt
# Clipboard mode waits fixed times for the client; a test machine shared with
# builds needs the longer delays a user of a slow machine would set.
SLOW_CLIENT=(--set oeReactionDelay=500 --set clipboardOpenTimeout=1500)

# A clipboard with more than text on it, as a user's clipboard often is.
set_user_clipboard() {
  ctl clip-set --text "the user's own text" --html "<b>the user's</b> HTML" \
      --format "Kelvane Private" "private bytes" --dib || fail "cannot set the user's clipboard"
  ctl clip-get >"$WORK/clip-before"
}
check_user_clipboard() {
  ctl clip-get >"$WORK/clip-after"
  if cmp -s "$WORK/clip-before" "$WORK/clip-after"; then pass "$1: the user's clipboard is as it was"
  else fail "$1: the user's clipboard changed"; diff "$WORK/clip-before" "$WORK/clip-after"; fi
}

# check_reply ID TITLE ENGINE_INPUT [reformat options]: the window holds
# exactly the engine's body, has the status row for the engine's result and
# its caret where the put-back and the cursor keys leave it.
check_reply() {
  local id=$1 title=$2 input=$3; shift 3
  engine "$input" "$WORK/expected.raw" "$@"
  to_lf <"$WORK/expected.raw" >"$WORK/expected"
  body_lf "$id" "$WORK/actual"
  check_file "$title: body is the engine's" "$WORK/expected" "$WORK/actual"
  check "$title: status row" "$title	$(reply_status "$ENGINE_RESULT")" "$(rows_for "$title")"
  # The put-back leaves the caret on the last line; the cursor keys then go
  # up ENGINE_CURSOR lines, or to the top with cursorAtTop.
  local expected_line=0
  caret "$id"
  if printf '%s\n' "$@" | grep -q 'cursorAtTop=0'; then expected_line=$((LINE_COUNT - 1 - ENGINE_CURSOR)); fi
  check "$title: caret line" "$expected_line" "$CARET_LINE"
  check "$title: no selection left" "$SEL_START" "$SEL_END"
}

case_reply_clipboard() {
  start_standin
  set_user_clipboard
  start_driver --set useClipboard=1 --set cursorAtTop=0 "${SLOW_CLIENT[@]}"
  local id
  id=$(ctl open compose --title "Re: Test" --body @"$SAMPLE")
  wait_rows 1 || fail "no status row"
  # The fetch typed a blank at the end before copying: the engine saw it too.
  { cat "$SAMPLE"; printf ' '; } >"$WORK/fetched"
  check_reply "$id" "Re: Test" "$WORK/fetched" --set cursorAtTop=0
  check_user_clipboard "clipboard mode"
  stop_driver
}

case_reply_document() {
  start_standin
  set_user_clipboard
  start_driver --set useClipboard=0 --set cursorAtTop=0
  local id
  id=$(ctl open compose --title "Re: Test" --body @"$SAMPLE")
  wait_rows 1 || fail "no status row"
  check_reply "$id" "Re: Test" "$SAMPLE" --set cursorAtTop=0
  check "document mode writes the body once" 1 "$(stat_of "$id" put_innerText)"
  check_user_clipboard "document mode"
  stop_driver
}

case_new_message_signature() {
  start_standin
  start_driver --set useClipboard=0 --set isoSignatureFix=1
  printf 'Hello Ann,\n\nsee you.\n\n-- \nBob\n--\nnot a separator\n-- and text' | crlf >"$WORK/new"
  local id
  id=$(ctl open compose --title "Meeting" --body @"$WORK/new")
  wait_rows 1 || fail "no status row"
  check "status row" "Meeting	processed (sig)" "$(rows_for "Meeting")"
  engine "$WORK/new" "$WORK/expected.raw" --signature
  to_lf <"$WORK/expected.raw" >"$WORK/expected"
  body_lf "$id" "$WORK/actual"
  check_file "signature separators fixed, nothing else" "$WORK/expected" "$WORK/actual"
  grep -q $'^--\x81$' "$WORK/actual" && pass "separator carries the 0x81 byte" || fail "no --0x81 line"
  stop_driver
}

case_html_reply_skipped() {
  local html='<DIV>My answer</DIV><DIV>&nbsp;</DIV><BLOCKQUOTE style="PADDING-LEFT: 5px"><DIV>&gt; quoted line</DIV></BLOCKQUOTE>'
  start_standin
  set_user_clipboard
  # Document mode: the body is left exactly as it was.
  start_driver --set useClipboard=0 --set ignoreHtmlMessages=1
  local id
  id=$(ctl open compose --title "Re: Html" --html "$html")
  ctl -o "$(winpath "$WORK/text-before")" body "$id"
  wait_rows 1 || fail "no status row (document mode)"
  check "document mode status" "Re: Html	skipped (HTML)" "$(rows_for "Re: Html")"
  check "document mode leaves the HTML alone" "$html" "$(ctl html "$id")"
  ctl -o "$(winpath "$WORK/text-after")" body "$id"
  check_file "document mode leaves the text alone" "$WORK/text-before" "$WORK/text-after"
  check "document mode writes nothing" 0 "$(stat_of "$id" put_innerText)"
  stop_driver
  ctl close "$id"
  # Clipboard mode: the HTML copy is recognised, the user's clipboard comes
  # back and the selection made for the copy is collapsed.
  start_driver --set useClipboard=1 --set ignoreHtmlMessages=1 "${SLOW_CLIENT[@]}"
  id=$(ctl open compose --title "Re: Html" --html "$html")
  wait_rows 1 || fail "no status row (clipboard mode)"
  check "clipboard mode status" "Re: Html	skipped (HTML)" "$(rows_for "Re: Html")"
  check "clipboard mode leaves the HTML alone" "$html" "$(ctl html "$id")"
  caret "$id"
  check "clipboard mode collapses the selection" "$SEL_START" "$SEL_END"
  check_user_clipboard "HTML skip"
  stop_driver
}

case_received_coloured() {
  local html='Hello Bob,<BR>&gt; quoted line<BR>&gt; &gt; deeper<BR>&gt; quoted again<BR><BR>-- <BR>Ann'
  local view='In the preview:<BR>&gt; one level<BR>&gt; &gt; two levels'
  start_standin
  ctl view --html "$view" >/dev/null
  local id
  id=$(ctl open received --title "A received message" --html "$html")
  ctl -o "$(winpath "$WORK/text")" body "$id"
  ctl -o "$(winpath "$WORK/view-text")" body view
  start_driver --set coloring=1
  wait_rows 1 || fail "no status row"
  wait_stat 20 view createStyleSheet 1 || fail "message view not coloured"
  sleep 2   # several more ticks: nothing may be coloured twice
  check "one row for the received message" "A received message	processed (c)" "$(rows)"
  local target
  for target in "$id" view; do
    local name=$target; [ "$target" = view ] || name="received message"
    local sheets
    sheets=$(ctl sheets "$target" | tr -d '\r')
    check "$name: one style sheet attached" 1 "$(printf '%s\n' "$sheets" | grep -c .)"
    case "$sheets" in *'\run\styles.css	0') pass "$name: the style sheet is styles.css";;
      *) fail "$name: style sheet [$sheets]";; esac
    check "$name: title mark" "Kelvane" "$(ctl doctitle "$target")"
    case "$(ctl html "$target")" in '<SPAN class=KV-MARK>'*) pass "$name: document mark";;
      *) fail "$name: no document mark: $(ctl html "$target")";; esac
    check "$name: body written once" 1 "$(stat_of "$target" put_innerHTML)"
  done
  if $W "$E2E_REFORMAT" --colour --help 2>&1 </dev/null | grep -q -- '--colour'; then
    printf '%s' "$html" >"$WORK/html"
    $W "$E2E_REFORMAT" --colour --styles 7 --mode view --text "$(winpath "$WORK/text")" \
        "$(winpath "$WORK/html")" >"$WORK/expected" </dev/null
    ctl -o "$(winpath "$WORK/actual")" html "$id"
    check_file "received message: coloured exactly as the colouring filter does" "$WORK/expected" "$WORK/actual"
    printf '%s' "$view" >"$WORK/view-html"
    $W "$E2E_REFORMAT" --colour --styles 7 --mode view --text "$(winpath "$WORK/view-text")" \
        "$(winpath "$WORK/view-html")" >"$WORK/expected" </dev/null
    ctl -o "$(winpath "$WORK/actual")" html view
    check_file "message view: coloured exactly as the colouring filter does" "$WORK/expected" "$WORK/actual"
  fi
  stop_driver
}

case_title_change() {
  start_standin
  start_driver --set useClipboard=0
  local id
  id=$(ctl open compose --title "Re: First" --body @"$SAMPLE")
  wait_rows 1 || fail "no first row"
  ctl title "$id" "Re: Second"
  wait_rows 2 || fail "the title change was not handled"
  ctl title "$id" "Re: Third"
  sleep 2   # several ticks
  check "rows: first title, then the changed one, and no more" \
        "Re: First	processed (q)
Re: Second	skipped (quoted)" "$(rows)"
  check "the body was written once" 1 "$(stat_of "$id" put_innerText)"
  stop_driver
}

case_loading_retried() {
  start_standin
  start_driver --set useClipboard=0
  local id
  id=$(ctl open compose --title "Re: Test" --body @"$SAMPLE" --state loading)
  # Each tick that meets the window asks for its ready state.
  wait_stat 20 "$id" get_readyState 2 || fail "loading document not asked again"
  check "no row while loading" 0 "$(row_count)"
  check "nothing written while loading" 0 "$(stat_of "$id" put_innerText)"
  ctl state "$id" interactive
  local asked
  asked=$(stat_of "$id" get_readyState)
  wait_stat 20 "$id" get_readyState $((asked + 1)) || fail "interactive document not asked again"
  check "no row while interactive" 0 "$(row_count)"
  ctl state "$id" complete
  wait_rows 1 || fail "no row after the document completed"
  check_reply "$id" "Re: Test" "$SAMPLE"
  stop_driver
}

case_clipboard_held() {
  start_standin
  set_user_clipboard
  start_driver --set useClipboard=1 "${SLOW_CLIENT[@]}"
  start_bg hold "$E2E_BIN/standin-ctl.exe" clip-hold 60000 --ready "$(winpath "$WORK/held")" \
      --until "$(winpath "$WORK/release")"
  local hold=$LAST_PID
  wait_until 20 test -s "$WORK/held" || fail "could not hold the clipboard"
  local id
  id=$(ctl open compose --title "Re: Test" --body @"$SAMPLE")
  wait_rows 1 || fail "no status row"
  check "status row" "Re: Test	get error" "$(rows_for "Re: Test")"
  grep -q $'^box\tKelvane Error\tA latency error (get error) occurred' "$WORK/driver.log" &&
    pass "the latency warning names the error" || fail "no latency warning"
  touch "$WORK/release"
  wait "$hold"
  check "no key reached the window" 0 "$(stat_of "$id" keydown)"
  body_lf "$id" "$WORK/actual"
  to_lf <"$SAMPLE" >"$WORK/expected"
  check_file "the body is untouched" "$WORK/expected" "$WORK/actual"
  check_user_clipboard "held clipboard"
  stop_driver
}

case_closed_mid_transfer() {
  start_standin
  set_user_clipboard
  # Clipboard mode: the window goes away when the copy key arrives.
  start_driver --set useClipboard=1 "${SLOW_CLIENT[@]}"
  local id
  id=$(ctl open compose --title "Re: Gone" --body @"$SAMPLE" --arm-close copy)
  wait_rows 1 || fail "no status row (clipboard mode)"
  check "clipboard mode: the vanished window is a get error" "Re: Gone	get error" "$(rows_for "Re: Gone")"
  check_user_clipboard "window closed at the copy"
  id=$(ctl open compose --title "Re: After" --body @"$SAMPLE")
  wait_rows 2 || fail "the watch stopped after the closed window"
  check "clipboard mode: the next reply is processed" "Re: After	processed (q)" "$(rows_for "Re: After")"
  driver_alive && pass "clipboard mode: driver alive" || fail "driver died"
  stop_driver
  ctl close "$id"
  # Document mode: the window goes away right after its text was read.
  start_driver --set useClipboard=0
  id=$(ctl open compose --title "Re: Gone" --body @"$SAMPLE" --arm-close get_innerText)
  wait_rows 1 || fail "no status row (document mode)"
  check "document mode: writing to the vanished window is a put error" "Re: Gone	put error" "$(rows_for "Re: Gone")"
  id=$(ctl open compose --title "Re: After" --body @"$SAMPLE")
  wait_rows 2 || fail "the watch stopped after the closed window"
  check "document mode: the next reply is processed" "Re: After	processed (q)" "$(rows_for "Re: After")"
  driver_alive && pass "document mode: driver alive" || fail "driver died"
  stop_driver
}

[ $# -ge 1 ] && declare -F "case_$1" >/dev/null || {
  echo "usage: $0 CASE"; declare -F | sed -n 's/^declare -f case_/  /p'; exit 2; }
"case_$1"
finish
