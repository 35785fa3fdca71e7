#!/bin/sh
# Makes sure the private Wine prefix named by WINEPREFIX exists and uses the
# null display driver (windows, clipboard and COM work without a screen).
# WINE_GRAPHICS=x11 makes a prefix with the X11 driver instead, for tests that
# need the notification area or screenshots under Xvfb.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the private prefix}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -f "$WINEPREFIX/.kelvane-ready" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.kelvane-ready" ] && exit 0
W=/usr/lib/wine/wine64
S=/usr/lib/wine/wineserver
# HOME inside the prefix keeps the user folders real folders instead of links
# to the developer's own home.
HOME="$WINEPREFIX.home" ; mkdir -p "$HOME"; export HOME
$W wineboot -i >/dev/null 2>&1 </dev/null
$S -w
if [ "${WINE_GRAPHICS:-null}" = null ]; then
  $W reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
fi
u=$(id -un)
for d in Desktop Documents Downloads Music Pictures Videos; do
  p="$WINEPREFIX/drive_c/users/$u/$d"
  if [ -L "$p" ]; then rm "$p" && mkdir "$p"; fi
done
$S -k 2>/dev/null
$S -w 2>/dev/null
touch "$WINEPREFIX/.kelvane-ready"
