#!/usr/bin/env bash
# The Windows stage: cross-builds Vornix.dll for x86-64 and x86 with mingw-w64, runs each one's tests
# under Wine of its own bitness (the plug-in loaded through VSTPluginMain and played, its editor opened
# in a window of the test's, renders compared byte for byte with the Linux build, build/release or
# $VORNIX_LINUX_BUILD) and checks what both DLLs export and import. Wine's windows need a display: each
# ctest run gets a virtual X server (Xvfb). Finally stages build/win64/stage/Vornix and
# build/win32/stage/Vornix: each DLL with the user guide beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh windows

# A Wine prefix of each bitness, the build's own: a 64-bit one for the x86-64 programs and a 32-bit
# one (Debian's wine32) for the x86 ones. Without a window manager on Xvfb, Wine must not wait for one
# to show and hide windows ("Managed" off; the setting is the test prefix's, not the plug-in's).
export WINEDEBUG=-all
# The 64-bit prefix is run with Wine's 64-bit loader itself, as the x86-64 build's tests are (see
# cmake/toolchains/mingw-w64-common.cmake): Debian's `wine` tries the 32-bit loader first.
wine64=(env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64)
prefix() { # prefix DIR ARCH WINE...
  local dir=$1 arch=$2
  shift 2
  mkdir -p "$dir"
  if [ ! -f "$dir/system.reg" ]; then
    WINEPREFIX=$PWD/$dir WINEARCH=$arch "$@" wineboot --init >/dev/null 2>&1 || true
  fi
  bash scripts/wine-session.sh "$dir" "$@" -- "$@" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # Wine hides a Unix dot file from programs; Windows hides nothing by its name.
  bash scripts/wine-session.sh "$dir" "$@" -- "$@" reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f >/dev/null 2>&1
}
# Some kernels run no 32-bit x86 programs at all (built without IA32 emulation): there the x86 DLL
# is still built and its exports checked, but Wine cannot run its tests. i386's own loader tells.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then run32=1; else run32=0; fi
prefix build/wine win64 "${wine64[@]}"
[ $run32 = 0 ] || prefix build/wine32 win32 wine
xvfb=(bash "$PWD/scripts/with-xvfb.sh")

# The Linux build the Windows one is compared with; test.sh has built build/release already.
linux=${VORNIX_LINUX_BUILD:-build/release}
if [ ! -x "$linux/tools/render/vornix-render" ] || [ ! -e "$linux/Vornix.so" ]; then
  VORNIX_TARGETS="Vornix vornix-render" bash scripts/build.sh "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi

# The test programs are listed under Wine while they build, so each build has its prefix's Wine too.
bash scripts/wine-session.sh build/wine "${wine64[@]}" -- bash scripts/build.sh build/win64 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake -DVORNIX_LINUX_BUILD="$(cd "$linux" && pwd)"
# Without a 32-bit Wine, the test programs are built but not listed (listing runs them).
discovery=()
wine32=(bash scripts/wine-session.sh build/wine32 wine --)
[ $run32 = 1 ] || { discovery=(-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST); wine32=(); }
"${wine32[@]}" bash scripts/build.sh build/win32 "${discovery[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake -DVORNIX_LINUX_BUILD="$(cd "$linux" && pwd)"

# Each DLL exports its entry (Vornix.dll the VST 2.x one twice: VSTPluginMain, main; Vornix.clap
# clap_entry) and needs only Windows' own DLLs.
for arch in x86_64:win64 i686:win32; do
  for plugin in "Vornix.dll:VSTPluginMain main" "Vornix.clap:clap_entry"; do
    dll=build/${arch#*:}/${plugin%%:*}
    dump=$("${arch%%:*}-w64-mingw32-objdump" -p "$dll")
    exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | awk '/^\t\[/ {print $3}' | LC_ALL=C sort | xargs)
    imports=$(awk '/DLL Name:/ {print $3}' <<<"$dump" | xargs)
    echo "$dll: exports: $exports; imports: $imports"
    [ "$exports" = "${plugin#*:}" ] || { echo "$dll: unexpected exports" >&2; exit 1; }
    if tr ' ' '\n' <<<"$imports" | grep -viE '^(kernel32|user32|gdi32|advapi32|shell32|ole32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)[.]dll$'; then
      echo "$dll: imports beyond Windows' own DLLs" >&2
      exit 1
    fi
  done
done

# Tests that cannot run under Wine skip themselves and say why; ctest lists them at the end. Now and
# then a Wine program dies as it starts, before the test's own code runs, without a word (seen once in
# some eight hundred, in hundredths of a second): a test that fails is run once more, and one that
# fails twice fails the stage.
ctest=(ctest --output-on-failure --no-tests=error -j2 --repeat until-pass:2 --test-dir)
"${xvfb[@]}" bash scripts/wine-session.sh build/wine "${wine64[@]}" -- "${ctest[@]}" build/win64
if [ $run32 = 1 ]; then
  "${xvfb[@]}" bash scripts/wine-session.sh build/wine32 wine -- "${ctest[@]}" build/win32
else
  echo "SKIPPED: the x86 tests under Wine: this machine's kernel does not run 32-bit x86 programs" \
    "(/lib/ld-linux.so.2: Exec format error); the x86 DLL was built and its exports checked" >&2
fi

# For each bitness a folder with the DLL and the user guide side by side, ready to copy.
bash scripts/stage-windows.sh "$linux"
