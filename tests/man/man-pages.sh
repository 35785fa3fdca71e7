#!/bin/sh
# usage: man-pages.sh MANDIR TOOL...
# Each tool's page renders without a groff warning (macros included), and
# every long option its --help names appears in the page.
set -u
mandir=$1
shift
failed=0
for tool in "$@"; do
  name=$(basename "$tool")
  page=$mandir/$name.1
  if [ ! -f "$page" ]; then
    echo "FAIL: no page $page"
    failed=1
    continue
  fi
  warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -wmac -ww -z "$page" 2>&1)
  if [ -n "$warnings" ]; then
    echo "FAIL: groff warns about $name.1:"
    echo "$warnings"
    failed=1
  fi
  # Options as groff writes them: "\-\-in\-place" in the source.
  text=$(sed 's/\\-/-/g' "$page")
  for help in --help "--colour --help"; do
    # shellcheck disable=SC2086
    "$tool" $help 2>/dev/null
  done | grep -o -- '--[a-z][a-z-]*' | sort -u | while read -r option; do
    case "$text" in
      *"$option"*) ;;
      *) echo "FAIL: $name.1 does not document $option"; exit 1 ;;
    esac
  done || failed=1
done
[ "$failed" = 0 ] && echo "man pages: all clean"
exit "$failed"
