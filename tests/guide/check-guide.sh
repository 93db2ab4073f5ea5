#!/usr/bin/env bash
# check-guide.sh BUILD_DIR: checks the user guide that scripts/guide.sh made in BUILD_DIR: a titled
# A4 document with the CMake version on its title page, a contents page with page numbers, every
# host parameter of the built plug-in named as the host shows it, the pictures at a readable size
# and every font embedded.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: check-guide.sh BUILD_DIR" >&2; exit 2; }
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
pdf="$build/Vornix User Guide.pdf"
[ -f "$pdf" ] || { echo "check-guide.sh: '$pdf' is missing; run scripts/guide.sh $build" >&2; exit 2; }
version=$(sed -n 's/^project(Vornix VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}
info=$(pdfinfo "$pdf")
text=$(pdftotext -layout "$pdf" -)
title_page=$(pdftotext -l 1 "$pdf" -)
contents=$(pdftotext -f 2 -l 3 -layout "$pdf" -)
field() { sed -n "s/^$1: *//p" <<<"$info"; }

check "the document's title is the guide's name" test "$(field Title)" = "Vornix User Guide"
check "A4 pages" grep -q 'A4' <<<"$(field 'Page size')"
check "more than twenty pages" test "$(field Pages)" -gt 20
check "the title page names the product" grep -qx 'Vornix' <<<"$title_page"
check "the title page says User Guide" grep -qx 'User Guide' <<<"$title_page"
check "the title page carries the version from CMakeLists.txt, $version" grep -qx "Version $version" <<<"$title_page"
check "a contents page follows" grep -q '^Contents' <<<"$contents"
check "the contents give page numbers" bash -c '[ "$(grep -cE "[A-Za-z].* [0-9]+$" <<<"$1")" -ge 30 ]' _ "$contents"
check "the chapters have running heads" grep -q 'Vornix User Guide' <<<"$(pdftotext -f 5 -l 5 "$pdf" -)"

# Every parameter name of sequence 1, as the built plug-in tells a host.
names=$("$build/tools/render/vornix-render" --info "$build/Vornix.so" | sed -n 's/^ *[0-8]  \(Seq1 [^ ]*\( Type\)\?\) .*/\1/p')
check "the plug-in names nine parameters of sequence 1" test "$(wc -l <<<"$names")" -eq 9
flat=$(tr -s ' \n' ' ' <<<"$text")
while IFS= read -r name; do
  check "the guide names the parameter \"$name\"" grep -qF "\"$name\"" <<<"${flat//[“”]/\"}"
done <<<"$names"

# Pictures: the editor is 786 pixels wide; at 130 pixels per inch or less it is at least 15 cm
# wide on paper, large enough to read its captions.
images=$(pdfimages -list "$pdf" | awk 'NR > 2')
check "the pictures are in the document" test "$(wc -l <<<"$images")" -ge 8
check "every picture is shown at 130 pixels per inch or less" \
  bash -c '! awk "\$13 > 130 || \$14 > 130" <<<"$1" | grep -q .' _ "$images"
check "every font is embedded" bash -c '! pdffonts "$1" | awk "NR > 2 && \$(NF - 4) != \"yes\"" | grep -q .' _ "$pdf"

echo "check-guide: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
