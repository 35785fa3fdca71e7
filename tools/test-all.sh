#!/bin/bash
# Builds every configuration and runs every test: the portable core natively
# and under ASan+UBSan, the Windows x86_64 build under Wine (unit and
# end-to-end tests), the i686 shipping build, and each fuzzer for a short,
# bounded time.  Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
FUZZ_SECONDS=${FUZZ_SECONDS:-10}

step() { printf '\n==== %s (%ss)\n' "$*" "$SECONDS"; }

step "dependencies"
sh tools/ensure-deps.sh

step "native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

step "ASan+UBSan build and tests"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

step "Windows x86_64 build and tests under Wine"
export WINEPREFIX="$root/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
cmake/wine-prefix.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64
ctest --preset win64
/usr/lib/wine/wineserver -k 2>/dev/null || true

step "Windows i686 build (built and checked, not run)"
cmake --preset win32 >/dev/null
cmake --build --preset win32

step "fuzzers, ${FUZZ_SECONDS}s each"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
tools/run-fuzzers.sh build/fuzz "$FUZZ_SECONDS"

step "all passed"
