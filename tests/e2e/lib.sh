# Shared helpers of the end-to-end tests (sourced, bash).  Every Windows
# program runs under wine64 in the private prefix of the build with Wine's
# null display driver: windows, keystrokes, the clipboard and cross-process
# COM all work without a screen.  Whatever a case starts is stopped by the
# EXIT trap, by process id.
#
# E2E_BIN (folder of standin.exe, standin-ctl.exe, standin-probe.exe),
# E2E_DRIVER (kelvane-watch-driver.exe) and E2E_REFORMAT (kelvane-reformat.exe)
# default to the win64 build of this tree.
set -u

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_BIN=${E2E_BIN:-$E2E_ROOT/build/win64/tests/standin}
E2E_DRIVER=${E2E_DRIVER:-$E2E_ROOT/build/win64/tests/automation-driver/kelvane-watch-driver.exe}
E2E_REFORMAT=${E2E_REFORMAT:-$E2E_ROOT/build/win64/tools/kelvane-reformat.exe}
export WINEPREFIX="${WINEPREFIX:-$E2E_ROOT/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
W=/usr/lib/wine/wine64
"$E2E_ROOT/cmake/wine-prefix.sh" || { echo "cannot prepare the Wine prefix $WINEPREFIX"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-e2e.XXXXXX")
STARTED_PIDS=""
FAILURES=0

e2e_cleanup() {
  local pid
  if [ -n "${STANDIN_PID:-}" ] && kill -0 "$STANDIN_PID" 2>/dev/null; then
    $W "$E2E_BIN/standin-ctl.exe" quit >/dev/null 2>&1 </dev/null
  fi
  for pid in $STARTED_PIDS; do
    for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$pid" 2>/dev/null
  done
  for pid in $STARTED_PIDS; do wait "$pid" 2>/dev/null; done
  if [ "${E2E_KEEP:-0}" = 1 ] || [ "$FAILURES" != 0 ]; then
    echo "work folder kept: $WORK"
  else
    rm -rf "$WORK"
  fi
}
trap e2e_cleanup EXIT

# Windows path of a file of ours (Wine maps Z: to /).
winpath() { printf 'Z:%s' "$1"; }

# Starts a Windows program in the background; its output goes to $WORK/$1.log.
# Sets LAST_PID.
start_bg() {
  local name=$1; shift
  $W "$@" >"$WORK/$name.log" 2>&1 </dev/null &
  LAST_PID=$!
  STARTED_PIDS="$STARTED_PIDS $LAST_PID"
}

ctl() { $W "$E2E_BIN/standin-ctl.exe" "$@" </dev/null; }
probe() { $W "$E2E_BIN/standin-probe.exe" "$@" </dev/null | tr -d '\r'; }

start_standin() {
  start_bg standin "$E2E_BIN/standin.exe"
  STANDIN_PID=$LAST_PID
  ctl wait-ready 20 || { echo "stand-in did not start"; cat "$WORK/standin.log"; exit 1; }
  # A stand-in left over from another run owns the pipe: ours then ends at once.
  sleep 0.2
  if ! kill -0 "$STANDIN_PID" 2>/dev/null; then
    STANDIN_PID=""
    echo "another stand-in is running in $WINEPREFIX"; cat "$WORK/standin.log"; exit 1
  fi
}

fail() { echo "FAIL: $*"; FAILURES=$((FAILURES + 1)); }
pass() { echo "ok: $*"; }

# check NAME EXPECTED ACTUAL
check() {
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: expected [$2], got [$3]"; fi
}

# check_file NAME EXPECTED_FILE ACTUAL_FILE
check_file() {
  if cmp -s "$2" "$3"; then pass "$1"; else
    fail "$1 differs"; diff <(od -c "$2") <(od -c "$3") | head -20
  fi
}

# wait_until SECONDS COMMAND...: polls until COMMAND succeeds, every
# POLL seconds (0.1; commands that start a Wine process poll slower, as each
# costs a process start on a machine that the watched programs share).
POLL=0.1
wait_until() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  while ! "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep "$POLL"
  done
  return 0
}

