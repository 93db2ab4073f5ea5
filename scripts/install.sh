#!/usr/bin/env bash
# install.sh [--prebuilt BUILD_DIR] [--clap CLAP_FOLDER] [FOLDER]: builds the plug-in (Vornix.so and
# Vornix.clap) and the user guide (scripts/guide.sh, in build/release) and installs both formats, each
# with the guide beside it: the VST 2.x plug-in into FOLDER, ~/.vst/Vornix by default, and the CLAP
# plug-in into CLAP_FOLDER, ~/.clap/Vornix by default. Writes .vornix-install into each folder, the
# list of what it put there, so that scripts/uninstall.sh removes exactly that.
# --prebuilt takes the files from BUILD_DIR instead of building them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() { echo "usage: install.sh [--prebuilt BUILD_DIR] [--clap CLAP_FOLDER] [FOLDER]" >&2; exit 2; }
fail() { echo "install.sh: $*" >&2; exit 1; }

build= folder= clap_folder=
while [ $# -gt 0 ]; do
  case $1 in
    --prebuilt) [ $# -ge 2 ] || usage; build=$2; shift 2 ;;
    --clap) [ $# -ge 2 ] || usage; clap_folder=$2; shift 2 ;;
    -h | --help) usage ;;
    -*) echo "install.sh: unknown option '$1'" >&2; usage ;;
    *) [ -z "$folder" ] || usage; folder=$1; shift ;;
  esac
done
if [ -z "$folder" ] || [ -z "$clap_folder" ]; then
  [ -n "${HOME:-}" ] || fail "HOME is not set; name the folders to install into"
  folder=${folder:-$HOME/.vst/Vornix}
  clap_folder=${clap_folder:-$HOME/.clap/Vornix}
fi
if [ -z "$build" ]; then
  build=$root/build/release
  bash "$root/scripts/guide.sh" "$build" >/dev/null
fi

plugin=$build/Vornix.so
clap=$build/Vornix.clap
guide="$build/Vornix User Guide.pdf"
for f in "$plugin" "$clap" "$guide"; do
  [ -f "$f" ] || fail "'$f' does not exist; build it first (scripts/guide.sh), or leave out --prebuilt"
done
for d in "$folder" "$clap_folder"; do
  [ ! -e "$d" ] || [ -d "$d" ] || fail "'$d' exists and is not a folder"
done

# install_into FOLDER FILE...: copies the files into FOLDER and writes its list.
install_into() {
  local folder=$1
  shift
  local manifest=$folder/.vornix-install
  # The folders this installation made, outermost first: an earlier installation's, or the ones
  # that are missing now.
  local created=() missing=() d line
  if [ -f "$manifest" ]; then
    while IFS= read -r line; do
      case $line in "dir "*) created+=("${line#dir }") ;; esac
    done <"$manifest"
  else
    d=$folder
    while [ ! -e "$d" ]; do
      missing=("$d" "${missing[@]}")
      d=$(dirname "$d")
    done
    mkdir -p "$folder"
    for d in "${missing[@]}"; do created+=("$(cd "$d" && pwd)"); done
  fi

  # Each file is copied beside its final name and then renamed over it, so a host that scans the
  # folder meanwhile never sees half a plug-in. The plug-ins go without their debugging information.
  local entries=() f name
  for f in "$@"; do
    name=$(basename "$f")
    if [ "$f" = "$guide" ]; then
      cp "$f" "$folder/.$name.part"
    else
      strip --strip-debug -o "$folder/.$name.part" "$f"
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
}

if [ "$(realpath -m "$folder")" = "$(realpath -m "$clap_folder")" ]; then
  install_into "$folder" "$plugin" "$clap" "$guide"
else
  install_into "$folder" "$plugin" "$guide"
  install_into "$clap_folder" "$clap" "$guide"
fi
