#!/bin/bash
# End-to-end test of setup, uninstall and Kelvstart under Wine and Xvfb, in a
# fresh Wine prefix of its own.  The Windows-side steps are done by the
# driver (driver.cpp); this script prepares packages, compares files and
# takes care of the prefix, the display and the simulated next logon.
#
# usage: run-e2e.sh BUILD_DIR WORK_DIR [SHOTS_DIR]
set -u
build=$(cd "$1" && pwd)
work=$2
shots_out=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../../.." && pwd)

W=/usr/lib/wine/wine64
S=/usr/lib/wine/wineserver
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

rm -rf "$work"
mkdir -p "$work/shots"
work=$(cd "$work" && pwd)
# winemenubuilder would add Linux menu and desktop entries beside the links.
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"

# A display of our own, on whatever number is free.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  $S -k >/dev/null 2>&1
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

WINE_GRAPHICS=x11 "$source_dir/cmake/wine-prefix.sh" || { echo "no Wine prefix"; exit 1; }
# Without a window manager Wine draws the captions and frames itself.
$W reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 </dev/null
$S -k >/dev/null 2>&1; $S -w >/dev/null 2>&1

drive_c="$WINEPREFIX/drive_c"
mkdir -p "$drive_c/e2e"
cp "$build/package/setup.exe" "$drive_c/e2e/setup.exe"
cp "$build/tests/setup/e2e/installer_e2e_driver.exe" "$drive_c/e2e/driver.exe"

# Variants of the package: another script, and a large extra file so that the
# progress dialog stays long enough to be seen.
python3 - "$build/package/setup.exe" "$drive_c/e2e" <<'PY'
import io, os, random, sys, zipfile
package = open(sys.argv[1], "rb").read()
i = package.index(b"-overlay1-"); j = package.index(b"-overlay2-", i)
program, script, archive = package[:i], package[i + 10:j], package[j + 10:]
agreement = (b"#Agreement\r\nKelvane is free software. By installing it you accept the terms:\r\n"
             b"1. Use it at your own risk.\r\n2. Keep backups of your mail.\r\n")
def archive_with_filler():
    out = io.BytesIO()
    with zipfile.ZipFile(io.BytesIO(archive)) as old, zipfile.ZipFile(out, "w") as new:
        for info in old.infolist():
            new.writestr(info, old.read(info), compress_type=zipfile.ZIP_DEFLATED)
        # Many entries: setup redraws its progress dialog between entries.
        rng = random.Random(7)
        block = bytes(rng.getrandbits(8) for _ in range(1 << 18))
        for n in range(160):
            new.writestr("filler/part%03d.bin" % n, block[n:] + block[:n], compress_type=zipfile.ZIP_DEFLATED,
                         compresslevel=1)
    return out.getvalue()
def write(name, new_script, new_archive):
    with open(os.path.join(sys.argv[2], name), "wb") as f:
        f.write(program + b"-overlay1-" + new_script + b"-overlay2-" + new_archive)
big = archive_with_filler()
write("setup-agree.exe", script.replace(b"#end", agreement + b"#end"), archive)
# Central directory headers without their signature: the reader throws.
write("setup-damaged.exe", script, archive.replace(b"PK\x01\x02", b"PK\x01\x00"))
write("setup-shots-eng.exe", script.replace(b"#end", agreement + b"#end"), big)
write("setup-shots-ger.exe", script.replace(b"#end", b"#Language\r\nGER\r\n" + agreement + b"#end"), big)
def archive_plus(extra):
    out = io.BytesIO()
    with zipfile.ZipFile(io.BytesIO(archive)) as old, zipfile.ZipFile(out, "w") as new:
        for info in old.infolist():
            new.writestr(info, old.read(info), compress_type=zipfile.ZIP_DEFLATED)
        for name, data in extra:
            new.writestr(zipfile.ZipInfo(name), data, compress_type=zipfile.ZIP_STORED)
    return out.getvalue()
# An entry that would land beside the destination; the earlier entries are fine.
write("setup-hostile.exe", script, archive_plus([("..\\kv-evil-1.txt", b"evil")]))
# A stored entry whose bytes were altered after its checksum was taken: the
# damage shows only when setup writes it, after a folder of its own.
damaged = archive_plus([("docs/extra.txt", b"extra"), ("zz-damaged.bin", b"0123456789" * 100)])
at = damaged.index(b"0123456789" * 100)
write("setup-midway.exe", script, damaged[:at] + b"X" + damaged[at + 1:])
PY

names=$(python3 -c 'import sys, zipfile; print("\n".join(i.filename.replace("/", "\\") for i in zipfile.ZipFile(sys.argv[1]).infolist()))' "$build/package/files.zip")
mkdir -p "$work/expected"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$build/package/files.zip" "$work/expected"

