#!/bin/bash
# CPU cost of one idle watch tick under Wine: 20 note windows showing received
# messages (already coloured), colouring on, the message view coloured too.
# Every such tick asks each window's document for its ready state and title
# again, two calls across processes per window (the document itself is kept
# between ticks), so the cost grows with the number of open messages.
#
# usage: bench/automation/idle-tick.sh [TICKS] [WINDOWS]     (defaults 200, 20)
# Needs the win64 build (standin, kelvane-watch-driver).  The driver runs
# twice, for TICKS/4 and for TICKS ticks; the difference of the two process
# CPU times divided by the difference of the tick counts is the cost of one
# tick without start-up.  The stand-in's own CPU for the same ticks (what the
# mail client spends answering) is reported beside it.
set -u
ticks=${1:-200}
windows=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tests/e2e/lib.sh"

hz=$(getconf CLK_TCK)
cpu_ms() {  # user+system milliseconds of a process, from /proc
  awk -v hz="$hz" '{print ($14 + $15) * 1000 / hz}' "/proc/$1/stat"
}

start_standin
ctl view --html 'Preview<BR>&gt; quoted<BR>&gt; &gt; deeper' >/dev/null
for ((i = 1; i <= windows; i++)); do
  ctl open received --title "Received $i" \
      --html "Hello $i,<BR>&gt; quoted line<BR>&gt; &gt; deeper<BR><BR>-- <BR>Sig" >/dev/null
done

# Colour everything once, so that the measured ticks find nothing to do.
start_driver --set coloring=1 --set oeReactionDelay=0 --interval 50
wait_rows "$windows" 600 || { echo "not all windows coloured: $(row_count)"; exit 1; }
stop_driver

run_ticks() {  # run_ticks N: sets RUN_CPU (driver ms), RUN_CLIENT (stand-in ms), RUN_WALL (s)
  local client_before client_after start
  client_before=$(cpu_ms "$STANDIN_PID")
  start=$(date +%s.%N)
  local t
  t=$( { /usr/bin/time -f '%U %S' bash -c "cd '$WORK/run' && exec $W '$E2E_DRIVER' --boxes print \
        --set dependOnOE=0 --set coloring=1 --interval 1 --ticks $1 >'$WORK/bench.log' 2>&1 </dev/null"; } 2>&1 | tail -1)
  RUN_WALL=$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN {print a - b}')
  client_after=$(cpu_ms "$STANDIN_PID")
  RUN_CPU=$(echo "$t" | awk '{print ($1 + $2) * 1000}')
  RUN_CLIENT=$(awk -v a="$client_after" -v b="$client_before" 'BEGIN {print a - b}')
  grep -q '^row' "$WORK/bench.log" && echo "warning: a measured tick wrote a row"
}

short=$((ticks / 4))
run_ticks "$short"; cpu1=$RUN_CPU; client1=$RUN_CLIENT; wall1=$RUN_WALL
run_ticks "$ticks"; cpu2=$RUN_CPU; client2=$RUN_CLIENT; wall2=$RUN_WALL
n=$((ticks - short))
printf 'idle tick, %d received windows + message view, %d ticks measured\n' "$windows" "$n"
per_tick() { awk -v a="$1" -v b="$2" -v n="$n" -v f="$3" 'BEGIN {printf "%.2f", (a - b) * f / n}'; }
echo "  watcher CPU per tick:    $(per_tick "$cpu2" "$cpu1" 1) ms"
echo "  client CPU per tick:     $(per_tick "$client2" "$client1" 1) ms"
echo "  wall time per tick:      $(per_tick "$wall2" "$wall1" 1000) ms"
finish
