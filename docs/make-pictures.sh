#!/usr/bin/env bash
# make-pictures.sh [BUILD_DIR [FOLDER]]: draws the editor's pictures with "vornix-render
# --screenshot" (built in BUILD_DIR, build/release, when needed) into FOLDER (docs/pictures):
# editor.png in the skin a new user gets, skin-NAME.png in each of the five skins and editor-200.png
# zoomed to 200 %. Each shows the Demo Motion preset with a step playing. They are drawn in a home
# folder of their own, so that no init preset or skin or zoom choice of the user's shows; the preset
# lies in its presets folder there, as after an install, so that the preset button shows its name.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -le 2 ] || { echo "usage: make-pictures.sh [BUILD_DIR [FOLDER]]" >&2; exit 2; }
build=${1:-build/release}
folder=${2:-docs/pictures}
bash scripts/install-deps.sh
VORNIX_TARGETS="Vornix vornix-render" bash scripts/build.sh "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
presets=$home/Documents/Orvane/Vornix/Presets
mkdir -p "$presets" "$folder"
cp "resources/presets/Demo Motion.orvanep" "$presets/"

# screenshot FILE.png [--skin NAME] [--zoom PCT]
screenshot() {
  HOME=$home XDG_CONFIG_HOME=$home/.config "$build/tools/render/vornix-render" --screenshot "$@" \
    --load "$presets/Demo Motion.orvanep" --playing-step 6 "$build/Vornix.so"
}
screenshot "$folder/editor.png"
for skin in Carbon Dark Light Luna Smokey; do
  screenshot "$folder/skin-$skin.png" --skin "$skin"
done
screenshot "$folder/editor-200.png" --zoom 200
echo "$folder"
