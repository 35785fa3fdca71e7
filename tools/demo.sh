#!/bin/bash
# The main job: a demonstration of the whole system on Linux.  It builds the
# programs, installs Kelvane.exe into a private Wine prefix the way setup
# leaves it (program folder with lang.ini and styles.css, the Uninstall
# registry entry), starts a screen of its own (Xvfb), the stand-in Outlook
# Express client and Kelvane.exe, opens a reply in the client, prints its body
# before and after Kelvane rewrote it, saves a screenshot, and stops
# everything it started.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
sh tools/ensure-deps.sh

step() { printf '\n==== %s\n' "$*"; }

step "building (Windows x86_64 programs for Wine, i686 shipping build)"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Kelvane standin standin-ctl kelvane-ui-probe >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Kelvane >/dev/null
ship=build/win32/app/windows/Kelvane.exe
i686-w64-mingw32-strip -o build/win32/Kelvane-stripped.exe "$ship"
echo "i686 Kelvane.exe: $(stat -c %s build/win32/Kelvane-stripped.exe) bytes stripped; imports:" \
     $(i686-w64-mingw32-objdump -p "$ship" | awk '/DLL Name/ {print $3}')

bin=build/win64
out=build/demo
mkdir -p "$out"
export WINEPREFIX="$root/build/wineprefix-x11" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINE_GRAPHICS=x11
W=/usr/lib/wine/wine64

pids=""
xpid=""
cleanup() {
  for p in $pids; do kill "$p" 2>/dev/null || true; done
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null || true
}
trap cleanup EXIT

step "starting a private screen (Xvfb) and the Wine prefix $WINEPREFIX"
fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xpid=$!
read -r -t 20 display <"$fifo"; rm -f "$fifo"
export DISPLAY=":$display"
cmake/wine-prefix.sh

step "installing Kelvane as setup leaves it"
install="$WINEPREFIX/drive_c/Program Files/Kelvane"
rm -rf "$install"; mkdir -p "$install"
cp "$bin/app/windows/Kelvane.exe" data/lang.ini "$install/"
[ -f data/styles.css ] && cp data/styles.css "$install/"
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane'
$W reg add "$key" /v DisplayName /d Kelvane /f >/dev/null 2>&1 </dev/null
$W reg add "$key" /v UninstallString /d 'C:\Program Files\Kelvane\uninstall.exe' /f >/dev/null 2>&1 </dev/null
echo "C:\\Program Files\\Kelvane: $(ls "$install" | tr '\n' ' ')"

ctl() { $W "$bin/tests/standin/standin-ctl.exe" "$@" </dev/null | tr -d '\r'; }
ui() { $W "$bin/tests/e2e-app/kelvane-ui-probe.exe" "$@" </dev/null | tr -d '\r'; }
wait_for() { local n=$1; shift; for _ in $(seq $((n * 10))); do "$@" && return 0; sleep 0.1; done; return 1; }

step "starting the stand-in Outlook Express and Kelvane.exe"
$W "$bin/tests/standin/standin.exe" >"$out/standin.log" 2>&1 </dev/null &
pids="$pids $!"
ctl wait-ready 20 >/dev/null
$W "C:\\Program Files\\Kelvane\\Kelvane.exe" >"$out/kelvane.log" 2>&1 </dev/null &
kpid=$!; pids="$pids $kpid"
note=$(ui wait "Kelvane - NOTE" 30) && {
  echo "first start, Kelvane says: $(printf '%s\n' "$note" | head -1)"
  ui click "Kelvane - NOTE" 1 >/dev/null 2>&1 || ui click "Kelvane - NOTE" 2 >/dev/null
}
wait_for 20 sh -c "[ \"\$($W '$bin/tests/e2e-app/kelvane-ui-probe.exe' state | tr -d '\r')\" != none ]"
echo "Kelvane runs in the notification area: main window $(ui state)"

step "a reply as the mail client opens it (data/sample-reply.txt)"
id=$(ctl open compose --title "Re: Your question" --body @"$root/data/sample-reply.txt")
tr -d '\r' <data/sample-reply.txt; echo
wait_for 30 sh -c "$W '$bin/tests/e2e-app/kelvane-ui-probe.exe' rows | grep -q 'Re: Your question'" ||
  { echo "Kelvane did not process the reply"; exit 1; }

step "the same reply after Kelvane rewrote it (status row: $(ui rows | head -1 | tr '\t' ' '))"
ctl body "$id"; echo

ui command 40001   # the tray's Show
sleep 1.5
import -window root "$out/screen.png"
convert "$out/screen.png" -trim +repage "$out/kelvane-demo.png"
echo
echo "screenshot: $out/kelvane-demo.png"

step "Terminate: Kelvane saves its options and ends"
ui command 40002
for _ in $(seq 100); do kill -0 "$kpid" 2>/dev/null || break; sleep 0.1; done
echo "Kelvane.cfg: $(stat -c %s "$install/Kelvane.cfg") bytes"
ctl quit >/dev/null || true
