#!/bin/bash
# Runs a command with an Xvfb of its own (the display number is chosen by
# Xvfb, so parallel runs never collide) and stops it afterwards.
set -u
fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xpid=$!
read -r -t 20 display <"$fifo"; rm -f "$fifo"
[ -n "${display:-}" ] || { echo "Xvfb did not start"; kill $xpid 2>/dev/null; exit 1; }
export DISPLAY=":$display"
"$@"
rc=$?
# Wine's processes of this session hold the display: end them first.
/usr/lib/wine/wineserver -k 2>/dev/null
kill $xpid 2>/dev/null; wait $xpid 2>/dev/null
exit $rc
