#!/bin/bash
# End-to-end cases of the main program: Kelvane.exe installed in a private
# Wine prefix (the registry entry and the files an installation leaves),
# driven from outside by kelvane-ui-probe as a user would drive it, beside
# the stand-in mail client.  Each case checks what the user sees and what is
# left on disk.
#
# usage: kelvane-cases.sh CASE
# Needs E2E_BIN (stand-in), E2E_KELVANE, E2E_UIPROBE, E2E_REFORMAT; the
# screens case also E2E_SHOTS (folder for the pictures) and runs its own Xvfb.
. "$(dirname "$0")/../e2e/lib.sh"

. "$(dirname "$0")/kelvane-install.sh"

# cfg_int OFFSET: the 32-bit field at OFFSET of the saved options file.
cfg_int() { od -An -t d4 -j "$1" -N 4 "$CFG" | tr -d ' '; }
cfg_text() { dd if="$CFG" bs=1 skip="$1" count="$2" 2>/dev/null | tr -d '\0'; }

start_kelvane() {
  start_bg kelvane "$E2E_KELVANE"
  KELVANE_PID=$LAST_PID
}
main_exists() { [ "$(ui state)" != none ]; }
wait_main() { wait_until 20 main_exists || fail "the main window did not appear"; }
kelvane_ended() { ! kill -0 "$KELVANE_PID" 2>/dev/null; }
wait_end() { wait_until "${1:-15}" kelvane_ended; }
# The stand-in's main window, so that the dependency question stays away.
terminate_kelvane() { ui command 40002 >/dev/null; wait_end || fail "Kelvane did not end"; }
status_rows() { ui rows; }
# wait_check NAME EXPECTED COMMAND...: like check, but gives the program up to
# 10 s to get there (commands are posted, the answer comes later).
wait_check() {
  local name=$1 expected=$2; shift 2
  local end=$((SECONDS + 10)) actual
  while :; do
    actual=$("$@")
    [ "$actual" = "$expected" ] && break
    [ $SECONDS -ge $end ] && break
    sleep 0.2
  done
  check "$name" "$expected" "$actual"
}
row_is() { [ "$(status_rows | head -1)" = "$1" ]; }

case_second_start() {
  install_kelvane
  write_cfg dependOnOE=0
  start_kelvane
  wait_main
  check "started hidden and disabled" "visible=0 enabled=0" "$(ui state)"
  local before
  before=$(ls -l --time-style=full-iso "$INSTALL"; md5sum "$CFG")
  $W reg delete "$KEY" /f >/dev/null 2>&1 </dev/null   # a second start must not even look
  $W "$E2E_KELVANE" >"$WORK/second.log" 2>&1 </dev/null
  check "the second start ends by itself" 0 "$?"
  check "the running instance is shown, not enabled" "visible=1 enabled=0" "$(ui state)"
  check "no file was touched" "$before" "$(ls -l --time-style=full-iso "$INSTALL"; md5sum "$CFG")"
  install_kelvane
  write_cfg dependOnOE=0
  terminate_kelvane
}

case_no_registry() {
  install_kelvane
  $W reg delete "$KEY" /f >/dev/null 2>&1 </dev/null
  start_kelvane
  check "the registry message" "Could not find registry information!" "$(ui wait Error 20)"
  ok_box Error
  wait_end || fail "Kelvane went on without its registry entry"
  check "no options file" "" "$(ls "$INSTALL" | grep -i cfg)"
  check "no main window" none "$(ui state)"
}

case_unusable_registry() {
  install_kelvane
  # A bare drive would make "C:" the current folder of the drive, not its root.
  $W reg add "$KEY" /v UninstallString /d 'C:\uninstall.exe' /f >/dev/null 2>&1 </dev/null
  start_kelvane
  check "a bare drive gives the registry message" "Could not find registry information!" "$(ui wait Error 20)"
  ok_box Error
  wait_end || fail "Kelvane went on"
  $W reg add "$KEY" /v UninstallString /t REG_DWORD /d 5 /f >/dev/null 2>&1 </dev/null
  start_kelvane
  check "a number gives the registry message" "Could not find registry information!" "$(ui wait Error 20)"
  ok_box Error
  wait_end || fail "Kelvane went on"
}

