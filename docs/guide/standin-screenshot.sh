#!/usr/bin/env bash
# standin-screenshot.sh BUILD_DIR FILE.png [--skin NAME]: a stand-in for "vornix-render --screenshot"
# until that can draw the editor: the page of the toolkit gallery (heading, sequence buttons,
# settings row) with the step grid of the grid gallery laid over its middle, in the given skin
# (Carbon, Dark, Light, Luna or Smokey; the style names Amakrits and "Smokey Quartz Kamri" work too).
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: standin-screenshot.sh BUILD_DIR FILE.png [--skin NAME]" >&2; exit 2; }
build=$1 file=$2; shift 2
skin=Carbon
while [ $# -gt 0 ]; do
  case $1 in
    --skin) [ $# -ge 2 ] || { echo "standin-screenshot.sh: --skin needs a name" >&2; exit 2; }; skin=$2; shift 2 ;;
    *) echo "standin-screenshot.sh: unknown option '$1'" >&2; exit 2 ;;
  esac
done
case $skin in
  Carbon) page=Carbon grid=Carbon ;;
  Dark | Amakrits) page=Amakrits grid=Amakrits ;;
  Light) page=Light grid=Light ;;
  Luna) page=Luna grid=Luna ;;
  Smokey | "Smokey Quartz Kamri") page=Smokey-Quartz-Kamri grid=Smokey ;;
  *) echo "standin-screenshot.sh: no skin named '$skin'" >&2; exit 2 ;;
esac
shots=$build/guide/standin
if [ ! -e "$shots/grid-$grid-64.png" ]; then
  mkdir -p "$shots"
  "$build/tools/gallery/vornix-gallery" "$shots" >/dev/null
  "$build/tools/grid-gallery/vornix-grid-gallery" "$shots" >/dev/null
fi
/usr/bin/python3 - "$shots/$page.png" "$shots/grid-$grid-64.png" "$file" <<'PY'
import sys
from PIL import Image
page, grid, out = sys.argv[1:]
picture = Image.open(page).convert("RGB")
# The grid and the part of the page's panel around it: everything between the sequence buttons
# and the arrow buttons, from the title row down to the labels of the settings row.
box = (38, 78, 747, 358)
picture.paste(Image.open(grid).convert("RGB").crop(box), box[:2])
picture.save(out)
PY
