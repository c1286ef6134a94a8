#!/usr/bin/env bash
# scripts/demo.sh --no-serve end to end with an existing build, in temporary
# folders: the demo project and the published package with all its parts.
#   demo_test.sh BUILD_DIR
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:?usage: demo_test.sh BUILD_DIR}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

QM_BUILD_DIR=$build_dir DEMO_WORK=$work/demo-work DEMO_OUT=$work/demo-out DEMO_CLIP_SECONDS=3 \
  "$source_dir/scripts/demo.sh" --no-serve >"$work/demo.log" 2>&1 ||
  { cat "$work/demo.log"; echo "demo.sh failed" >&2; exit 1; }

failed=0
expect() {
  if ! eval "$1"; then
    echo "not so: $1" >&2
    failed=1
  fi
}
out=$work/demo-out
for f in index.html tv360_player.html title_start_html5.jpg demo.mp4 demo.webm \
  start_local_server_python.bat start_test_index.bat \
  js/raf.js js/Stats.js js/st.css js/build/Three.js \
  js/ctr/cn0.js js/ctr/cn1.js js/ctr/cn2.js js/ctr/cn3.js \
  images/hs1.gif images/hs10.gif images/check_hs.gif images/poster.jpg images/title.png; do
  expect "[[ -s '$out/$f' ]]"
done
expect "cmp -s '$work/demo-work/demo.mp4' '$out/demo.mp4'"
expect "grep -q 'demo.mp4' '$out/tv360_player.html'"
expect "grep -q 'demo.webm' '$out/tv360_player.html'"
expect "grep -q 'Quillmark demo' '$out/tv360_player.html'"
expect "grep -q 'tv360_player.html' '$out/index.html'"
expect "grep -q 'Hot spots: 5 of 10 slots in use' '$work/demo.log'"
expect "grep -q 'Published: ' '$work/demo.log'"
expect "'$source_dir/scripts/demo.sh' --help | grep -qxF 'Usage: scripts/demo.sh [--no-serve] [--port N]'"

# A second run keeps the clip and publishes again over the package.
touch -d '2000-01-01' "$work/demo-work/demo.mp4"
QM_BUILD_DIR=$build_dir DEMO_WORK=$work/demo-work DEMO_OUT=$work/demo-out DEMO_NO_SERVE=1 \
  "$source_dir/scripts/demo.sh" >"$work/again.log" 2>&1 ||
  { cat "$work/again.log"; echo "second demo.sh run failed" >&2; exit 1; }
expect "grep -q 'are there already' '$work/again.log'"
expect "[[ \$(stat -c %Y '$work/demo-work/demo.mp4') -lt 1000000000 ]]"

if ((failed)); then
  cat "$work/demo.log"
  exit 1
fi
echo "demo.sh --no-serve published a complete package"