case_first_start() {
  install_kelvane
  start_kelvane
  local note
  note=$(ui wait "Kelvane - NOTE" 20)
  check "the first-start note" "You are starting Kelvane for the first time." "$(printf '%s\n' "$note" | head -1)"
  ok_box "Kelvane - NOTE"
  check "the dependency question" "Outlook Express 5/6 is not running." "$(ui wait Kelvane 20 | head -1)"
  ui click Kelvane 7 >/dev/null   # No
  wait_end || fail "declining did not end the program"
  check "declining writes nothing" "" "$(ls "$INSTALL" | grep -i cfg)"

  start_kelvane
  ui wait "Kelvane - NOTE" 20 >/dev/null || fail "no note at the second first start"
  ok_box "Kelvane - NOTE"
  ui wait Kelvane 20 >/dev/null || fail "no dependency question"
  ui click Kelvane 6 >/dev/null   # Yes
  wait_main
  check "no options file before Hide" "" "$(ls "$INSTALL" | grep -i cfg)"
  ui command 40001
  wait_until 5 sh -c "[ \"\$($W '$E2E_UIPROBE' state | tr -d '\r')\" = 'visible=1 enabled=1' ]" ||
    fail "Show did not show and enable the main window: $(ui state)"
  pass "Show shows and enables the window captioned \"$CAPTION\""
  ui click "$CAPTION" 1004
  wait_until 10 test -f "$CFG" || fail "Hide wrote no options file"
  check "Hide hides" "visible=0 enabled=1" "$(ui state)"
  check "the saved file is the 168-byte record" 168 "$(stat -c %s "$CFG")"
  check "accepting the question saved the dependency off" 0 "$(cfg_int 12)"
  check "no temporary file is left" "" "$(ls "$INSTALL" | grep -i tmp)"
  terminate_kelvane
}

case_options() {
  install_kelvane
  start_standin
  write_cfg dependOnOE=1 useClipboard=0 cursorAtTop=0
  start_kelvane
  wait_main
  ui command 40001
  ui settext "$CAPTION" 1006 75
  ui command 40001   # the tray's Show while the column is still being typed
  check "a refresh keeps the column being typed" 75 "$(ui text "$CAPTION" 1006)"
  ui leave "$CAPTION" 1006
  wait_check "the wrap column field keeps 75" 75 ui text "$CAPTION" 1006
  ui toggle "$CAPTION" 1012   # compressed indentation off; the tick that handles the reply reads it first
  local id
  id=$(ctl open compose --title "Re: Test" --body @"$E2E_ROOT/data/sample-reply.txt")
  engine "$E2E_ROOT/data/sample-reply.txt" "$WORK/expected.raw" \
      --set wrapColumn=75 --set compressedIndentation=0 --set cursorAtTop=0
  to_lf <"$WORK/expected.raw" >"$WORK/expected"
  local row="Re: Test	$(reply_status "$ENGINE_RESULT")"
  wait_until 20 row_is "$row" || fail "no status row: $(status_rows)"
  check "the status row" "$row" "$(status_rows | head -1)"
  ctl -o "$(winpath "$WORK/actual.crlf")" body "$id"
  to_lf <"$WORK/actual.crlf" >"$WORK/actual"
  check_file "the reply is reformatted with the options on screen" "$WORK/expected" "$WORK/actual"

  # Typing a column that is too small, then leaving the field.
  ui settext "$CAPTION" 1006 5
  ui leave "$CAPTION" 1006
  wait_check "a column below 60 shows as 60" 60 ui text "$CAPTION" 1006
  ui settext "$CAPTION" 1006 150
  ui leave "$CAPTION" 1006
  wait_check "150 is read as 15 and shows as 60" 60 ui text "$CAPTION" 1006
  ui settext "$CAPTION" 1006 99
  ui leave "$CAPTION" 1006
  ui toggle "$CAPTION" 1018   # use clipboard on, never read by a tick before Hide
  ui click "$CAPTION" 1004
  wait_until 10 sh -c "[ \"\$(od -An -t d4 -j 0 -N 4 '$CFG' 2>/dev/null | tr -d ' ')\" = 99 ]" ||
    fail "Hide did not save the column"
  check "saved wrap column" 99 "$(cfg_int 0)"
  check "saved compressed indentation" 0 "$(cfg_int 8)"
  check "saved use clipboard (read back by Hide)" 1 "$(cfg_int 60)"
  terminate_kelvane
}

case_invert_disable() {
  install_kelvane
  start_standin
  write_cfg dependOnOE=1
  start_kelvane
  wait_main
  ui command 40001
  ui command 40004
  wait_check "invert clears cursor at top" 0 ui check "$CAPTION" 1013
  wait_check "invert clears signature to bottom" 0 ui check "$CAPTION" 1014
  ui command 40004
  wait_check "a second invert restores cursor at top" 1 ui check "$CAPTION" 1013
  wait_check "a second invert restores signature to bottom" 1 ui check "$CAPTION" 1014

  ui command 40003   # disable
  ctl open compose --title "Re: Paused" --body @"$E2E_ROOT/data/sample-reply.txt" >/dev/null
  sleep 2
  check "a disabled watch processes nothing" "" "$(status_rows)"
  # Leaving the wrap column field must not undo the tray's Disable.
  ui settext "$CAPTION" 1006 70
  ui leave "$CAPTION" 1006
  sleep 1.5
  check "leaving the field keeps the watch disabled" "" "$(status_rows)"
  ui command 40003   # enable
  engine "$E2E_ROOT/data/sample-reply.txt" "$WORK/expected.raw" --set wrapColumn=70
  wait_until 20 row_is "Re: Paused	$(reply_status "$ENGINE_RESULT")" || fail "Enable did not resume: $(status_rows)"
  pass "Enable resumes processing"
  terminate_kelvane
}

