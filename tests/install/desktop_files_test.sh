#!/usr/bin/env bash
# The desktop entry and the AppStream data pass their validators, the project
# type names *.pp5, and the manual page names every subcommand and option the
# command line's help shows.
#   desktop_files_test.sh SOURCE_DIR QUILLMARK
set -uo pipefail
src=${1:?usage: desktop_files_test.sh SOURCE_DIR QUILLMARK}
quillmark=${2:?usage: desktop_files_test.sh SOURCE_DIR QUILLMARK}
id=org.quillmark.Quillmark
failed=0
fail() { echo "FAILED: $*" >&2; failed=1; }

desktop-file-validate "$src/resources/desktop/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$src/resources/desktop/$id.metainfo.xml" || fail "appstreamcli"
xmllint --noout "$src/resources/desktop/$id.xml" 2>/dev/null ||
  python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' \
    "$src/resources/desktop/$id.xml" || fail "the MIME package is not well-formed XML"
grep -q '<glob pattern="\*.pp5"/>' "$src/resources/desktop/$id.xml" || fail "no *.pp5 glob"

page="$src/docs/man/quillmark.1"
warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
[[ -z $warnings ]] || fail "groff warns about the manual page: $warnings"
# Every subcommand of --help and every long option of each subcommand's help.
subcommands=$("$quillmark" --help | awk '/^Subcommands:/ {on = 1; next} on && NF {print $1}')
[[ -n $subcommands ]] || fail "no subcommands in --help"
for sub in $subcommands; do
  grep -q "^\.B[IR]* quillmark $sub\b\|^\.BI* \"\?$sub\b\|^\.BR $sub\b" "$page" ||
    fail "the manual page has no entry for '$sub'"
  for option in $("$quillmark" "$sub" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    [[ $option == --help ]] && continue
    grep -q -- "${option//-/\\\\-}" "$page" || fail "the manual page lacks $sub $option"
  done
done
exit $failed
