#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when they are there.
# Linux: the toolchain, GoogleTest, Xlib for the editor's windows, and for the window tests a
# virtual X server (Xvfb run by xvfb-run, which needs xauth) and XTest to synthesise input.
# With "windows": what the Windows build needs instead (mingw-w64 cross compilers, GoogleTest's
# sources, Wine to run the tests).
set -euo pipefail
# The editor's drawing layer: stb (PNG, fonts) and the font files it embeds.
gfx=(libstb-dev fonts-open-sans fonts-liberation2)
packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev
          libbenchmark-dev zlib1g-dev valgrind "${gfx[@]}"
          libx11-dev libxtst-dev xvfb xauth x11-utils)
if [ "${1:-}" = windows ]; then
  packages=(cmake ninja-build googletest g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 "${gfx[@]}")
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
