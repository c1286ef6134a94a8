#!/usr/bin/env bash
# Publisher benchmarks. Prints figures; checks nothing.
#
#   tools/bench/publish.sh [BUILD_DIR]      (default build/)
#
# 1. Publishing the demo project with a tiny clip (a 1 s, 64 x 32 video of a
#    few kilobytes), so that the run is everything but the video copies: 30
#    runs of `quillmark publish` into a fresh folder each time. Wall time and
#    user + system CPU time of the whole process come from wait4(); nothing is
#    subtracted, start-up and dynamic linking included. Goal: under 30 ms.
#    perf stat's task-clock of the same runs follows when perf is usable.
# 2. Peak memory of `quillmark publish` (GNU time's maximum resident set).
# 3. tools/bench/copy.sh: video copying against cp on one 1 GiB file, and the
#    peak memory with that file (goal: under 30 MB whatever the video's size).
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=${1:-build}
quillmark=$(realpath "$build_dir/quillmark")
[[ -x $quillmark ]] || { echo "$quillmark is missing: run scripts/build.sh first" >&2; exit 3; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is missing (package time; scripts/setup.sh)" >&2; exit 3; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ffmpeg -v error -f lavfi -i color=c=red:s=64x32:r=25:d=1 -c:v libx264 -pix_fmt yuv420p \
  "$work/tiny.mp4"
tools/demo/make-project.sh "$quillmark" "$work/demo.pp5" "$work/tiny.mp4" >/dev/null
echo "Demo project with a $(stat -c %s "$work/tiny.mp4")-byte clip, $(nproc) cores, $(date -u +%FT%TZ)"
echo

echo "== 1. Publishing everything but the video copies (goal < 30 ms)"
python3 tools/bench/publish_measure.py --runs 30 --label "quillmark publish (tiny clip)" \
  --before "rm -rf '$work/out'" -- "$quillmark" publish "$work/demo.pp5" "$work/out/index.html"
# For scale, not subtracted: the same executable doing nothing but start and stop.
python3 tools/bench/publish_measure.py --runs 30 --label "quillmark --version (start-up only)" \
  -- "$quillmark" --version
if perf stat -e task-clock true >/dev/null 2>&1; then
  rm -rf "$work/out"
  perf stat -r 30 -e task-clock "$quillmark" publish "$work/demo.pp5" "$work/out/index.html" \
    2>&1 >/dev/null | grep -E 'task-clock|elapsed'
else
  echo "  (perf stat is not usable here; wait4() figures only)"
fi
echo

echo "== 2. Peak memory, tiny clip (goal < 30 MB)"
rm -rf "$work/out"
/usr/bin/time -v "$quillmark" publish "$work/demo.pp5" "$work/out/index.html" 2>&1 >/dev/null |
  grep -E 'Maximum resident set size'
echo

echo "== 3. Video copying and peak memory with a 1 GiB video"
tools/bench/copy.sh "$build_dir"
