# Shared helpers of the end-to-end tests (sourced, bash).  Every Windows
# program runs under wine64 in the private prefix of the build with Wine's
# null display driver: windows, keystrokes, the clipboard and cross-process
# COM all work without a screen.  Whatever a case starts is stopped by the
# EXIT trap, by process id.
#
# Expects: E2E_BIN (folder of standin.exe, standin-ctl.exe, standin-probe.exe),
# optionally E2E_DRIVER (kelvane-watch-driver.exe) and E2E_REFORMAT
# (kelvane-reformat, the native build or the .exe).
set -u

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
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
  if ctl ping >/dev/null 2>&1; then
    echo "a stand-in from another run is still running in $WINEPREFIX"; exit 1
  fi
  start_bg standin "$E2E_BIN/standin.exe"
  STANDIN_PID=$LAST_PID
  ctl wait-ready 20 || { echo "stand-in did not start"; cat "$WORK/standin.log"; exit 1; }
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

# wait_until SECONDS COMMAND...: polls every 0.1 s until COMMAND succeeds.
wait_until() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  while ! "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
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
