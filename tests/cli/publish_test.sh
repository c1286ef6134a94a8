#!/usr/bin/env bash
# quillmark publish end to end: exit codes, messages and the package.
# Usage: publish_test.sh QUILLMARK FIXTURE_TOOL WORK_DIR
set -uo pipefail
quillmark=$1
fixture=$2
work=$3
rm -rf "$work" && mkdir -p "$work"
"$fixture" "$work" || { echo "fixture failed"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run NAME EXPECTED_EXIT ARGS...: output in $work/NAME.out and NAME.err
run() {
  local name=$1 expected=$2
  shift 2
  "$quillmark" publish "$@" >"$work/$name.out" 2>"$work/$name.err"
  local got=$?
  [[ $got == "$expected" ]] || fail "$name: exit $got, expected $expected ($(cat "$work/$name.err"))"
}
has() { grep -qF -- "$2" "$1" || fail "$1 lacks: $2"; }
lacks() { ! grep -qF -- "$2" "$1" || fail "$1 holds: $2"; }

before=$(sha256sum "$work/ok.pp5")

run plain 0 "$work/ok.pp5" "$work/out/demo" --no-scramble
has "$work/out/js/ctr/cn0.js" "   var fov = 120;"
has "$work/out/js/ctr/cn0.js" 'HotSpotItem_title[1] = "Зал (1)";'
has "$work/out/js/ctr/cn0.js" 'HotSpotItem_title[2] = "Entrée du musée";'
has "$work/out/js/ctr/cn0.js" 'HotSpotItem_link[2]  = "https://example.org/musée";'
has "$work/out/tv360_player.html" "<title>Тур по дому</title>"
has "$work/out/start_test_demo.bat" "start http://127.0.0.1:8000/demo.html"
[[ -f $work/out/demo.html && -f $work/out/tour.mp4 && -f $work/out/images/hs10.gif ]] ||
  fail "package incomplete"
has "$work/plain.out" "Publishing succeeded: $work/out"
has "$work/plain.out" "quillmark serve $work/out  (then open demo.html at the address it prints)"
lacks "$work/plain.err" "Publishing succeeded"
[[ $(sha256sum "$work/ok.pp5") == "$before" ]] || fail "the project file was rewritten"

run flags 0 "$work/ok.pp5" "$work/out/demo.HTML" --manual-size 0700x0350 --muted \
  --lock-fullscreen --manual-tilt 45 --no-scramble
has "$work/out/js/ctr/cn0.js" "   var RENDER_X = 700;"
has "$work/out/js/ctr/cn0.js" "   var vertmax = 45;"
has "$work/out/js/ctr/cn0.js" "   var OS_BLOCK_FULL_SCREEN = 1;"
has "$work/out/tv360_player.html" 'style="display:none" muted'
has "$work/out/demo.HTML" "width=700 height=350 scrolling='no'"
has "$work/out/start_test_demo.bat" "start http://127.0.0.1:8000/demo.HTML"

run folder 0 "$work/ok.pp5" "$work/site/"
[[ -f $work/site/index.html ]] || fail "a folder did not get index.html"
has "$work/site/start_test_index.bat" "start http://127.0.0.1:8000/index.html"

run small 0 "$work/ok.pp5" "$work/out/demo" --manual-size 319x100
has "$work/small.err" "Минимальный размер ширины окна - 320 pix"
has "$work/out/demo.html" "width=550 height=400 scrolling='no'"
head -c 19 "$work/out/js/ctr/cn0.js" | grep -qF "function unknown(){" || fail "cn0.js not scrambled"

(cd "$work" && "$quillmark" publish ok.pp5 rel/page >/dev/null 2>&1) || fail "relative paths"
[[ -f $work/rel/page.html && -f $work/rel/start_test_page.bat ]] || fail "relative output not in cwd"

run novideo 1 "$work/novideo.pp5" "$work/none/a.html"
has "$work/novideo.err" "quillmark publish: Предупреждение !"
has "$work/novideo.err" "Видео файл не выбран !"
run missing 1 "$work/missing.pp5" "$work/none/a.html"
has "$work/missing.err" "Видео файл не найден"
run avi 1 "$work/avi.pp5" "$work/none/a.html"
has "$work/avi.err" "Данный формат видео не поддерживается"
[[ ! -e $work/none ]] || fail "a refused publication wrote files"

run readonly 3 "$work/ok.pp5" "/proc/tour.html"
lacks "$work/readonly.err" "Publishing succeeded"
has "$work/readonly.err" "/proc/tour.mp4"
run noproject 3 "$work/absent.pp5" "$work/out/a.html"
has "$work/noproject.err" "quillmark publish: $work/absent.pp5: the file does not exist"
chmod a-w "$work/out/demo.html"
run readonlypage 3 "$work/ok.pp5" "$work/out/demo.html"
has "$work/readonlypage.err" "quillmark publish: the file is read-only"

run badsize 2 "$work/ok.pp5" "$work/out/a.html" --manual-size 700
run badtilt 2 "$work/ok.pp5" "$work/out/a.html" --manual-tilt 4x
run noargs 2

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "quillmark publish: all checks passed"
