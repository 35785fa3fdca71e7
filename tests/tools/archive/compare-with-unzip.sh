#!/bin/bash
# Archives written by Info-ZIP zip, Python's zipfile, bsdtar and 7-Zip
# (stored and deflated, with and without data descriptors and comments, and
# with data in front) must extract with kelvane-archive exactly as with unzip.
set -euo pipefail
# The Debian interpreter: a shim in front of it costs seconds per call.
python3() { if [ -x /usr/bin/python3 ]; then /usr/bin/python3 "$@"; else command python3 "$@"; fi; }
tool=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"

# The tree every archive holds: text, binary noise, an empty file, nested
# folders and an empty folder.
mkdir -p tree/sub/deeper tree/empty
python3 - <<'PY'
import random
random.seed(7)
open("tree/readme.txt", "w").write("".join("line %d of the sample\r\n" % i for i in range(20000)))
open("tree/sub/noise.bin", "wb").write(random.randbytes(150000))
open("tree/sub/deeper/small.txt", "w").write("small\n")
open("tree/zero.txt", "w").close()
PY

made=()
make() { made+=("$1"); }
(cd tree && zip -qr -X ../infozip-deflated.zip .) && make infozip-deflated.zip
(cd tree && zip -qr -0 -X ../infozip-stored.zip .) && make infozip-stored.zip
# Streaming to a pipe makes Info-ZIP write data descriptors.
(cd tree && zip -qr - . | cat > ../infozip-streamed.zip) && make infozip-streamed.zip
(cd tree && zip -qr ../infozip-comment.zip . && echo "an archive comment" | zip -qz ../infozip-comment.zip) \
  && make infozip-comment.zip
python3 - <<'PY'
import os, zipfile
def add_tree(z):
    for root, dirs, files in sorted(os.walk("tree")):
        for d in sorted(dirs):
            path = os.path.join(root, d)
            z.write(path, os.path.relpath(path, "tree") + "/")
        for f in sorted(files):
            path = os.path.join(root, f)
            z.write(path, os.path.relpath(path, "tree"))
for name, method in (("python-deflated.zip", zipfile.ZIP_DEFLATED), ("python-stored.zip", zipfile.ZIP_STORED)):
    with zipfile.ZipFile(name, "w", method) as z:
        add_tree(z)
        z.comment = b"written by zipfile"
# An unseekable output makes zipfile write data descriptors.
class Unseekable:
    def __init__(self, f): self.f = f
    def write(self, b): return self.f.write(b)
    def flush(self): self.f.flush()
with open("python-streamed.zip", "wb") as raw:
    with zipfile.ZipFile(Unseekable(raw), "w", zipfile.ZIP_DEFLATED) as z:
        add_tree(z)
PY
make python-deflated.zip; make python-stored.zip; make python-streamed.zip
(cd tree && bsdtar --format zip -cf ../bsdtar-deflated.zip .) && make bsdtar-deflated.zip
(cd tree && bsdtar --format zip --options zip:compression=store -cf ../bsdtar-stored.zip .) && make bsdtar-stored.zip
(cd tree && bsdtar --format zip -cf - . | cat > ../bsdtar-streamed.zip) && make bsdtar-streamed.zip
(cd tree && 7zz a -tzip -bd -bso0 ../7zip-deflated.zip .) && make 7zip-deflated.zip
(cd tree && 7zz a -tzip -mx=0 -bd -bso0 ../7zip-stored.zip .) && make 7zip-stored.zip
# Data in front, as in setup's own package (offsets left unadjusted).
head -c 5000 /dev/urandom > stub
cat stub infozip-deflated.zip > prefixed-infozip.zip && make prefixed-infozip.zip
cat stub python-streamed.zip > prefixed-python.zip && make prefixed-python.zip

failed=0
for archive in "${made[@]}"; do
  rm -rf ours theirs; mkdir ours theirs
  rc=0; unzip -qq -o "$archive" -d theirs 2>/dev/null || rc=$?
  # unzip exits 1 after warnings such as "extra bytes at beginning".
  if [ "$rc" -gt 1 ]; then echo "unzip failed ($rc) on $archive"; failed=1; continue; fi
  if ! "$tool" extract "$archive" ours; then echo "FAIL: kelvane-archive could not extract $archive"; failed=1; continue; fi
  if ! diff -r ours theirs >/dev/null; then
    echo "FAIL: $archive differs from unzip:"; diff -r ours theirs | head -5; failed=1; continue
  fi
  # Listing: names with backslashes, sizes and CRCs as the archive says.
  "$tool" list "$archive" > listing
  python3 - "$archive" listing <<'PY' || { echo "FAIL: listing of $archive"; exit 1; }
import sys, zipfile
entries = zipfile.ZipFile(sys.argv[1]).infolist()
expected = ["%s\t%d\t%08x" % (i.filename.replace("/", "\\"), i.file_size, i.CRC) for i in entries]
actual = open(sys.argv[2]).read().splitlines()
sys.exit(0 if actual == expected else 1)
PY
  "$tool" test "$archive" >/dev/null
  echo "ok: $archive"
done
[ "${#made[@]}" -ge 14 ] || { echo "only ${#made[@]} archives were made"; failed=1; }
exit $failed
