#!/bin/bash
# usage: debian-package.sh BUILD_DIR DATA_DIR VERSION
# Builds the .deb with CPack, checks its name, dependencies and contents,
# unpacks it into a scratch root, runs each tool from there and renders each
# manual page.
set -euo pipefail
build=$1
data=$2
version=$3
tests=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/*.deb)
[ "$(basename "$deb")" = "kelvane-tools_${version}_$(dpkg --print-architecture).deb" ] || fail "package name $deb"

# dpkg-shlibdeps names the C and C++ runtimes and zlib (the archive reader).
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 zlib1g; do
  [[ ",$depends" == *", $lib "* || ",$depends" == *",$lib "* ]] || fail "Depends lacks $lib: $depends"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | LC_ALL=C sort)
want=$(printf '%s\n' ./usr/bin/kelvane-archive ./usr/bin/kelvane-package ./usr/bin/kelvane-reformat \
  ./usr/lib/kelvane/kelvane-host ./usr/lib/mozilla/native-messaging-hosts/org.example.kelvane.json \
  ./usr/lib/thunderbird/extensions/kelvane@example.org.xpi ./usr/share/webext/kelvane@example.org.xpi \
  ./usr/share/man/man1/kelvane-archive.1.gz ./usr/share/man/man1/kelvane-host.1.gz \
  ./usr/share/man/man1/kelvane-package.1.gz ./usr/share/man/man1/kelvane-reformat.1.gz | LC_ALL=C sort)
[ "$contents" = "$want" ] || fail "contents differ:"$'\n'"$contents"

root=$work/root
dpkg -x "$deb" "$root"
bin=$root/usr/bin
for tool in kelvane-reformat kelvane-archive kelvane-package; do
  [ "$("$bin/$tool" --version)" = "$tool $version" ] || fail "$tool --version"
done

# Debian's Thunderbird finds the add-on through the link, and its
# manifest names the packaged host, which answers a framed ping.
[ "$(readlink -f "$root/usr/lib/thunderbird/extensions/kelvane@example.org.xpi")" = \
  "$root/usr/share/webext/kelvane@example.org.xpi" ] || fail "add-on link"
python3 - "$root/usr/lib/mozilla/native-messaging-hosts/org.example.kelvane.json" <<'PY' || fail "host manifest"
import json, sys
m = json.load(open(sys.argv[1]))
assert m == {"name": "org.example.kelvane", "description": m["description"], "path": "/usr/lib/kelvane/kelvane-host",
             "type": "stdio", "allowed_extensions": ["kelvane@example.org"]}, m
PY
[ "$("$root/usr/lib/kelvane/kelvane-host" --version)" = "kelvane-host $version" ] || fail "kelvane-host --version"
python3 "$tests/tools/host/host-cli.py" --ping-only "$root/usr/lib/kelvane/kelvane-host" || fail "kelvane-host ping"

# `cmake --install --prefix` writes the manifest for its own prefix.
cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" || { cat "$work/install.log"; fail "install"; }
grep -q "\"path\": \"$work/prefix/lib/kelvane/kelvane-host\"" \
  "$work/prefix/lib/mozilla/native-messaging-hosts/org.example.kelvane.json" || fail "installed manifest path"
python3 "$tests/tools/host/host-cli.py" --ping-only "$work/prefix/lib/kelvane/kelvane-host" || fail "installed host"

# A reply with an attribution line comes back rewritten.
"$bin/kelvane-reformat" "$data/sample-reply.txt" >"$work/reply.out"
grep -q 'wrote:$' "$work/reply.out" || fail "kelvane-reformat did not rewrite the sample reply"

# An archive lists as written, and a package built from it inspects.
cd "$work"
python3 - <<'PY'
import zipfile
with zipfile.ZipFile("files.zip", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("readme.txt", "hello\n" * 100)
open("stub.exe", "wb").write(b"MZ" + bytes(64))
PY
[ "$("$bin/kelvane-archive" list files.zip)" = "readme.txt	600	$(python3 -c 'import zlib; print("%08x" % zlib.crc32(b"hello\n" * 100))')" ] ||
  fail "kelvane-archive list"
"$bin/kelvane-package" build --stub stub.exe --script "$data/setup-script.txt" --archive files.zip -o setup.exe
"$bin/kelvane-package" inspect setup.exe | grep -q '"AppName": "Kelvane"' || fail "kelvane-package inspect"

# Each page renders from the package without a warning.
for tool in kelvane-reformat kelvane-archive kelvane-package kelvane-host; do
  page=$root/usr/share/man/man1/$tool.1.gz
  rendered=$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -wmac -ww 2>"$work/warnings")
  [ ! -s "$work/warnings" ] || { cat "$work/warnings"; fail "$tool.1 warns"; }
  [[ "$rendered" == *"$tool"*"$version"* ]] || fail "$tool.1 did not render"
done
echo "debian package: $(basename "$deb"), Depends: $depends"
