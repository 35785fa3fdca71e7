# Kelvane.exe installed in the private Wine prefix as setup leaves it, and
# the probe that drives its windows (sourced after lib.sh).
# Needs E2E_KELVANE (Kelvane.exe) and E2E_UIPROBE (kelvane-ui-probe.exe).

KEY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane'
INSTALL="$WINEPREFIX/drive_c/Program Files/Kelvane"
CFG="$INSTALL/Kelvane.cfg"
CAPTION="Kelvane   "

# The probe's output without CR, and its exit status.
ui() {
  local out rc
  out=$($W "$E2E_UIPROBE" "$@" </dev/null); rc=$?
  out=$(printf '%s' "$out" | tr -d '\r')
  [ -n "$out" ] && printf '%s\n' "$out"
  return $rc
}
# Answers a message box with its only button.
ok_box() { ui click "$1" 1 >/dev/null || ui click "$1" 2 >/dev/null; }

install_kelvane() {
  rm -rf "$INSTALL"
  mkdir -p "$INSTALL"
  cp "$E2E_ROOT/data/lang.ini" "$INSTALL/"
  [ -f "$E2E_ROOT/data/styles.css" ] && cp "$E2E_ROOT/data/styles.css" "$INSTALL/"
  $W reg add "$KEY" /v DisplayName /d Kelvane /f >/dev/null 2>&1 </dev/null
  $W reg add "$KEY" /v UninstallString /d 'C:\Program Files\Kelvane\uninstall.exe' /f >/dev/null 2>&1 </dev/null
}

# write_cfg FIELD=VALUE...: the options file of an earlier run.
write_cfg() { make_cfg "$@" && cp "$WORK/cfg" "$CFG"; }

# The 168-byte record with the defaults and a few switches, built here so
# that the cases do not depend on a writer of the file under test.
make_cfg() {
  python3 - "$WORK/cfg" "$@" <<'PY'
import struct, sys
fields = {"wrapColumn": 0, "compressedIndentation": 8, "dependOnOE": 12, "headerStyle": 16, "cursorAtTop": 20,
          "moveSignatureToBottom": 24, "ignoreHtmlMessages": 28, "oeReactionDelay": 32,
          "clipboardOpenTimeout": 36, "checkInterval": 40, "displayWarningsOnErrors": 44, "coloring": 48,
          "compositionInitDelay": 52, "compatibilityMode": 56, "useClipboard": 60, "stripQuotedSignature": 64,
          "isoSignatureFix": 152, "fixExistingQuotes": 156, "colorComposition": 160, "reformatHtml": 164}
rec = bytearray(168)
defaults = {"wrapColumn": 72, "compressedIndentation": 1, "dependOnOE": 1, "headerStyle": 1, "cursorAtTop": 1,
            "moveSignatureToBottom": 1, "ignoreHtmlMessages": 1, "oeReactionDelay": 200,
            "clipboardOpenTimeout": 500, "checkInterval": 300, "displayWarningsOnErrors": 1, "coloring": 1,
            "stripQuotedSignature": 1, "fixExistingQuotes": 1}
for k, v in defaults.items():
    struct.pack_into("<i", rec, fields[k], v)
rec[4] = ord(">")
rec[68:68 + 20] = b"%n <%m> scribbled:\\n"
for arg in sys.argv[2:]:
    k, v = arg.split("=", 1)
    struct.pack_into("<i", rec, fields[k], int(v))
open(sys.argv[1], "wb").write(bytes(rec))
PY
}

