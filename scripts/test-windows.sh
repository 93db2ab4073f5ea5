#!/usr/bin/env bash
# The Windows stage: cross-builds Vornix.dll for x86-64 and x86 with mingw-w64, runs the x86-64
# tests under Wine (the plug-in loaded through VSTPluginMain and played, and renders compared byte
# for byte with the Linux build, build/release or $VORNIX_LINUX_BUILD) and checks what both DLLs export and import.
# Debian's Wine runs 64-bit programs only without a second (i386) architecture, so the x86 DLL is
# built and inspected but not run. Finally stages build/win64/stage/Vornix and build/win32/stage/Vornix:
# each DLL with the user guide beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh windows

# A Wine prefix of this build's own; console programs need no display.
export WINEPREFIX="$PWD/build/wine" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wine wineboot --init >/dev/null 2>&1 || true

# The Linux build the Windows one is compared with; test.sh has built build/release already.
linux=${VORNIX_LINUX_BUILD:-build/release}
if [ ! -x "$linux/tools/render/vornix-render" ] || [ ! -e "$linux/Vornix.so" ]; then
  VORNIX_TARGETS="Vornix vornix-render" bash scripts/build.sh "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi

bash scripts/build.sh build/win64 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake -DVORNIX_LINUX_BUILD="$(cd "$linux" && pwd)"
bash scripts/build.sh build/win32 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake -DVORNIX_TESTS=OFF

# Each DLL exports the entry point twice (VSTPluginMain, main) and needs only Windows' own DLLs.
for arch in x86_64:win64 i686:win32; do
  dll=build/${arch#*:}/Vornix.dll
  dump=$("${arch%%:*}-w64-mingw32-objdump" -p "$dll")
  exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | awk '/^\t\[/ {print $3}' | LC_ALL=C sort | xargs)
  imports=$(awk '/DLL Name:/ {print $3}' <<<"$dump" | xargs)
  echo "$dll: exports: $exports; imports: $imports"
  [ "$exports" = "VSTPluginMain main" ] || { echo "$dll: unexpected exports" >&2; exit 1; }
  if tr ' ' '\n' <<<"$imports" | grep -viE '^(kernel32|user32|gdi32|advapi32|shell32|ole32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)[.]dll$'; then
    echo "$dll: imports beyond Windows' own DLLs" >&2
    exit 1
  fi
done

(cd build/win64 && ctest --output-on-failure -j2)

# For each bitness a folder with the DLL and the user guide side by side, ready to copy.
bash scripts/stage-windows.sh "$linux"