# Bodies: files with CR LF line ends from text with LF.
crlf() { awk 'BEGIN { ORS = "" } NR > 1 { print "\r\n" } { print }'; }  # no line end after the last line
to_lf() { tr -d '\r'; }

finish() {
  if [ "$FAILURES" = 0 ]; then echo "PASS"; exit 0; fi
  echo "FAILED: $FAILURES check(s)"; exit 1
}

# --- the watch driver and the engine ------------------------------------------

# start_driver [driver options...]: runs the watch driver in $WORK/run with the
# shipped lang.ini and styles.css; prints boxes instead of showing them and
# keeps running when the client is gone.
start_driver() {
  mkdir -p "$WORK/run"
  local f
  for f in lang.ini styles.css; do [ -f "$E2E_ROOT/data/$f" ] && cp "$E2E_ROOT/data/$f" "$WORK/run/"; done
  local exe=$E2E_DRIVER
  ( cd "$WORK/run" && exec $W "$exe" --boxes print --set dependOnOE=0 "$@" ) >"$WORK/driver.log" 2>&1 </dev/null &
  DRIVER_PID=$!
  STARTED_PIDS="$STARTED_PIDS $DRIVER_PID"
  wait_until 20 grep -q '^ready' "$WORK/driver.log" || { echo "driver did not start"; cat "$WORK/driver.log"; exit 1; }
}

stop_driver() {
  ctl close-class "Kelvane Watch Driver" >/dev/null 2>&1
  wait_until 10 grep -q '^exit' "$WORK/driver.log" || fail "driver did not end when asked"
  wait "$DRIVER_PID" 2>/dev/null
  local rc=$?
  [ "$rc" = 0 ] || fail "driver exit code $rc"
}

driver_alive() { kill -0 "$DRIVER_PID" 2>/dev/null && ! grep -q '^exit' "$WORK/driver.log"; }

# Status rows so far, "TITLE<TAB>STATUS" per line.
rows() { grep -a '^row' "$WORK/driver.log" | tr -d '\r' | cut -f2-; }
row_count() { rows | wc -l; }
rows_for() { rows | awk -F'\t' -v t="$1" '$1 == t'; }
rows_at_least() { [ "$(row_count)" -ge "$1" ]; }
wait_rows() { wait_until "${2:-20}" rows_at_least "$1"; }

# engine INPUT OUTPUT [kelvane-reformat options...]: the engine's own answer
# for a body; sets ENGINE_RESULT and ENGINE_CURSOR from its report.
engine() {
  local in=$1 out=$2; shift 2
  $W "$E2E_REFORMAT" --report "$@" "$(winpath "$in")" >"$out" 2>"$WORK/engine.err" </dev/null
  local report
  report=$(tr -d '\r' <"$WORK/engine.err" | grep '^result')
  ENGINE_RESULT=$(echo "$report" | awk '{print $2}')
  ENGINE_CURSOR=$(echo "$report" | awk '{print $4}')
}

# The status text for a reformat result.
reply_status() {
  case "$1" in 0) echo "processed (q)";; 4) echo "processed (q-qp)";; 1) echo "skipped (quoted)";; *) echo "?";; esac
}

# body_lf ID FILE: the window's body with LF line ends.
body_lf() { ctl -o "$(winpath "$2.crlf")" body "$1" && to_lf <"$2.crlf" >"$2"; }
# caret ID: sets CARET_LINE, SEL_START, SEL_END and LINE_COUNT.
caret() { read -r _ CARET_LINE _ SEL_START SEL_END _ LINE_COUNT < <(ctl caret "$1" | tr -d '\r'); }
stat_of() { ctl stats "$1" | tr -d '\r' | awk -F= -v k="$2" '$1 == k {print $2}' | grep . || echo 0; }
stat_at_least() { [ "$(stat_of "$1" "$2")" -ge "$3" ]; }
wait_stat() { POLL=0.5 wait_until "$1" stat_at_least "$2" "$3" "$4"; }

# The same cases with the watch inside Kelvane.exe (see tests/e2e-app).
if [ "${E2E_HOST:-driver}" = kelvane ]; then . "$E2E_ROOT/tests/e2e-app/kelvane-host.sh"; fi