drive() { (cd "$drive_c" && $W 'C:\e2e\driver.exe' "$@" </dev/null 2>&1 | tr -d '\r'); }
run_driver() {
  local label=$1; shift
  echo "== $label (${SECONDS}s)"
  local output; output=$(drive "$@"); echo "$output"
  if echo "$output" | grep -q '^FAIL' || ! echo "$output" | grep -q ' 0 failure(s)$'; then fail "$label"; else pass "$label"; fi
}
install_dir='C:\Program Files\Kelvane'
install_unix="$drive_c/Program Files/Kelvane"

# Wine's own desktop entries for links (*.desktop) are not ours.
snapshot() { (cd "$drive_c" && find . -path ./windows -prune -o -path ./e2e -prune -o ! -name '*.desktop' -print | sort); }
snapshot >"$work/before.txt"

# Installation with the wizard, then the files, shortcuts, record and registry.
# shellcheck disable=SC2086
run_driver "install" wizard 'C:\e2e\setup.exe' "$install_dir" ENG - none
same_bytes() {
  local ok=1
  while IFS= read -r name; do
    [ -n "$name" ] || continue
    cmp -s "$work/expected/${name//\\//}" "$install_unix/${name//\\//}" || { fail "$name differs or is missing"; ok=0; }
  done <<<"$names"
  [ $ok = 1 ] && pass "every archived file is installed with its bytes"
}
same_bytes
mapfile -t name_args <<<"$names"
run_driver "installed state" check "$install_dir" "${name_args[@]}"
# The host's manifest as Thunderbird reads it: our add-on only, the host beside it.
# The host's manifest as Thunderbird reads it: the host beside it, and only
# the add-on that is installed beside it may connect.
python3 - "$install_unix" <<'PY' && pass "the host manifest names the host and the installed add-on only" || fail "host manifest"
import glob, json, os, sys, zipfile
m = json.load(open(os.path.join(sys.argv[1], "org.example.kelvane.json"), encoding="utf-8"))
assert m == {"name": "org.example.kelvane", "description": m.get("description"), "path": "kelvane-host.exe",
             "type": "stdio", "allowed_extensions": ["kelvane@example.org"]} and m["description"], m
xpis = glob.glob(os.path.join(sys.argv[1], "kelvane-thunderbird-*.xpi"))
assert len(xpis) == 1, xpis
addon = json.loads(zipfile.ZipFile(xpis[0]).read("manifest.json"))
assert addon["browser_specific_settings"]["gecko"]["id"] in m["allowed_extensions"], addon
PY

# Installing again over it replaces the earlier files and generated files.
echo "old options" >"$install_unix/kelvane.cfg"
echo "old log" >"$install_unix/debug.txt"
echo "damaged" >>"$install_unix/lang.ini"
run_driver "install again" wizard 'C:\e2e\setup.exe' "$install_dir" ENG - none
[ ! -e "$install_unix/kelvane.cfg" ] && [ ! -e "$install_unix/debug.txt" ] && pass "earlier generated files removed" || fail "earlier generated files left"
same_bytes
run_driver "state after installing again" check "$install_dir" "${name_args[@]}"
programs="$drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelvane"
[ "$(ls "$programs" | wc -l)" = 6 ] && pass "six start-menu shortcuts, none twice" || fail "start-menu folder holds: $(ls "$programs")"
[ "$(ls "$drive_c/users/$(id -un)/Desktop" | grep -c 'Kelvane\.lnk$')" = 1 ] && pass "one desktop shortcut" || fail "desktop: $(ls "$drive_c/users/$(id -un)/Desktop")"

# The running check.
run_driver "running check" running 'C:\e2e\setup.exe' "$install_dir\\Kelvane.exe"

# Uninstalling: everything recorded goes, nothing else is touched.
run_driver "uninstall" uninstall "$install_dir" "${name_args[@]}"
snapshot >"$work/after.txt"
extra=$(comm -13 "$work/before.txt" "$work/after.txt" | grep -v -e '^./Program Files/Kelvane$' -e '^./Program Files/Kelvane/uninstall.exe$')
missing=$(comm -23 "$work/before.txt" "$work/after.txt")
[ -z "$extra" ] && pass "nothing left but the uninstaller and its folder" || fail "left behind: $extra"
[ -z "$missing" ] && pass "nothing outside the installation removed" || fail "removed: $missing"
# The next logon runs the two one-time commands.
$S -k >/dev/null 2>&1; $S -w >/dev/null 2>&1
$W wineboot -r </dev/null >/dev/null 2>&1; $S -w >/dev/null 2>&1
[ ! -e "$install_unix" ] && pass "the next logon removes the uninstaller and its folder" || fail "after the next logon: $(ls -la "$install_unix")"

# A damaged archive is reported, not a crash.
run_driver "damaged archive" damaged 'C:\e2e\setup-damaged.exe'

