#!/usr/bin/env bash
# Draws the equirectangular demo clip the demo project and the player tests use.
#
#   tools/demo/make-clip.sh [--black-areas] OUTDIR [SECONDS]
#
# Writes OUTDIR/demo.mp4 (H.264 + AAC, yuv420p, faststart) and OUTDIR/demo.webm
# (VP8 + Opus); with --black-areas OUTDIR/demo-black.mp4 and demo-black.webm, whose
# picture is 3:1 with black zones above and below it to fill a 2:1 frame.
#
# Layout (tools/demo/sectors.json holds the same figures for tests):
# the frame is 1280 x 640; yaw 0 is the horizontal middle and yaw grows to the
# right, 360 degrees across the width. Twelve 30-degree sectors, each centred on
# its label "0", "30", ... "180", "-150", ... "-30", are filled with their own
# saturated colour; a pale sky band runs along the top, a brown floor band along
# the bottom, and a white progress bar just above the floor grows with the time.
# Every sector shows the running time in seconds with one decimal; the sound is
# a quiet 440 Hz tone.
set -euo pipefail

usage() {
  echo "usage: $0 [--black-areas] OUTDIR [SECONDS]" >&2
  exit 2
}

black_areas=0
args=()
for a in "$@"; do
  case $a in
    --black-areas) black_areas=1 ;;
    -h | --help) usage ;;
    -*) usage ;;
    *) args+=("$a") ;;
  esac
done
((${#args[@]} >= 1 && ${#args[@]} <= 2)) || usage
out_dir=${args[0]}
seconds=${args[1]:-10}
[[ $seconds =~ ^[0-9]+(\.[0-9]+)?$ ]] && awk -v s="$seconds" 'BEGIN { exit !(s >= 1 && s <= 600) }' ||
  { echo "SECONDS must be a number from 1 to 600" >&2; exit 2; }

command -v ffmpeg >/dev/null || { echo "ffmpeg is missing (scripts/setup.sh installs it)" >&2; exit 3; }
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
[[ -f $font ]] || { echo "$font is missing (package fonts-dejavu-core)" >&2; exit 3; }
mkdir -p "$out_dir"

readonly width=1280 height=640
if ((black_areas)); then
  # A 3:1 picture centred in the 2:1 frame.
  picture_height=$((width / 3 / 2 * 2))
  name=demo-black
else
  picture_height=$height
  name=demo
fi
top=$(((height - picture_height) / 2))

# Sector colours by label, from yaw 0 rightwards round the circle (RRGGBB).
labels=(0 30 60 90 120 150 180 -150 -120 -90 -60 -30)
colours=(FF0000 FF8000 FFFF00 80FF00 00FF00 00FF80 00FFFF 0080FF 0000FF 8000FF FF00FF FF0080)
readonly sky=AAD2FF floor=5A3C1E bar=FFFFFF

# Bands of the picture: sky above 45 degrees up, floor below 45 degrees down.
band=$((picture_height / 4))
bar_height=$((picture_height / 40))
bar_y=$((picture_height - band - bar_height))

column_of() { # x of a yaw in the frame, rounded
  awk -v y="$1" -v w=$width 'BEGIN { printf "%d", w / 2 + y * w / 360 + (y >= 0 ? 0.5 : -0.5) }'
}

graph=$(mktemp)
trap 'rm -f "$graph"' EXIT
{
  printf 'color=c=0x%s:s=%dx%d:r=25:d=%s' "$sky" $width "$picture_height" "$seconds"
  for i in "${!labels[@]}"; do
    yaw=${labels[$i]}
    left=$(column_of $((yaw - 15)))
    right=$(column_of $((yaw + 15)))
    if ((yaw == 180)); then
      # The sector behind the viewer wraps round the frame's edges.
      printf ',drawbox=x=%d:y=%d:w=%d:h=%d:color=0x%s:t=fill' "$left" "$band" $((width - left)) \
        $((picture_height - 2 * band)) "${colours[$i]}"
      left=0
      right=$(column_of -165)
    fi
    printf ',drawbox=x=%d:y=%d:w=%d:h=%d:color=0x%s:t=fill' "$left" "$band" $((right - left)) \
      $((picture_height - 2 * band)) "${colours[$i]}"
  done
  printf ',drawbox=x=0:y=%d:w=%d:h=%d:color=0x%s:t=fill' $((picture_height - band)) $width "$band" "$floor"
  printf '[base];color=c=0x%s:s=%dx%d:r=25:d=%s[bar];' "$bar" $width "$bar_height" "$seconds"
  printf "[base][bar]overlay=x='-w+W*t/%s':y=%d:eval=frame" "$seconds" "$bar_y"
  label_size=$((width / 36))
  time_size=$((width / 54))
  for yaw in "${labels[@]}"; do
    x=$(column_of "$yaw")
    ((yaw == 180)) && x=0 # drawn twice, half at each edge
    for cx in $x $((yaw == 180 ? width : x)); do
      printf ",drawtext=fontfile=%s:fontsize=%d:fontcolor=white:borderw=3:bordercolor=black" "$font" "$label_size"
      printf ":x=%d-text_w/2:y=%d-text_h:text='%s'" "$cx" $((picture_height / 2 - 4)) "$yaw"
      printf ",drawtext=fontfile=%s:fontsize=%d:fontcolor=white:borderw=2:bordercolor=black" "$font" "$time_size"
      printf ":x=%d-text_w/2:y=%d" "$cx" $((picture_height / 2 + 8))
      printf ":text='%%{eif\\:trunc(t+0.0001)\\:d}.%%{eif\\:mod(trunc(t*10+0.0001)\\,10)\\:d}'"
      ((yaw == 180)) || break
    done
  done
  if ((black_areas)); then
    printf ',pad=%d:%d:0:%d:black' $width $height $top
  fi
  printf ',format=yuv420p,split[v1][v2];'
  printf 'sine=f=440:d=%s:sample_rate=48000,volume=0.3,asplit[a1][a],[a]asetnsamples=n=960:p=0[a2]\n' "$seconds"
} >"$graph"

ffmpeg -hide_banner -loglevel error -y -filter_complex_script "$graph" \
  -map '[v1]' -map '[a1]' -c:v libx264 -preset veryfast -crf 20 -g 25 -pix_fmt yuv420p \
  -c:a aac -b:a 96k -movflags +faststart "$out_dir/$name.mp4" \
  -map '[v2]' -map '[a2]' -c:v libvpx -deadline realtime -cpu-used 8 -b:v 2M -crf 10 -g 25 \
  -c:a libopus -b:a 64k "$out_dir/$name.webm"
echo "$out_dir/$name.mp4"
echo "$out_dir/$name.webm"
