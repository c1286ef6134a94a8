#!/usr/bin/env bash
# Draws the tiny clips of the media tests, one per finding, into OUTDIR.
# Usage: make_clips.sh OUTDIR
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
src() { echo "testsrc=size=$1:rate=25"; }
x264=(-c:v libx264 -preset ultrafast -pix_fmt yuv420p)
aac=(-f lavfi -i sine=frequency=440:sample_rate=22050)

ff -f lavfi -i "$(src 256x128)" "${aac[@]}" -t 0.4 "${x264[@]}" -c:a aac -b:a 32k -shortest \
  -movflags +faststart good.mp4
ff -i good.mp4 -c copy end.mp4                 # the muxer's default: index at the end
ff -i good.mp4 -c copy h264.mov
ff -i good.mp4 -c copy clip.mkv
ff -i good.mp4 -map 0:a -c copy audio.mp4
ff -f lavfi -i "$(src 256x128)" "${aac[@]}" -t 0.4 -c:v libx265 -x265-params log-level=none \
  -pix_fmt yuv420p -tag:v hvc1 -c:a aac -b:a 32k -shortest hevc.mp4
ff -f lavfi -i "$(src 128x64)" -t 0.2 -c:v prores_ks -profile:v 0 prores.mov
ff -f lavfi -i "$(src 320x180)" -t 0.2 "${x264[@]}" -movflags +faststart wide16x9.mp4
ff -f lavfi -i color=c=blue:size=4352x2176:rate=25 -frames:v 1 "${x264[@]}" -movflags +faststart \
  wide4352.mp4
ff -f lavfi -i color=c=blue:size=8448x4224:rate=25 -frames:v 1 "${x264[@]}" -movflags +faststart \
  wide8448.mp4
ff -i good.mp4 -c copy -metadata:s:v:0 rotate=90 -movflags +faststart rotated.mp4
# One frame of noise kept almost whole, lasting a hundredth of a second.
ff -f lavfi -i "nullsrc=size=320x160:rate=100,geq=random(1)*255:128:128" -frames:v 1 \
  -c:v libx264 -preset ultrafast -qp 1 -pix_fmt yuv420p -movflags +faststart highrate.mp4
ff -f lavfi -i "$(src 256x128)" "${aac[@]}" -t 0.2 "${x264[@]}" -c:a pcm_s16le -shortest pcm.mov
printf 'This is a text file with a video name.\n' >notvideo.mp4
head -c 3000 end.mp4 >truncated.mp4
