#!/usr/bin/env bash
# The executable and the window's module as built: the command line loads no
# Qt library, the window opens through the module (offscreen, until its first
# paint), and a missing module is reported instead of crashing.
#   desktop_module_test.sh QUILLMARK MODULE
set -uo pipefail
quillmark=${1:?usage: desktop_module_test.sh QUILLMARK MODULE}
module=${2:?usage: desktop_module_test.sh QUILLMARK MODULE}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAILED: $*" >&2; failed=1; }

needed=$(readelf -d "$quillmark" | grep NEEDED)
[[ -n $needed ]] || fail "readelf lists no libraries of $quillmark"
if grep -qi 'libQt' <<<"$needed"; then fail "the executable loads Qt: $needed"; fi
grep -q 'libQt6Widgets' <(readelf -d "$module") || fail "the module does not link Qt Widgets"

# The module exports its entry and nothing of the core.
exports=$(nm -D --defined-only "$module" | awk '{print $3}')
grep -qx 'quillmark_run_desktop' <<<"$exports" || fail "quillmark_run_desktop is not exported"
if grep -q 'qm' <<<"$exports"; then fail "the module exports core symbols: $(grep qm <<<"$exports" | head -3)"; fi

# Offscreen, the probe ends the program after the window's first paint.
out=$(cd "$work" && QT_QPA_PLATFORM=offscreen QT_MEDIA_BACKEND=gstreamer QM_STARTUP_PROBE=1 \
  timeout 60 "$quillmark" 2>"$work/window.err")
status=$?
[[ $status -eq 0 ]] || fail "the window run ended with $status: $(cat "$work/window.err")"
grep -q '^shown-at-ns [0-9]\+$' <<<"$out" || fail "the window was not painted: $out"

# The executable alone, without its module beside it.
cp "$quillmark" "$work/quillmark"
(cd "$work" && ./quillmark >"$work/alone.out" 2>"$work/alone.err")
status=$?
[[ $status -eq 3 ]] || fail "without the module the exit code is $status, not 3"
grep -q "^quillmark: the desktop window cannot start: .*quillmark_desktop.so" "$work/alone.err" ||
  fail "no message names the missing module: $(cat "$work/alone.err")"
"$work/quillmark" --version >/dev/null || fail "the command line needs the module"

exit $failed
