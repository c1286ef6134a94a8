#!/usr/bin/env bash
# check, new and publish with the media clips: findings, --json, --strict and
# the progress line (on a terminal only).
# Usage: cli_check.sh QUILLMARK CLIPS WORK
set -uo pipefail
q=$1 clips=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # expect EXIT NAME COMMAND...: output in NAME.out/NAME.err
  local want=$1 name=$2
  shift 2
  "$@" >"$name.out" 2>"$name.err"
  local got=$?
  [[ $got == "$want" ]] || fail "$name: exit $got, expected $want: $(cat "$name.err")"
}
has() { grep -qF -- "$2" "$1" || fail "$1 lacks: $2"; }
lacks() { ! grep -qF -- "$2" "$1" || fail "$1 holds: $2"; }

expect 0 good "$q" check "$clips/good.mp4"
has good.out "h264 Constrained Baseline, 256 × 128 (2.00:1), 25 fps"
has good.out "index      first"
for level in error: warning: note:; do lacks good.out "$level"; done
expect 1 bad "$q" check "$clips/hevc.mp4" "$clips/wide16x9.mp4"
has bad.out "error: its video is HEVC (H.265)"
has bad.out "warning: is 320 × 180 (1.78:1), not 2:1"
expect 1 json "$q" check --json "$clips/end.mp4" "$clips/clip.mkv" "$clips/notvideo.mp4"
python3 - json.out <<'PY' || fail "check --json"
import json, sys
data = json.load(open(sys.argv[1]))
assert [d["readable"] for d in data] == [True, True, False], data
assert data[0]["facts"]["index"] == "end" and data[0]["publishing"]["indexMovedFirst"]
assert [f["code"] for f in data[1]["findings"]] == ["container"]
assert data[2]["findings"][0]["level"] == "error" and data[2]["facts"] is None
PY

# A file name's control bytes are shown, not sent to the terminal.
cp "$clips/wide16x9.mp4" $'esc\e[2J.mp4'
expect 0 esc "$q" check $'esc\e[2J.mp4'
has esc.out 'esc\x1b[2J.mp4'
! grep -q $'\e' esc.out || fail "check printed a raw escape"

# new says it at once; the project is written all the same.
expect 0 new "$q" new tour.pp5 "$clips/wide16x9.mp4"
has new.err "quillmark new: warning: $clips/wide16x9.mp4: is 320 × 180 (1.78:1), not 2:1"
expect 0 newmkv "$q" new mkv.pp5 "$clips/clip.mkv"
has newmkv.err "error: $clips/clip.mkv: the player page cannot name the type of .mkv files"
expect 1 pubmkv "$q" publish mkv.pp5 mkv/index.html
has pubmkv.err "Данный формат видео не поддерживается"
has pubmkv.err "quillmark publish: error: $clips/clip.mkv: the player page cannot name"

# --strict stops on an error before anything is written; without it, a warning.
expect 0 hevc "$q" new hevc.pp5 "$clips/hevc.mp4"
expect 1 strict "$q" publish hevc.pp5 strict/index.html --strict
has strict.err "error: $clips/hevc.mp4: its video is HEVC"
[[ ! -e strict ]] || fail "--strict wrote files"
expect 0 loose "$q" publish hevc.pp5 loose/index.html
has loose.err "quillmark publish: error: $clips/hevc.mp4"
lacks loose.err "Copying videos"
[[ -f loose/hevc.mp4 ]] || fail "the video was not copied"

# On a terminal the copies show their progress.
script -qec "'$q' publish tour.pp5 tty/index.html" /dev/null >tty.out 2>&1 ||
  fail "publish on a terminal: $(cat tty.out)"
has tty.out "Copying videos: "
has tty.out "(100 %)"

((failures)) && { echo "$failures check(s) failed"; exit 1; }
echo "media command line: all checks passed"
