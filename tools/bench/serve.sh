#!/usr/bin/env bash
# Load and slow-client benchmark of `quillmark serve`. Prints figures; checks
# nothing. All traffic goes to 127.0.0.1; it stops by itself (about a minute).
#
#   tools/bench/serve.sh [BUILD_DIR] [--seconds N] [--clients N] [--file-mb N]
#
# Builds serve_bench and quillmark when needed; the benchmark itself is
# tools/bench/serve_load.cpp (its head comment describes the three phases).
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=build
if [[ $# -gt 0 && $1 != --* ]]; then
  build_dir=$1
  shift
fi
cmake --build "$build_dir" --target quillmark serve_bench >/dev/null
free=$(df -Pk "${TMPDIR:-/tmp}" | awk 'NR == 2 { print $4 }')
((free > 1024 * 1024)) || { echo "need 1 GiB free in ${TMPDIR:-/tmp}" >&2; exit 3; }
"$build_dir/serve_bench" "$build_dir/quillmark" "$@"
