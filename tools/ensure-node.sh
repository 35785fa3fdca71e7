#!/bin/sh
# Node and the add-on's npm tools (addons-linter), for the Thunderbird add-on's
# tests.  Debian's nodejs and npm when no node is installed; a node from
# elsewhere brings its own npm and is kept.  The npm packages go into
# thunderbird/node_modules, exactly as the lock file names them.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  echo "installing: nodejs npm"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
fi
addon="$root/thunderbird"
stamp="$addon/node_modules/.package-lock.json"
if [ ! -f "$stamp" ] || ! cmp -s "$addon/package-lock.json" "$addon/node_modules/.kelvane-lock"; then
  (cd "$addon" && npm ci --no-audit --no-fund --loglevel=error)
  cp "$addon/package-lock.json" "$addon/node_modules/.kelvane-lock"
fi
