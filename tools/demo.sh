#!/bin/bash
# The main job: builds the reply engine and its command-line filter and shows
# what it makes of the sample reply that ships in data/.
set -euo pipefail
cd "$(dirname "$0")/.."
sh tools/ensure-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target kelvane-reformat >/dev/null
sample=data/sample-reply.txt
echo "---- reply as the mail client opened it ($sample)"
tr -d '\r' <"$sample"; echo
echo "---- after kelvane-reformat"
build/native/tools/kelvane-reformat "$sample"; echo
# The body has no line end after its last line, so the report comes apart.
echo "---- engine report: $(build/native/tools/kelvane-reformat --report "$sample" 2>&1 >/dev/null)"
