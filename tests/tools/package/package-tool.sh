#!/bin/bash
# kelvane-package: a package built from this system's script loads as setup
# loads it, damaged packages and records fail with exit code 1, and a record
# reads back field by field.
set -euo pipefail
# The Debian interpreter: a shim in front of it costs seconds per call.
python3() { if [ -x /usr/bin/python3 ]; then /usr/bin/python3 "$@"; else command python3 "$@"; fi; }
tool=$1
stub=$2
script=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

mkdir files
for f in Kelvane.exe Kelvstart.exe readme.html styles.css styles_preview.html faq.html lang.ini uninstall.exe; do
  echo "content of $f" > "files/$f"
done
(cd files && zip -q -X ../payload.zip Kelvane.exe Kelvstart.exe readme.html styles.css styles_preview.html \
   faq.html lang.ini uninstall.exe)
"$tool" build --stub "$stub" --script "$script" --archive payload.zip -o setup.exe
"$tool" inspect setup.exe > inspect.json
python3 - <<'PY'
import json, zipfile
got = json.load(open("inspect.json", encoding="utf-8"))
assert got["AppName"] == "Kelvane", got["AppName"]
assert got["Language"] == "ENG" and got["DefaultDest"] == "ProgramFiles" and got["Agreement"] == ""
assert got["RunningCheckWindowTitle"] == "Kelvane   " and got["RunningCheckWindowClass"] == ""
assert [s["target"] for s in got["Shortcuts"]] == ["kelvstart.exe", "kelvane.exe", "uninstall.exe", "readme.html",
                                                   "faq.html", "styles_preview.html"]
assert got["Shortcuts"][1] == {"target": "kelvane.exe", "arguments": "", "description": "Kelvane - stand-alone"}
assert got["StartupShortcuts"] == [] and len(got["DesktopShortcuts"]) == 1
assert got["GeneratedFiles"] == ["kelvane.cfg", "debug.txt"] and got["InstallFonts"] == []
assert got["NativeMessagingHosts"] == [{"name": "org.example.kelvane", "manifest": "org.example.kelvane.json"}]
want = [{"name": i.filename, "size": i.file_size, "crc32": "%08x" % i.CRC} for i in zipfile.ZipFile("payload.zip").infolist()]
assert got["entries"] == want, got["entries"]
PY

# Windows-1252 text in the script comes out as UTF-8 JSON.
printf '#AppName\r\nCaf\xe9 "Tool"\r\n#Shortcuts\r\nmy tool.exe -x\r\nTool\r\n#end' > script1252.txt
"$tool" build --stub "$stub" --script script1252.txt --archive payload.zip -o setup2.exe
"$tool" inspect setup2.exe > inspect2.json
python3 -c '
import json
got = json.load(open("inspect2.json", encoding="utf-8"))
assert got["AppName"] == "Caf\u00e9 \"Tool\"", got["AppName"]
assert got["Shortcuts"] == [{"target": "my tool.exe", "arguments": "-x", "description": "Tool"}]
'

# A package without its markers is corrupt; a damaged archive too.
head -c 1000 setup.exe > cut.exe
if "$tool" inspect cut.exe 2>err.txt; then echo "cut package loaded"; exit 1; fi
grep -q "The installation file is corrupt!" err.txt
if "$tool" inspect missing.exe 2>err.txt; then echo "missing package loaded"; exit 1; fi
grep -q "Source file could not be opened!" err.txt
printf 'x' > bad.zip
if "$tool" build --stub "$stub" --script "$script" --archive bad.zip -o bad.exe 2>/dev/null; then
  echo "built a package around a damaged archive"; exit 1; fi

# Records: one written field by field, then damaged ones.
python3 - <<'PY'
import struct
def s(t): return t.encode("cp1252") + b"\0"
rec = b"SS01" + s("Kelvane") + struct.pack("<i", 2) + s("Kelvane.exe") + s("uninstall.exe")
rec += struct.pack("<i", 1) + s("C:\\Menu\\Kelvane\\Uninstall.lnk") + struct.pack("<i", 2) + s("kelvane.cfg") + s("debug.txt")
rec += s("") + s("Kelvane   ")
hosts = b"NMH1" + struct.pack("<i", 1) + s("org.example.kelvane")
open("uninstall.dat", "wb").write(rec + hosts)
open("short.dat", "wb").write(rec[:-3])
open("short-hosts.dat", "wb").write(rec + hosts[:-5])
open("huge.dat", "wb").write(b"SS01" + s("A") + struct.pack("<i", 0x7fffffff))
PY
"$tool" record uninstall.dat > record.json
python3 -c '
import json
got = json.load(open("record.json", encoding="utf-8"))
assert got == {"appName": "Kelvane", "files": ["Kelvane.exe", "uninstall.exe"],
               "shortcuts": ["C:\\Menu\\Kelvane\\Uninstall.lnk"], "generatedFiles": ["kelvane.cfg", "debug.txt"],
               "windowClass": "", "windowTitle": "Kelvane   ", "nativeHosts": ["org.example.kelvane"]}, got
'
for bad in short.dat short-hosts.dat huge.dat none.dat; do
  if "$tool" record "$bad" 2>/dev/null; then echo "read damaged record $bad"; exit 1; fi
done
echo "package tool checks passed"
