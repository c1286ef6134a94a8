#!/usr/bin/env bash
# The demo: sets up the machine, builds, draws a demo clip, writes a demo
# project with hot spots, publishes it and shows it.
#
#   scripts/demo.sh [--no-serve] [--port N]
#
# With a display it opens the desktop window with the demo project while the
# package is served; without one it serves the package and prints the address.
# --no-serve (or DEMO_NO_SERVE=1) publishes and exits.
#
# Environment: DEMO_WORK and DEMO_OUT move the work and package folders
# (demo-work/ and demo-out/ by default); DEMO_CLIP_SECONDS sets the clip's
# length (10); QM_BUILD_DIR names an existing build to use instead of setting
# up and building into build/ (tests use it).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

no_serve=${DEMO_NO_SERVE:-0}
port=${DEMO_PORT:-8000}
while (($#)); do
  case $1 in
    --no-serve) no_serve=1 ;;
    --port)
      [[ $# -ge 2 && $2 =~ ^[0-9]+$ ]] || { echo "--port needs a number" >&2; exit 2; }
      port=$2
      shift
      ;;
    -h | --help)
      cat <<'USAGE'
Usage: scripts/demo.sh [--no-serve] [--port N]

Sets up the machine, builds, draws a demo clip, writes a demo project with hot
spots, publishes it into demo-out/ and shows it: with a display the desktop
window opens with the demo project while the package is served, without one
the package is served and its address printed (Ctrl+C ends it).

  --no-serve   publish and exit (also DEMO_NO_SERVE=1)
  --port N     serve on port N (8000; also DEMO_PORT)
  -h, --help   this text

Environment: DEMO_WORK and DEMO_OUT move the work and package folders,
DEMO_CLIP_SECONDS sets the clip's length (10), QM_BUILD_DIR names an existing
build to use instead of setting up and building into build/.
USAGE
      exit 0
      ;;
    *)
      echo "unknown argument: $1 (try --help)" >&2
      exit 2
      ;;
  esac
  shift
done

work=${DEMO_WORK:-$root/demo-work}
out=${DEMO_OUT:-$root/demo-out}

if [[ -n ${QM_BUILD_DIR:-} ]]; then
  quillmark=$QM_BUILD_DIR/quillmark
  [[ -x $quillmark ]] || { echo "$quillmark is missing: build it first" >&2; exit 3; }
else
  echo "== Setting up the machine"
  scripts/setup.sh
  echo "== Building"
  scripts/build.sh
  quillmark=$root/build/quillmark
fi

echo "== Demo clip"
if [[ -f $work/demo.mp4 && -f $work/demo.webm ]]; then
  echo "$work/demo.mp4 and demo.webm are there already"
else
  tools/demo/make-clip.sh "$work" "${DEMO_CLIP_SECONDS:-10}"
fi

echo "== Demo project"
project=$work/demo.pp5
tools/demo/make-project.sh "$quillmark" "$project" "$work/demo.mp4" "$work/demo.webm"
"$quillmark" info "$project"

echo "== Publishing into $out"
"$quillmark" publish "$project" "$out/index.html"

address="http://127.0.0.1:$port/index.html"
if ((no_serve)); then
  echo "Published: $out/index.html (serve it with: $quillmark serve $out)"
  exit 0
fi

if [[ -n ${DISPLAY:-} ]]; then
  echo "== Serving $out at $address while the desktop window is open"
  "$quillmark" serve "$out" --port "$port" &
  server=$!
  trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true' EXIT
  sleep 0.5
  kill -0 "$server" 2>/dev/null || { echo "the server did not start (is port $port in use? try --port)" >&2; exit 3; }
  echo "Open $address in a browser; close the window to end the demo."
  "$quillmark" open "$project"
else
  echo "== Serving $out: open $address in a browser (Ctrl+C ends the demo)"
  exec "$quillmark" serve "$out" --port "$port"
fi
