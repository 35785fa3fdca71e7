#!/bin/bash
# Extraction of a 125 MB archive (20 text files and 5 random files of 5 MB,
# deflated by Info-ZIP zip): kelvane-archive extract against unzip -qq -o,
# whole processes in the same run, and against inflating the same entries in
# memory.  Goals: faster than unzip, within 1.3 times the in-memory floor.
# usage: bench/formats/extract-vs-unzip.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/bench}
rounds=${2:-5}
tool=$build/tools/archive/kelvane-archive
baseline=$build/bench/formats/inflate_baseline
[ -x "$tool" ] && [ -x "$baseline" ] || { echo "build the bench preset first: $tool, $baseline"; exit 1; }
py=/usr/bin/python3; [ -x "$py" ] || py=python3

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/files"
"$py" - "$work/files" <<'PY'
import os, random, sys
out = sys.argv[1]
rng = random.Random(2026)
words = [w for w in open("/usr/share/dict/words").read().split() if w.isalpha()] if os.path.exists("/usr/share/dict/words") else \
    ["".join(rng.choice("etaoinshrdlucmfwypvbgkjqxz") for _ in range(rng.randint(2, 10))) for _ in range(5000)]
size = 5 * 1024 * 1024
for i in range(20):
    parts, n = [], 0
    while n < size:
        line = " ".join(rng.choice(words) for _ in range(rng.randint(6, 14))) + "\r\n"
        parts.append(line); n += len(line)
    open(os.path.join(out, "text%02d.txt" % i), "w").write("".join(parts)[:size])
for i in range(5):
    open(os.path.join(out, "random%d.bin" % i), "wb").write(rng.randbytes(size))
PY
(cd "$work/files" && zip -q -X ../bench.zip *)
echo "archive: $(stat -c %s "$work/bench.zip") bytes, 25 entries, 131072000 bytes uncompressed"

# The machine may be shared: processor time (user + system) is compared,
# wall-clock time is shown beside it.
run() { /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" && awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"; }
best_ours=999 best_unzip=999 best_floor=999
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b) ? a : b }'; }
for round in $(seq "$rounds"); do
  rm -rf "$work/ours" "$work/theirs"; mkdir "$work/ours" "$work/theirs"
  read -r ours_wall ours < <(run "$tool" extract "$work/bench.zip" "$work/ours")
  read -r unzip_wall theirs < <(run unzip -qq -o "$work/bench.zip" -d "$work/theirs")
  read -r floor_wall floor _ < <("$baseline" "$work/bench.zip")
  echo "round $round (cpu s / wall s): kelvane-archive $ours / $ours_wall   unzip $theirs / $unzip_wall   in-memory inflate+crc32 $floor / $floor_wall"
  best_ours=$(min "$best_ours" "$ours"); best_unzip=$(min "$best_unzip" "$theirs"); best_floor=$(min "$best_floor" "$floor")
done
diff -r "$work/ours" "$work/theirs" >/dev/null || { echo "FAIL: extracted files differ from unzip's"; exit 1; }
awk -v o="$best_ours" -v u="$best_unzip" -v f="$best_floor" 'BEGIN {
  printf "best processor time: kelvane-archive %.3fs, unzip %.3fs (unzip/ours %.2fx), in-memory floor %.3fs (ours/floor %.2fx)\n", o, u, u / o, f, o / f
  ok = (o < u) && (o <= 1.3 * f)
  print ok ? "goals met" : "goals NOT met"
  exit ok ? 0 : 1 }'
