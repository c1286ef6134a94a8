#!/usr/bin/env bash
# Media figures on a 1 GB video whose index is at the end: the probe's time,
# the index-first copy against a plain copy and cp, and the cost of progress
# (the copies in interleaved rounds; medians and best times).
# Usage: [ROUNDS=5] tools/bench/media.sh [BUILD_DIR]   (the video is made once in BUILD_DIR/bench-media)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=$build/bench-media
mkdir -p "$work"
cmake --build "$build" --target media_bench quillmark >/dev/null
# About 17 minutes at 8 Mbit/s with sound, so that the index is as long as a
# real video's of that size (some 30 000 frames and 47 000 sound packets).
big=$work/big-17min-index-at-end.mp4
if [[ ! -f $big ]]; then
  echo "making a 1 GB video with its index at the end (once)..."
  ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi \
    -i "testsrc2=size=1920x960:rate=30,noise=alls=30:allf=t" -f lavfi -i sine=frequency=440 -t 4 \
    -c:v libx264 -preset ultrafast -b:v 8M -maxrate 8M -bufsize 16M -pix_fmt yuv420p \
    -c:a aac -b:a 128k -shortest "$work/part.mp4"
  part=$(stat -c %s "$work/part.mp4")
  loops=$((1000000000 / part))
  ffmpeg -hide_banner -loglevel error -nostdin -y -stream_loop "$loops" -i "$work/part.mp4" -c copy "$big"
  rm -f "$work/part.mp4"
fi
"$build/media_bench" "$big" "$work" "${ROUNDS:-5}"
/usr/bin/time -f "quillmark check (process, module load included): %e s" \
  "$build/quillmark" check "$big" >/dev/null || true
