#!/usr/bin/env bash
# The Debian package as a user meets it: `apt install ./quillmark_*.deb`, the
# installed command line publishes a project, the installed window opens
# (offscreen, to its first paint), a .pp5 file is a "Quillmark project" that
# xdg-open hands to Quillmark, and `apt remove` leaves none of its files.
# Installing needs root; the test is skipped (77) otherwise, and also when a
# quillmark package this test did not install is present.
#   package_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src=${1:?usage: package_test.sh SOURCE_DIR BUILD_DIR}
build=${2:?usage: package_test.sh SOURCE_DIR BUILD_DIR}
if [[ $(id -u) -ne 0 ]]; then
  echo "skipped: installing a package needs root"
  exit 77
fi
if dpkg-query -W -f='${Status}' quillmark 2>/dev/null | grep -q 'install ok installed'; then
  echo "skipped: a quillmark package is installed already; it is left alone"
  exit 77
fi
work=$(mktemp -d)
failed=0
fail() { echo "FAILED: $*" >&2; failed=1; }
export DEBIAN_FRONTEND=noninteractive
cleanup() {
  dpkg-query -W quillmark >/dev/null 2>&1 && apt-get remove -y -qq quillmark >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; echo "FAILED: cpack"; exit 1; }
deb=$(ls "$work"/pkg/quillmark_*_amd64.deb 2>/dev/null | head -1)
[[ -n $deb ]] || { echo "FAILED: no quillmark_VERSION_amd64.deb"; exit 1; }
apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; echo "FAILED: apt install"; exit 1; }
mapfile -t files < <(dpkg -L quillmark | while read -r f; do [[ -f $f ]] && echo "$f"; done)

[[ $(command -v quillmark) == /usr/bin/quillmark ]] || fail "quillmark is not /usr/bin/quillmark"
version=$(quillmark --version) || fail "quillmark --version"
echo "installed: $version"
[[ -f /usr/share/doc/quillmark/tv360_player.pdf ]] || fail "the user guide is not installed"
man -w quillmark >/dev/null 2>&1 || fail "man quillmark finds no page"

# The installed command line writes and publishes the demo project.
"$src/tools/demo/make-clip.sh" "$work/clip" 2 >/dev/null || fail "the demo clip"
"$src/tools/demo/make-project.sh" quillmark "$work/tour.pp5" "$work/clip/demo.mp4" \
  "$work/clip/demo.webm" >/dev/null || fail "the demo project with the installed executable"
quillmark publish "$work/tour.pp5" "$work/site/index.html" >/dev/null 2>&1 ||
  fail "publishing with the installed executable"
[[ -f $work/site/tv360_player.html && -f $work/site/demo.webm ]] || fail "no package was written"
# The installed media probe (its module under /usr/lib, FFmpeg's libraries as dependencies).
quillmark check "$work/clip/demo.mp4" 2>&1 | grep -q '^  video      h264' ||
  fail "the installed check does not read the clip: $(quillmark check "$work/clip/demo.mp4" 2>&1)"

# The installed window opens: the module is found under /usr/lib.
probe() {
  (cd "$work" && HOME="$work" QT_QPA_PLATFORM=offscreen QT_MEDIA_BACKEND=gstreamer \
    QM_STARTUP_PROBE=1 timeout 60 "$@" 2>>"$work/window.err")
}
probe quillmark | grep -q '^shown-at-ns' || fail "the installed window did not paint: $(cat "$work/window.err")"

# The desktop knows the project type and opens it with Quillmark (gio reads
# the shared MIME database; xdg-mime names the default application).
type=$(gio info -a standard::content-type "$work/tour.pp5" | awk '/content-type/ {print $2}')
[[ $type == application/x-quillmark-project ]] || fail "tour.pp5 is '$type'"
[[ $(xdg-mime query default application/x-quillmark-project) == org.quillmark.Quillmark.desktop ]] ||
  fail "the default for projects is '$(xdg-mime query default application/x-quillmark-project)'"
probe gio open "$work/tour.pp5" | grep -q '^shown-at-ns' ||
  fail "gio open tour.pp5 did not start Quillmark: $(cat "$work/window.err")"
desktop-file-validate /usr/share/applications/org.quillmark.Quillmark.desktop ||
  fail "the installed desktop entry is not valid"

apt-get remove -y -qq quillmark >"$work/apt.log" 2>&1 || fail "apt remove: $(cat "$work/apt.log")"
for f in "${files[@]}"; do
  [[ -e $f ]] && fail "left behind: $f"
done
[[ -e /usr/lib/x86_64-linux-gnu/quillmark || -e /usr/lib/quillmark ]] && fail "the module folder is left"
[[ $(xdg-mime query default application/x-quillmark-project) == "" ]] ||
  fail "projects still open with '$(xdg-mime query default application/x-quillmark-project)'"
echo "${#files[@]} installed files, none left after removal"
exit $failed
