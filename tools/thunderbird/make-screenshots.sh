#!/bin/bash
# Takes docs/thunderbird-reply.png and docs/thunderbird-options.png: the built
# add-on and host in Thunderbird under an Xvfb of its own (the native build).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${1:-$root/build/native}
version=$(sed -n 's/^project(Kelvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
nice cmake --build "$build" --target kelvane-host kelvane_xpi >/dev/null
python3 tests/thunderbird/make-screenshots.py \
  --xpi "$build/thunderbird/kelvane-thunderbird-$version.xpi" --host "$build/tools/kelvane-host" \
  --work "$build/screenshots" --out "$root/docs"
