#!/usr/bin/env bash
# stage-windows.sh [GUIDE_BUILD_DIR]: puts each Windows build's plug-in in both formats (Vornix.dll,
# VST 2.x, and Vornix.clap) and the user guide side by side in build/win64/stage/Vornix and
# build/win32/stage/Vornix, the folders a user copies into a host's plug-in folder. The guide comes from GUIDE_BUILD_DIR (build/release); scripts/guide.sh
# makes it there when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -le 1 ] || { echo "usage: stage-windows.sh [GUIDE_BUILD_DIR]" >&2; exit 2; }
guide_build=${1:-build/release}
guide="$guide_build/Vornix User Guide.pdf"
[ -f "$guide" ] || bash scripts/guide.sh "$guide_build" >/dev/null

# The DLLs go without their debugging information, like the Linux install's plug-ins.
for build in win64:x86_64 win32:i686; do
  arch=${build%%:*} strip=${build#*:}-w64-mingw32-strip
  stage=build/$arch/stage/Vornix
  rm -rf "$stage"
  mkdir -p "$stage"
  for plugin in Vornix.dll Vornix.clap; do
    [ -f "build/$arch/$plugin" ] ||
      { echo "stage-windows.sh: 'build/$arch/$plugin' is missing; build it first (scripts/test-windows.sh)" >&2; exit 1; }
    "$strip" --strip-debug -o "$stage/$plugin" "build/$arch/$plugin"
  done
  cp "$guide" "$stage/"
  [ "$(ls -A "$stage" | LC_ALL=C sort | paste -sd '|')" = "Vornix User Guide.pdf|Vornix.clap|Vornix.dll" ] ||
    { echo "stage-windows.sh: $stage does not hold exactly the plug-ins and the guide" >&2; exit 1; }
  echo "$stage: Vornix.dll, Vornix.clap, Vornix User Guide.pdf"
done
