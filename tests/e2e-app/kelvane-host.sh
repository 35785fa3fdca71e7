# The window watch hosted by the real Kelvane.exe instead of the test driver
# (sourced at the end of lib.sh when E2E_HOST=kelvane): the same cases then
# prove the program a user runs.  start_driver installs Kelvane with an
# options file made from the --set arguments (dependOnOE off, as the driver
# runs), rows come from the main window's status list, stop_driver is the
# tray's Terminate.
. "$E2E_ROOT/tests/e2e-app/kelvane-install.sh"

start_driver() {
  install_kelvane
  local sets=(dependOnOE=0)
  while [ $# -gt 0 ]; do
    case "$1" in
      --set) sets+=("$2"); shift 2;;
      --interval) sets+=("checkInterval=$2"); shift 2;;
      *) shift;;
    esac
  done
  write_cfg "${sets[@]}"
  start_bg kelvane "$E2E_KELVANE"
  DRIVER_PID=$LAST_PID
  wait_until 20 sh -c "[ \"\$($W '$E2E_UIPROBE' state </dev/null | tr -d '\r')\" != none ]" ||
    { echo "Kelvane did not start"; exit 1; }
}

stop_driver() {
  ui command 40002 >/dev/null
  wait_until 15 sh -c "! kill -0 $DRIVER_PID 2>/dev/null" || fail "Kelvane did not end when asked"
  wait "$DRIVER_PID" 2>/dev/null
  local rc=$?
  [ "$rc" = 0 ] || fail "Kelvane exit code $rc"
}

driver_alive() { kill -0 "$DRIVER_PID" 2>/dev/null; }

# The list shows the newest row first; the driver printed them in order.
rows() { ui rows | tac; }
