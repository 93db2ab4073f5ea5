#!/usr/bin/env bash
# guide.sh [BUILD_DIR]: builds the plug-in and renders the user guide, docs/guide/*.md, with pictures
# of this build's editor, to "BUILD_DIR/Vornix User Guide.pdf" (BUILD_DIR: build/release).
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -le 1 ] || { echo "usage: guide.sh [BUILD_DIR]" >&2; exit 2; }
build=${1:-build/release}
bash scripts/install-deps.sh
bash scripts/install-deps.sh guide

VORNIX_TARGETS="Vornix vornix-render vornix-gallery vornix-grid-gallery" \
  bash scripts/build.sh "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
version=$(sed -n 's/^project(Vornix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "guide.sh: no version in CMakeLists.txt's project()" >&2; exit 1; }

work=$build/guide
home=$(cd "$build" && pwd)/guide/home
rm -rf "$work/pictures" "$home"
mkdir -p "$work/pictures" "$home"
cp docs/guide/style/guide.css "$work/"

# screenshot FILE.png [--skin NAME]: the editor as this build draws it, in a home folder of its own
# so that no init preset or skin choice of the user's shows. Until vornix-render can draw the
# editor, the galleries of its controls and of its step grid stand in for it (the next line; the
# one after it is the real command).
screenshot() { HOME=$home XDG_CONFIG_HOME=$home/.config bash docs/guide/standin-screenshot.sh "$build" "$@"; }
# screenshot() { HOME=$home XDG_CONFIG_HOME=$home/.config "$build/tools/render/vornix-render" --screenshot "$@" "$build/Vornix.so"; }

screenshot "$work/pictures/editor.png"
for skin in Carbon Dark Light Luna Smokey; do
  screenshot "$work/pictures/skin-$skin.png" --skin "$skin"
done

pandoc --metadata-file docs/guide/metadata.yaml docs/guide/[0-9][0-9]-*.md \
  --from markdown --to html5 --standalone --template docs/guide/style/template.html \
  --toc --toc-depth=2 --number-sections --metadata version="$version" \
  --output "$work/guide.html"
pdf="$build/Vornix User Guide.pdf"
weasyprint --quiet "$work/guide.html" "$pdf"
echo "$pdf"