case_client_closes() {
  install_kelvane
  start_standin
  write_cfg dependOnOE=1
  start_kelvane
  wait_main
  ui command 40004   # something to save
  ctl quit >/dev/null
  wait_end 20 || fail "Kelvane did not end with the client"
  pass "closing the client ends the program"
  check "the settings were saved at the end" 0 "$(cfg_int 20)"
  check "both switches were saved" 0 "$(cfg_int 24)"
}

case_custom_header() {
  install_kelvane
  write_cfg dependOnOE=0
  start_kelvane
  wait_main
  ui command 40001
  ui select "$CAPTION" 1015 4
  ui wait "Custom Header" 20 >/dev/null || fail "choosing custom opened no dialog"
  check "the dialog shows the template" '%n <%m> scribbled:\n' "$(ui text "Custom Header" 1023)"
  ui settext "Custom Header" 1023 "----- word -----"
  ui click "Custom Header" 1
  check "an invalid header is refused" "Invalid quote header!" "$(ui wait Error 20)"
  ok_box Error
  ui gone Error 5 || fail "the message stayed"
  check "the dialog stays open with the text" "----- word -----" "$(ui text "Custom Header" 1023)"
  ui settext "Custom Header" 1023 "%n wrote on %m:"
  ui click "Custom Header" 1
  ui gone "Custom Header" 10 || fail "a valid header did not close the dialog"
  # The options file of the start is there already: wait for Hide's.
  local before
  before=$(md5sum <"$CFG")
  ui click "$CAPTION" 1004
  wait_until 10 sh -c "[ \"\$(md5sum <'$CFG')\" != '$before' ]" || fail "Hide wrote nothing"
  check "header style custom saved" 4 "$(cfg_int 16)"
  check "the template saved" "%n wrote on %m:" "$(cfg_text 68 84)"
  terminate_kelvane
}

# shoot CAPTION NAME: a picture of the window with that caption.
shoot() {
  local xid
  xid=$(xdotool search --name "^$1\$" 2>/dev/null | head -1)
  if [ -z "$xid" ]; then fail "no X window for $1"; return; fi
  import -window "$xid" "$E2E_SHOTS/$2.png" || fail "cannot take $2"
}

# The tray and the pictures need a screen: an Xvfb of our own and a prefix
# that uses the X11 driver.
case_screens() {
  [ -n "${DISPLAY:-}" ] || { fail "screens needs DISPLAY (run through with-xvfb.sh)"; return; }
  mkdir -p "$E2E_SHOTS"
  install_kelvane
  write_cfg dependOnOE=0
  start_kelvane
  wait_main
  sleep 1
  wait_until 10 sh -c 'xdotool search --name "Wine System Tray" >/dev/null 2>&1' || fail "no tray icon"
  pass "the tray icon was added"
  local geo x y
  eval "$(xdotool search --name 'Wine System Tray' getwindowgeometry --shell 2>/dev/null | head -3)"
  x=$((X + 10)); y=$((Y + 10))
  xdotool mousemove "$x" "$y" click 3
  sleep 1
  import -window root "$WORK/tray.png"
  convert "$WORK/tray.png" -crop 260x120+0+0 +repage "$E2E_SHOTS/tray-menu.png"
  check "a right click opens the tray menu" open "$(ui menu)"
  xdotool key Escape
  sleep 0.5
  ui command 40001
  sleep 1
  shoot "Kelvane   " main-window
  ui click "$CAPTION" 1017
  ui wait "Advanced Options" 10 >/dev/null || fail "no Advanced Options dialog"
  sleep 1
  shoot "Advanced Options" advanced-options
  ui click "Advanced Options" 2
  ui gone "Advanced Options" 5
  ui select "$CAPTION" 1015 4
  ui wait "Custom Header" 10 >/dev/null || fail "no Custom Header dialog"
  sleep 1
  shoot "Custom Header" custom-header
  ui click "Custom Header" 2
  ui gone "Custom Header" 5
  terminate_kelvane
  ls "$E2E_SHOTS"
}

"case_$1"
finish
