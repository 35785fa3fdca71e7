#!/bin/sh
# Installs the Debian packages the build and the tests need, when missing.
set -eu
pkgs="cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
      clang libclang-rt-14-dev mingw-w64 libz-mingw-w64-dev wine64 libwine fonts-wine fonts-liberation
      xvfb xdotool imagemagick x11-apps par zip unzip 7zip libarchive-tools python3 time
      dpkg-dev groff-base vim tmux neomutt thunderbird libutf8proc-dev libunibreak-dev pkg-config nlohmann-json3-dev"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
# The Thunderbird add-on's tools: node, npm and the linter.
"$(dirname "$0")/ensure-node.sh"