# An agreement that is refused ends setup.
run_driver "agreement refused" wizard 'C:\e2e\setup-agree.exe' 'C:\Refused' ENG - refuse

# Unattended use, and runs that stop: nothing is left of what they made.
silent_dir='C:\Silent Test\Two Levels\Kelvane'
silent_unix="$drive_c/Silent Test/Two Levels/Kelvane"
snapshot >"$work/clean.txt"
same_as_clean() {
  snapshot >"$work/now.txt"
  local diff; diff=$(diff "$work/clean.txt" "$work/now.txt")
  [ -z "$diff" ] && pass "$1: nothing left behind" || fail "$1 left: $diff"
}
run_driver "hostile package refused first" hostile 'C:\e2e\setup-hostile.exe' \
  "$(printf 'The installation file is corrupt!\n\n"..\\kv-evil-1.txt"')"
same_as_clean "hostile package"
run_driver "hostile package, silent" silent 'C:\e2e\setup-hostile.exe' 1 'kv-evil-1.txt' "/S /D=C:\Hostile Test\Kelvane"
same_as_clean "hostile package, silent"
run_driver "damaged midway, silent" silent 'C:\e2e\setup-midway.exe' 4 'CRC-32 mismatch (cause 11)' \
  '/S /D=C:\Midway Test\Deep\Kelvane'
same_as_clean "damaged midway"
run_driver "cancelled with Back and Exit" cancel 'C:\e2e\setup-midway.exe' 'C:\Cancel Test\Deep\Kelvane'
same_as_clean "cancelled run"
kilobytes=$(python3 -c 'import sys, zipfile; print((sum(i.file_size for i in zipfile.ZipFile(sys.argv[1]).infolist()) + 1023) // 1024)' "$build/package/files.zip")
run_driver "silent install" silent 'C:\e2e\setup.exe' 0 'is now installed' "/S /D=$silent_dir"
install_unix_saved=$install_unix; install_unix=$silent_unix
same_bytes
install_unix=$install_unix_saved
run_driver "silent installed state" check "$silent_dir" "${name_args[@]}"
run_driver "Add/Remove Programs entry" arp "$silent_dir" "$kilobytes"
snapshot >"$work/before-running.txt"
run_driver "silent install while running" silent-running 'C:\e2e\setup.exe' "$silent_dir\\Kelvane.exe"
snapshot >"$work/after-running.txt"
cmp -s "$work/before-running.txt" "$work/after-running.txt" && pass "nothing changed while running" || fail "changed while running"
echo "stale" >"$silent_unix/debug.txt"
run_driver "silent reinstall into the earlier folder" silent 'C:\e2e\setup.exe' 0 "into $silent_dir" "/S"
[ ! -e "$silent_unix/debug.txt" ] && pass "silent reinstall cleans up" || fail "silent reinstall left debug.txt"
run_driver "silent reinstalled state" check "$silent_dir" "${name_args[@]}"
run_driver "silent uninstall" quiet-uninstall "$silent_dir" "${name_args[@]}"
$S -k >/dev/null 2>&1; $S -w >/dev/null 2>&1
$W wineboot -r </dev/null >/dev/null 2>&1; $S -w >/dev/null 2>&1
[ ! -e "$silent_unix" ] && pass "silent uninstall: the next logon removes the folder" || fail "left: $(ls -la "$silent_unix")"
snapshot | grep -v -e '^./Silent Test$' -e '^./Silent Test/Two Levels$' >"$work/now.txt"
diff -q "$work/clean.txt" "$work/now.txt" >/dev/null && pass "silent round trip leaves only the parents it made" || fail "round trip: $(diff "$work/clean.txt" "$work/now.txt")"
rm -rf "$drive_c/Silent Test"

# Every wizard dialog in English and German, with screenshots.
run_driver "wizard in English" wizard 'C:\e2e\setup-shots-eng.exe' "$install_dir" ENG 'C:\e2e\en-' accept
run_driver "wizard in German" wizard 'C:\e2e\setup-shots-ger.exe' "$install_dir" GER 'C:\e2e\de-' accept

# The launcher with a stand-in mail client.
run_driver "launcher" launcher "$install_dir\\Kelvstart.exe" 'C:\launchtest'

for bmp in "$drive_c"/e2e/*.bmp; do
  [ -e "$bmp" ] || continue
  base=$(basename "$bmp" .bmp)
  if [ "${base#*-}" = background ]; then
    convert "$bmp" -resize 50% "$work/shots/$base.png"
  else
    convert "$bmp" "$work/shots/$base.png"
  fi
done
if [ -n "$shots_out" ]; then mkdir -p "$shots_out" && cp "$work"/shots/*.png "$shots_out"/; fi
echo "screenshots: $(ls "$work/shots" | tr '\n' ' ')"

echo "e2e failures: $failures"
[ "$failures" = 0 ]
