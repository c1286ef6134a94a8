#!/usr/bin/env bash
# Writes the demo project: the demo clip's files as the videos, a title, a few
# options and five hot spots at the clip's labelled directions, each inside its
# own time window. Used by scripts/demo.sh and the publisher benchmarks.
#
#   tools/demo/make-project.sh QUILLMARK PROJECT.pp5 VIDEO1 [VIDEO2 [VIDEO3]]
set -euo pipefail
(($# >= 3 && $# <= 5)) || { echo "usage: $0 QUILLMARK PROJECT.pp5 VIDEO1 [VIDEO2 [VIDEO3]]" >&2; exit 2; }
quillmark=$1
project=$2
shift 2

"$quillmark" new --force "$project" "$@"
"$quillmark" set "$project" \
  HTMLTITLE "Quillmark demo: a walk round the colour wheel" \
  WINDOW 11 ZOOM 8 AUDIO 4 MAXFPS 6 CONTROLS 1 STAT 0 HTMLBGCOLOR 1E1410 \
  HS_ICON0 200 HS_ICON1 205 HS_ICON2 210 HS_ICON3 215 HS_ICON4 220
"$quillmark" hotspot "$project" 1 --yaw 0 --pos 0.5 --time 4 \
  --link "https://www.qt.io/" --title "Straight ahead: red"
"$quillmark" hotspot "$project" 2 --yaw 90 --pos 1.5 --time 5 \
  --link "https://threejs.org/" --title "Right: chartreuse"
"$quillmark" hotspot "$project" 3 --yaw -90 --pos 3 --time 5 \
  --link "https://www.debian.org/" --title "Left: violet"
"$quillmark" hotspot "$project" 4 --yaw 180 --pos 5 --time 4.5 --self \
  --link "tv360_player.html" --title "Behind you: start again"
"$quillmark" hotspot "$project" 5 --yaw 30 --pos 7 --time 3 \
  --link "https://en.wikipedia.org/wiki/Equirectangular_projection" --title "Equirectangular"
