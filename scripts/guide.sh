#!/usr/bin/env bash
# guide.sh [BUILD_DIR]: builds the plug-in (both formats) and renders the user guide, docs/guide/*.md, with pictures
# of this build's editor, to "BUILD_DIR/Vornix User Guide.pdf" (BUILD_DIR: build/release).
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -le 1 ] || { echo "usage: guide.sh [BUILD_DIR]" >&2; exit 2; }
build=${1:-build/release}
bash scripts/install-deps.sh
bash scripts/install-deps.sh guide

VORNIX_TARGETS="Vornix VornixClap vornix-render" bash scripts/build.sh "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
version=$(sed -n 's/^project(Vornix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "guide.sh: no version in CMakeLists.txt's project()" >&2; exit 1; }

work=$build/guide
rm -rf "$work/pictures"
mkdir -p "$work/pictures"
cp docs/guide/style/guide.css "$work/"

# The editor as this build draws it ("vornix-render --screenshot"): the same pictures as docs/.
bash docs/make-pictures.sh "$build" "$work/pictures" >/dev/null

pandoc --metadata-file docs/guide/metadata.yaml docs/guide/[0-9][0-9]-*.md \
  --from markdown --to html5 --standalone --template docs/guide/style/template.html \
  --toc --toc-depth=2 --number-sections --metadata version="$version" \
  --output "$work/guide.html"
pdf="$build/Vornix User Guide.pdf"
weasyprint --quiet "$work/guide.html" "$pdf"
echo "$pdf"
