#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when they are there.
# Linux: the toolchain, GoogleTest, Xlib for the editor's windows, and for the window tests a
# virtual X server (Xvfb run by xvfb-run, which needs xauth) and XTest to synthesise input; the LV2
# headers, and lilv with its tools for the LV2 tests (a host built on it, lv2ls and lv2info); Qtractor,
# whose plug-in scanner a test runs on the CLAP plug-in.
# With "windows": what the Windows build needs instead (mingw-w64 cross compilers, GoogleTest's
# sources, Wine to run the tests: wine64 for the x86-64 DLL, wine32 from Debian's i386 architecture
# for the x86 one, the architecture added when missing). With "guide": what the user guide needs
# besides the build (pandoc and WeasyPrint to make the PDF, its fonts, poppler's tools to check the
# result).
set -euo pipefail
# The editor's drawing layer: stb (PNG, fonts) and the font files it embeds.
gfx=(libstb-dev fonts-open-sans fonts-liberation2)
packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev
          libbenchmark-dev zlib1g-dev valgrind "${gfx[@]}"
          libx11-dev libxtst-dev xvfb xauth x11-utils qtractor
          lv2-dev liblilv-dev lilv-utils pkg-config)
case ${1:-} in
  "") ;;
  windows)
    packages=(cmake ninja-build googletest g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32:i386
              xvfb xauth "${gfx[@]}")
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      [ "$(id -u)" = 0 ] || { echo "install-deps.sh: wine32 needs the i386 architecture: sudo bash scripts/install-deps.sh windows" >&2; exit 1; }
      dpkg --add-architecture i386
    fi
    ;;
  guide) packages=(pandoc weasyprint fonts-open-sans fonts-dejavu-core poppler-utils) ;;
  *) echo "usage: install-deps.sh [windows|guide]" >&2; exit 2 ;;
esac
# Another apt may be at work (a fresh machine's daily update, a second install): apt-get waits for
# dpkg's locks when told to (DPkg::Lock::Timeout), but not for the lock of the package lists or of
# the download folder, so a run that finds one of those held is tried again, for ten minutes at most.
apt_get() {
  local deadline=$((SECONDS + 600)) log
  log=$(mktemp)
  until LC_ALL=C apt-get -o DPkg::Lock::Timeout=600 "$@" 2>"$log"; do
    cat "$log" >&2
    if ! grep -q '^E: Could not get lock' "$log" || [ $SECONDS -ge $deadline ]; then
      rm -f "$log"
      return 1
    fi
    echo "install-deps.sh: another apt is at work; trying again in 10 seconds" >&2
    sleep 10
  done
  cat "$log" >&2
  rm -f "$log"
}
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "install-deps.sh: missing Debian packages: ${missing[*]}" >&2
    echo "install them as root: sudo bash scripts/install-deps.sh${1:+ $1}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt_get update -qq
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi
