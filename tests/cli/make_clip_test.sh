#!/usr/bin/env bash
# Draws both demo clip variants (2 s each) and checks them against
# tools/demo/sectors.json: containers, codecs, size, duration, faststart, and
# the colours of the sectors, sky, floor, black zones and the progress bar.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$source_dir/tools/demo/make-clip.sh" "$work" 2 >/dev/null
"$source_dir/tools/demo/make-clip.sh" --black-areas "$work" 2 >/dev/null
# Usage errors exit 2.
for bad in "" "$work 0" "$work 2 3" "--bogus $work"; do
  if "$source_dir/tools/demo/make-clip.sh" $bad 2>/dev/null; then
    echo "make-clip.sh accepted: '$bad'" >&2
    exit 1
  fi
done

for name in demo demo-black; do
  for ext in mp4 webm; do
    file=$work/$name.$ext
    [[ -s $file ]] || { echo "$file is missing" >&2; exit 1; }
    ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,pix_fmt,r_frame_rate \
      -show_entries format=duration -of json "$file" >"$file.json"
  done
  # Frames at 1.0 s as raw RGB for the pixel checks.
  ffmpeg -v error -ss 1.0 -i "$work/$name.mp4" -frames:v 1 -f rawvideo -pix_fmt rgb24 "$work/$name.mp4.rgb"
  ffmpeg -v error -ss 1.0 -i "$work/$name.webm" -frames:v 1 -f rawvideo -pix_fmt rgb24 "$work/$name.webm.rgb"
done

python3 - "$work" "$source_dir/tools/demo/sectors.json" <<'PY'
import json, sys
work, layout_path = sys.argv[1], sys.argv[2]
layout = json.load(open(layout_path))
W, H = layout["frame"]["width"], layout["frame"]["height"]
failures = []

def check(ok, what):
    if not ok:
        failures.append(what)

def moov_before_mdat(path):
    data = open(path, "rb").read()
    offset, order = 0, []
    while offset + 8 <= len(data):
        size = int.from_bytes(data[offset:offset + 4], "big")
        order.append(data[offset + 4:offset + 8].decode("latin-1"))
        if size < 8:
            break
        offset += size
    return "moov" in order and "mdat" in order and order.index("moov") < order.index("mdat")

def distance(a, b):
    return sum((x - y) ** 2 for x, y in zip(a, b)) ** 0.5

for name, variant in (("demo", layout["normal"]), ("demo-black", layout["blackAreas"])):
    for ext, video_codec, audio_codec in (("mp4", "h264", "aac"), ("webm", "vp8", "opus")):
        label = f"{name}.{ext}"
        probe = json.load(open(f"{work}/{label}.json"))
        video = [s for s in probe["streams"] if s["codec_type"] == "video"]
        audio = [s for s in probe["streams"] if s["codec_type"] == "audio"]
        check(len(video) == 1 and len(audio) == 1, f"{label}: one video and one audio stream")
        check(video[0]["codec_name"] == video_codec, f"{label}: video codec {video[0]['codec_name']}")
        check(audio[0]["codec_name"] == audio_codec, f"{label}: audio codec {audio[0]['codec_name']}")
        check((video[0]["width"], video[0]["height"]) == (W, H), f"{label}: size")
        check(video[0]["pix_fmt"] == "yuv420p", f"{label}: pixel format")
        check(video[0]["r_frame_rate"] == "25/1", f"{label}: frame rate")
        duration = float(probe["format"]["duration"])
        check(abs(duration - 2.0) < 0.1, f"{label}: duration {duration}")
        if ext == "mp4":
            check(moov_before_mdat(f"{work}/{label}"), f"{label}: not faststart")

        frame = open(f"{work}/{label}.rgb", "rb").read()
        check(len(frame) == W * H * 3, f"{label}: frame bytes")
        def pixel(x, y):
            i = (y * W + x) * 3
            return tuple(frame[i:i + 3])

        palette = {s["yaw"]: s["rgb"] for s in layout["sectors"]}
        row = variant["sectorRows"][0] + 8
        for sector in layout["sectors"]:
            for first, past in sector["columns"]:
                x = (first + past) // 2
                seen = pixel(x, row)
                nearest = min(palette, key=lambda yaw: distance(palette[yaw], seen))
                check(nearest == sector["yaw"],
                      f"{label}: column {x} shows {seen}, nearest sector {nearest}, wanted {sector['yaw']}")
        # Yaw 0 is the frame's middle, and yaw grows to the right.
        check(min(palette, key=lambda yaw: distance(palette[yaw], pixel(W // 2, row))) == 0,
              f"{label}: middle is not yaw 0")
        check(min(palette, key=lambda yaw: distance(palette[yaw], pixel(W // 2 + 107, row))) == 30,
              f"{label}: yaw 30 is not right of the middle")
        for band in ("sky", "floor"):
            first, past = variant[band]["rows"]
            seen = pixel(W // 3, (first + past) // 2)
            check(distance(seen, variant[band]["rgb"]) < 30, f"{label}: {band} shows {seen}")
        # Progress bar at 1 s of 2 s: white to about the middle, not beyond.
        bar_row = sum(variant["progressBar"]["rows"]) // 2
        check(distance(pixel(W // 4, bar_row), (255, 255, 255)) < 40, f"{label}: bar missing")
        check(distance(pixel(W * 3 // 4, bar_row), (255, 255, 255)) > 100, f"{label}: bar too long")
        if "black" in variant:
            for first, past in variant["black"]["rows"]:
                seen = pixel(W // 2, (first + past) // 2)
                check(max(seen) < 20, f"{label}: black zone shows {seen}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("demo clips match tools/demo/sectors.json")
PY
