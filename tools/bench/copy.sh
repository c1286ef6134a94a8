#!/usr/bin/env bash
# Video copying of `quillmark publish` against cp on the same 1 GiB file,
# measured in one run. Prints figures; checks nothing.
#
#   tools/bench/copy.sh [BUILD_DIR]      (default build/; BENCH_TMP moves the files)
#
# A 1 GiB file of random bytes (random, so no file system can shortcut it) is
# the demo project's only video. Five rounds, each run after `sync` and with
# the previous copies removed, time `cp` of the file and `quillmark publish` of
# the project (the whole publication, whose cost beyond the copy is a few tens
# of ms) into fresh folders on the same file system, in alternating order. The
# ratio cp time / publish time is given for the best and the median runs
# (goal: 0.9 or better). The source stays in the page
# cache, as it would right after the video was made. Everything is removed
# afterwards.
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=${1:-build}
quillmark=$(realpath "$build_dir/quillmark")
[[ -x $quillmark ]] || { echo "$quillmark is missing: run scripts/build.sh first" >&2; exit 3; }

work=$(mktemp -d -p "${BENCH_TMP:-${TMPDIR:-/tmp}}")
trap 'rm -rf "$work"' EXIT
need=$((3 * 1024 * 1024))
free=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
((free > need)) || { echo "need 3 GiB free in $work" >&2; exit 3; }

dd if=/dev/urandom of="$work/video.mp4" bs=4M count=256 status=none
tools/demo/make-project.sh "$quillmark" "$work/big.pp5" "$work/video.mp4" >/dev/null
cat "$work/video.mp4" >/dev/null

measure() { # label, command... -> JSON line of one run
  python3 tools/bench/publish_measure.py --runs 1 --json --label "$1" -- "${@:2}" | tail -n 1
}

copy_with_cp() {
  rm -rf "$work/cp" && mkdir -p "$work/cp" && sync
  measure cp cp "$work/video.mp4" "$work/cp/video.mp4" >>"$results"
  rm -rf "$work/cp"
}
copy_with_publish() {
  rm -rf "$work/out" && sync
  measure publish "$quillmark" publish "$work/big.pp5" "$work/out/index.html" >>"$results"
  cmp -s "$work/video.mp4" "$work/out/video.mp4" || { echo "the published copy differs" >&2; exit 1; }
  rm -rf "$work/out"
}

# The order alternates, so that neither side always runs on a freshly synced disk.
results=$work/results.jsonl
for round in 1 2 3 4 5; do
  if ((round % 2)); then
    copy_with_cp
    copy_with_publish
  else
    copy_with_publish
    copy_with_cp
  fi
done

python3 - "$results" <<'PY'
import json, statistics, sys
runs = [json.loads(line) for line in open(sys.argv[1])]
def median(label, key):
    return statistics.median(r[key][1] if isinstance(r[key], list) else r[key]
                             for r in runs if r["label"] == label)
def best(label):
    return min(r["wall_ms"][1] for r in runs if r["label"] == label)
for label in ("cp", "publish"):
    walls = ", ".join(f"{r['wall_ms'][1]:.0f}" for r in runs if r["label"] == label)
    print(f"  {label:8} 1 GiB, 5 runs: {walls} ms (best {best(label):.0f}, median {median(label, 'wall_ms'):.0f})")
print(f"  speed of quillmark publish relative to cp: best runs {best('cp') / best('publish'):.2f} x, "
      f"medians {median('cp', 'wall_ms') / median('publish', 'wall_ms'):.2f} x (goal >= 0.9)")
print(f"  CPU user+sys, medians: cp {median('cp', 'cpu_ms'):.0f} ms, "
      f"publish {median('publish', 'cpu_ms'):.0f} ms (the copies run in the kernel)")
rss = max(r["max_rss_kib"] for r in runs if r["label"] == "publish")
print(f"  peak memory of quillmark publish with the 1 GiB video: {rss / 1024:.1f} MiB (goal < 30 MB)")
PY
/usr/bin/time -v "$quillmark" publish "$work/big.pp5" "$work/out/index.html" 2>&1 >/dev/null |
  grep -E 'Maximum resident set size' | sed 's/^\s*/  GNU time, 1 GiB video: /'
