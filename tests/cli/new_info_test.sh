#!/usr/bin/env bash
# `quillmark new` and `quillmark info` end to end in a scratch folder.
# Usage: new_info_test.sh path/to/quillmark
set -u
QM=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expect_exit() { # expected-code description command...
  local expected=$1 what=$2
  shift 2
  "$@" >"$WORK/out.txt" 2>"$WORK/err.txt"
  local got=$?
  [[ $got -eq $expected ]] || fail "$what: exit $got, expected $expected ($(cat "$WORK/err.txt"))"
}

expect_line() { # file line description
  grep -qxF -- "$2" "$1" || fail "$3: missing line [$2]"
}

mkdir videos
printf 'not really a video' >videos/tour.mp4
printf 'not really a video' >videos/tour.webm

expect_exit 0 "new with two videos" "$QM" new demo videos/tour.mp4 videos/tour.webm
[[ -f demo.pp5 ]] || fail "new did not append .pp5"
lines=$(grep -c $'\r$' demo.pp5)
[[ $lines -eq 102 ]] || fail "project has $lines CR LF lines, expected 102"
[[ $(wc -l <demo.pp5) -eq 102 ]] || fail "project is not 102 lines"
tr -d '\r' <demo.pp5 >demo.txt
expect_line demo.txt "<VIDEO1>$WORK/videos/tour.mp4</VIDEO1>" "absolute VIDEO1"
expect_line demo.txt "<VIDEO2>$WORK/videos/tour.webm</VIDEO2>" "absolute VIDEO2"
expect_line demo.txt "<VIDEO3></VIDEO3>" "empty VIDEO3"
expect_line demo.txt "<LOADDIR>$WORK/videos</LOADDIR>" "LOADDIR is the first video's folder"
expect_line demo.txt "<SAVEDIR>$WORK</SAVEDIR>" "SAVEDIR is the current directory"
expect_line demo.txt "<WINDOW>3</WINDOW>" "default window"
expect_line demo.txt "<HSYAW10>.000</HSYAW10>" "empty slot 10"

expect_exit 1 "new over an existing project" "$QM" new demo.pp5 videos/tour.mp4
expect_exit 0 "new --force" "$QM" new --force demo.pp5 videos/tour.mp4
expect_exit 1 "new with a missing video" "$QM" new other.pp5 videos/none.mp4
[[ ! -e other.pp5 ]] || fail "a refused new wrote a file"
expect_exit 2 "new without videos" "$QM" new demo.pp5
expect_exit 2 "new with four videos" "$QM" new x.pp5 videos/tour.mp4 videos/tour.mp4 \
  videos/tour.mp4 videos/tour.mp4

# A hot spot in slot 2 and a Cyrillic title, written as Windows-1251 bytes.
sed -i -e 's#<HSPOS2>0</HSPOS2>#<HSPOS2>12.5</HSPOS2>#' \
  -e 's#<HSLINK2></HSLINK2>#<HSLINK2>http://example.com/</HSLINK2>#' \
  -e 's#<HSYAW2>.000</HSYAW2>#<HSYAW2>-90.000</HSYAW2>#' \
  -e 's#<HSTIME2>.000</HSTIME2>#<HSTIME2>5.000</HSTIME2>#' \
  -e $'s#<HSTITLE2></HSTITLE2>#<HSTITLE2>\xD2\xF3\xF0</HSTITLE2>#' \
  -e 's#<HS_ICON1>0</HS_ICON1>#<HS_ICON1>205</HS_ICON1>#' \
  -e 's#<HSPOS3>0</HSPOS3>#<HSPOS3>1</HSPOS3>#' -e 's#<HS_ICON2>0</HS_ICON2>#<HS_ICON2>199</HS_ICON2>#' \
  -e 's#<AUDIO>6</AUDIO>#<AUDIO>0</AUDIO>#' demo.pp5

expect_exit 0 "info" "$QM" info demo.pp5
cp "$WORK/out.txt" info.txt
expect_line info.txt '  WINDOW          3  "03.550x400"' "info window item"
expect_line info.txt '  PITCH           1  " auto"' "info item text with its blank"
expect_line info.txt '  AUDIO           0  (nothing selected; publishes "50%")' "info no selection"
expect_line info.txt "  VIDEO1          $WORK/videos/tour.mp4" "info video 1"
expect_line info.txt '  VIDEO2          (none)' "info video 2 after --force"
expect_line info.txt 'Hot spots: 2 of 10 slots in use' "info hot spot count"
expect_line info.txt '  Hot Spot 02' "info slot label"
expect_line info.txt '    yaw    -90' "info yaw"
expect_line info.txt '    pos    12.5 s' "info pos"
expect_line info.txt '    title  "Тур"' "info Cyrillic title"
expect_line info.txt '    link   "http://example.com/"' "info link"
expect_line info.txt '    icon   icon 5 (code 205)' "info icon"
expect_line info.txt '    icon   code 199 is no icon (publishes icon 0)' "info icon code out of range"

# A video name that Windows-1251 cannot hold is stored and shown exactly.
printf 'not really a video' >"videos/Führung café.mp4"
expect_exit 0 "new with a name outside Windows-1251" "$QM" new tour "videos/Führung café.mp4"
expect_exit 0 "info of that project" "$QM" info tour.pp5
expect_line "$WORK/out.txt" "  VIDEO1          $WORK/videos/Führung café.mp4" "info shows the name"

expect_exit 3 "info on a missing file" "$QM" info missing.pp5
grep -qF "missing.pp5" "$WORK/err.txt" || fail "info error names the file"
expect_exit 2 "info without a file" "$QM" info
expect_exit 0 "--help" "$QM" --help
expect_exit 0 "new --help" "$QM" new --help
expect_exit 0 "--version" "$QM" --version
grep -qE '^[0-9]+\.[0-9]+\.[0-9]+' "$WORK/out.txt" || fail "--version prints a version"
expect_exit 2 "unknown subcommand" "$QM" frobnicate

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "new/info: all checks passed"
