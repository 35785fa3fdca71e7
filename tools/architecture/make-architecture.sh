#!/bin/bash
# Draws docs/architecture.png from the Windows x86_64 build: every folder a
# box, every library and program in the folder that defines it, an arrow for
# each link.  The links come from `cmake --graphviz`, the folders from
# CMake's file API; Graphviz lays them out.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=${1:-docs/architecture.png}
build=$root/build/architecture
command -v dot >/dev/null || { SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo;
  $SUDO apt-get install -y -qq --no-install-recommends graphviz >/dev/null; }

mkdir -p "$build/.cmake/api/v1/query"
touch "$build/.cmake/api/v1/query/codemodel-v2"
cp tools/architecture/CMakeGraphVizOptions.cmake "$build/"
cmake --preset win64 -B "$build" -DKELVANE_TESTS=OFF --graphviz="$build/links.dot" >/dev/null
python3 tools/architecture/cluster.py "$build" "$build/links.dot" > "$build/architecture.dot"
dot -Tpng -Gdpi=96 "$build/architecture.dot" -o "$out"
echo "wrote $out"
