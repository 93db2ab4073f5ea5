#!/usr/bin/env bash
# install.sh [--prebuilt BUILD_DIR] [FOLDER]: builds Vornix.so and the user guide (scripts/guide.sh,
# in build/release) and copies both into FOLDER, ~/.vst/Vornix by default. Writes FOLDER/.vornix-install,
# the list of what it put there, so that scripts/uninstall.sh removes exactly that.
# --prebuilt takes the two files from BUILD_DIR instead of building them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() { echo "usage: install.sh [--prebuilt BUILD_DIR] [FOLDER]" >&2; exit 2; }
fail() { echo "install.sh: $*" >&2; exit 1; }

build= folder=
while [ $# -gt 0 ]; do
  case $1 in
    --prebuilt) [ $# -ge 2 ] || usage; build=$2; shift 2 ;;
    -h | --help) usage ;;
    -*) echo "install.sh: unknown option '$1'" >&2; usage ;;
    *) [ -z "$folder" ] || usage; folder=$1; shift ;;
  esac
done
if [ -z "$folder" ]; then
  [ -n "${HOME:-}" ] || fail "HOME is not set; name the folder to install into"
  folder=$HOME/.vst/Vornix
fi
if [ -z "$build" ]; then
  build=$root/build/release
  bash "$root/scripts/guide.sh" "$build" >/dev/null
fi

plugin=$build/Vornix.so
guide="$build/Vornix User Guide.pdf"
for f in "$plugin" "$guide"; do
  [ -f "$f" ] || fail "'$f' does not exist; build it first (scripts/guide.sh), or leave out --prebuilt"
done
[ ! -e "$folder" ] || [ -d "$folder" ] || fail "'$folder' exists and is not a folder"

manifest=$folder/.vornix-install
# The folders this installation made, outermost first: an earlier installation's, or the ones
# that are missing now.
created=()
if [ -f "$manifest" ]; then
  while IFS= read -r line; do
    case $line in "dir "*) created+=("${line#dir }") ;; esac
  done <"$manifest"
else
  missing=() d=$folder
  while [ ! -e "$d" ]; do
    missing=("$d" "${missing[@]}")
    d=$(dirname "$d")
  done
  mkdir -p "$folder"
  for d in "${missing[@]}"; do created+=("$(cd "$d" && pwd)"); done
fi

# Each file is copied beside its final name and then renamed over it, so a host that scans the
# folder meanwhile never sees half a plug-in. The plug-in goes without its debugging information.
entries=()
for f in "$plugin" "$guide"; do
  name=$(basename "$f")
  if [ "$f" = "$plugin" ]; then
    strip --strip-debug -o "$folder/.$name.part" "$f"
  else
    cp "$f" "$folder/.$name.part"
  fi
  mv -f "$folder/.$name.part" "$folder/$name"
  entries+=("file $(sha256sum "$folder/$name" | cut -d' ' -f1) $name")
  echo "installed $folder/$name"
done
{
  echo "# Written by Vornix's scripts/install.sh; scripts/uninstall.sh removes what it lists."
  for d in "${created[@]}"; do echo "dir $d"; done
  printf '%s\n' "${entries[@]}"
} >"$manifest"
