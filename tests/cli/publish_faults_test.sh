#!/usr/bin/env bash
# quillmark publish under faults a person meets: a full disk, an unreadable
# video, a kill while the configuration script is written. Needs root (a
# small file system of its own, another user) and strace.
# Usage: publish_faults_test.sh QUILLMARK
set -uo pipefail
quillmark=$(realpath "$1")
[[ $(id -u) == 0 ]] || { echo "skipped: needs root"; exit 77; }
# Mounts of its own, gone with the script however it ends.
[[ -n ${QM_OWN_MOUNTS:-} ]] || QM_OWN_MOUNTS=1 exec unshare -m --propagation private bash "$0" "$@"
work=$(mktemp -d)
trap 'umount "$work/small" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
has() { grep -qF -- "$2" "$1" || fail "$1 lacks: $2 ($(cat "$1"))"; }
has_line() { grep -qxF -- "$2" "$1" || fail "$1 lacks the line: $2 ($(cat "$1"))"; }

cd "$work" && chmod 755 "$work"
head -c $((3 << 20)) /dev/urandom >tour.mp4
"$quillmark" new tour.pp5 tour.mp4 >/dev/null || fail "new"

# A disk with room for the package but not for the video: the copy's target
# is named with the real cause, and no partial copy stays.
mkdir small && mount -t tmpfs -o size=2m tmpfs small || fail "cannot mount a small file system"
"$quillmark" publish tour.pp5 small/index.html >out.txt 2>err.txt
[[ $? == 3 ]] || fail "full disk: exit $?"
has_line err.txt "quillmark publish: $work/small/tour.mp4"
has_line err.txt "quillmark publish: No space left on device"
[[ -z $(find small -name '*.qmtmp-*') ]] || fail "a partial copy was left"

# A video the user may not read is named, not the copy; nothing is written.
chmod 600 tour.mp4 && chmod 644 tour.pp5 && mkdir -m 777 shared
setpriv --reuid=65534 --regid=65534 --clear-groups \
  "$quillmark" publish tour.pp5 shared/index.html >out.txt 2>err.txt
[[ $? == 3 ]] || fail "unreadable video: exit $?"
has_line err.txt "quillmark publish: $work/tour.mp4"
has_line err.txt "quillmark publish: Permission denied"
[[ -z $(ls -A shared) ]] || fail "files were written before the video was found unreadable"

# The configuration script reaches the package once, already scrambled.
strace -f -qq -e trace=rename,renameat,renameat2 -o trace.txt \
  "$quillmark" publish tour.pp5 out/index.html >/dev/null 2>&1 || fail "publish under strace"
writes=$(grep -c 'js/ctr/cn0.js"' trace.txt)
[[ $writes == 1 ]] || fail "js/ctr/cn0.js was written $writes times"
head -c 19 out/js/ctr/cn0.js | grep -qF "function unknown(){" || fail "cn0.js not scrambled"

((failures)) && { echo "$failures check(s) failed"; exit 1; }
echo "quillmark publish under faults: all checks passed"
