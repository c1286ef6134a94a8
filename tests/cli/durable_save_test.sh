#!/usr/bin/env bash
# A saved project reaches the disk: its new content is flushed before it is
# renamed into place and its folder after, so a power cut cannot leave an
# empty project. Usage: durable_save_test.sh QUILLMARK (needs strace)
set -uo pipefail
quillmark=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
printf 'x' >tour.mp4
"$quillmark" new tour.pp5 tour.mp4 >/dev/null || { echo "FAIL: new"; exit 1; }
strace -f -qq -y -e trace=fsync,fdatasync,rename,renameat,renameat2 -o trace.txt \
  "$quillmark" set tour.pp5 ZOOM 3 || { echo "FAIL: set under strace"; exit 1; }
# The calls that matter, in their order, one word each.
temp='tour\.pp5\.tmp-[a-z0-9]{8}'
steps=$(sed -nE -e "s|.*fsync\([0-9]+<$work/$temp>\).*|flush-file|p" \
  -e "s|.*rename.*$temp\", .*tour\.pp5\".*|rename|p" \
  -e "s|.*fsync\([0-9]+<$work>\).*|flush-folder|p" trace.txt | tr '\n' ' ')
[[ $steps == "flush-file rename flush-folder " ]] ||
  { echo "FAIL: the save did: ${steps:-none of these}"; cat trace.txt; exit 1; }
echo "durable save: passed"
