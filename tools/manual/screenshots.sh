#!/usr/bin/env bash
# Makes the pictures of the user guide in docs/manual/ from the demo project:
# the desktop window under Xvfb (slot 2 selected, its rows, the File menu and
# the icon chooser) and the published package in headless Chromium (the
# presentation page and the player with a hot spot). Run it after a build and
# commit the pictures; the build then writes them into tv360_player.pdf.
#
#   tools/manual/screenshots.sh [BUILD_DIR]
#
# Needs xvfb-run (scripts/setup.sh); installs imagemagick and xdotool with apt
# when they are missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=$(realpath "${1:-build}")
out=$root/docs/manual
[[ -x $build/quillmark && -f $build/quillmark_desktop.so ]] ||
  { echo "no quillmark in $build: build it first" >&2; exit 2; }

missing=()
command -v import >/dev/null || missing+=(imagemagick)
command -v xdotool >/dev/null || missing+=(xdotool)
if ((${#missing[@]})); then
  SUDO=""
  [[ $(id -u) -eq 0 ]] || SUDO="sudo"
  $SUDO apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A fixed folder: the window shows the videos' paths.
work=${TMPDIR:-/tmp}/quillmark-guide
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
# A copy of the program, so that no options file of the build folder changes the pictures.
mkdir "$work/bin"
cp "$build/quillmark" "$build/quillmark_desktop.so" "$build/quillmark_probe.so" "$work/bin/"
tools/demo/make-clip.sh "$work" 10 >/dev/null
tools/demo/make-project.sh "$work/bin/quillmark" "$work/demo.pp5" "$work/demo.mp4" "$work/demo.webm" >/dev/null
# A short page title keeps its box clear of the editor's picture, which shows the box's right part.
"$work/bin/quillmark" set "$work/demo.pp5" HTMLTITLE "Quillmark demo" >/dev/null

echo "== The window under Xvfb"
cat >"$work/window.sh" <<'INNER'
#!/usr/bin/env bash
# Runs on the virtual display: drives the window with xdotool and grabs the screen.
set -euo pipefail
work=$1
cd "$work"
QT_MEDIA_BACKEND=gstreamer bin/quillmark open demo.pp5 >window.log 2>&1 &
app=$!
trap 'kill "$app" 2>/dev/null || true' EXIT
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Quillmark[*]?$' | head -n1)
eval "$(xdotool getwindowgeometry --shell "$window")"
# The client area is the window's 1200 x 695 below the menu bar.
left=$X
top=$((Y + HEIGHT - 695))
click() { xdotool mousemove "$((left + $1))" "$((top + $2))" click 1; }
grab() { import -window root "$1"; }
crop() { convert root.png -crop "$1" +repage "$2"; }
sleep 6 # the project shows its slots one by one, then plays video 1

click 1050 226 # the selector "Hot Spot 02": seeks to the hot spot and pauses there
sleep 3
xdotool mousemove 0 0
sleep 0.5
grab root.png
crop "${WIDTH}x${HEIGHT}+${X}+${Y}" window.png
crop "690x130+$((left + 245))+$((top + 536))" editor.png
crop "255x300+$((left + 945))+$((top + 145))" rows.png

xdotool mousemove "$((X + 20))" "$((Y + 10))" click 1 # the "File " menu
sleep 1
grab root.png
crop "240x130+${X}+${Y}" menu.png
xdotool key Escape
sleep 0.5

click 985 237 # the icon button of row 2 opens the chooser
chooser=$(timeout 20 xdotool search --sync --onlyvisible --name 'Выбрать иконку' | head -n1)
sleep 1
eval "$(xdotool getwindowgeometry --shell "$chooser")"
grab root.png
crop "${WIDTH}x${HEIGHT}+${X}+${Y}" icons.png
INNER
chmod +x "$work/window.sh"
xvfb-run -a -s "-screen 0 1400x900x24" "$work/window.sh" "$work"

echo "== The published package in Chromium"
# The view turned to 30° so that the first two hot spots are both in sight.
"$work/bin/quillmark" set "$work/demo.pp5" YAW 3 >/dev/null
"$work/bin/quillmark" publish "$work/demo.pp5" "$work/package/index.html" >"$work/publish.log" 2>&1 ||
  { cat "$work/publish.log" >&2; exit 1; }
QM_QUILLMARK=$work/bin/quillmark node tools/manual/player-shots.mjs "$work/package" "$work"

# The browser pictures as JPEG; the window's flat parts as PNG with up to 256
# colours, not dithered, so that small text stays sharp. The repository
# carries them all.
for name in presentation player; do
  convert "$work/$name.png" -strip -quality 85 "$out/$name.jpg"
done
for name in window editor rows menu icons; do
  convert "$work/$name.png" -strip +dither -colors 256 "PNG8:$out/$name.png"
done
du -cb "$out"/*.jpg "$out"/*.png | tail -n1 | awk '{printf "pictures: %d KB in docs/manual/\n", $1 / 1024}'
