#!/bin/bash
# Entry names reach the disk and the listing whole, in UTF-8: names flagged
# UTF-8 (as Python's zipfile writes any non-ASCII name) as they are, other
# names read as code page 437.
set -euo pipefail
python3() { if [ -x /usr/bin/python3 ]; then /usr/bin/python3 "$@"; else command python3 "$@"; fi; }
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 - <<'PY'
import zipfile
with zipfile.ZipFile("names.zip", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("café.txt", "flagged\n")
    z.writestr("日本語/メモ.txt", "flagged\n")
    # Written as a DOS archiver does: code page 437 bytes, no flag.
    z.writestr("GrXXe.txt", "cp437\n")
data = open("names.zip", "rb").read()
open("names.zip", "wb").write(data.replace(b"GrXXe.txt", b"Gr\x81\xe1e.txt"))
PY
"$tool" extract names.zip out
expected=$(printf '%s\n' "out/Grüße.txt" "out/café.txt" "out/日本語" "out/日本語/メモ.txt" | LC_ALL=C sort)
actual=$(find out -mindepth 1 | LC_ALL=C sort)
[ "$actual" = "$expected" ] || { echo "FAIL: extracted names:"; echo "$actual"; exit 1; }
[ "$(cat out/café.txt)" = flagged ] && [ "$(cat out/Grüße.txt)" = cp437 ] || { echo "FAIL: contents"; exit 1; }
"$tool" list names.zip | cut -f1 >listing
printf '%s\n' "café.txt" "日本語\\メモ.txt" "Grüße.txt" | cmp -s - listing || { echo "FAIL: listing:"; cat listing; exit 1; }
echo "names kept whole"
