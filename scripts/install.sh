#!/usr/bin/env bash
# install.sh [--prebuilt BUILD_DIR] [--clap CLAP_FOLDER] [--lv2 LV2_FOLDER] [FOLDER]: builds the
# plug-in in its three formats (Vornix.so, Vornix.clap and the LV2 bundle Vornix.lv2) and the user
# guide (scripts/guide.sh, in build/release) and installs each with the guide beside it: the VST 2.x
# plug-in into FOLDER (~/.vst/Vornix by default), the CLAP plug-in into CLAP_FOLDER (~/.clap/Vornix by
# default) and the bundle, with the guide inside, into LV2_FOLDER (~/.lv2 by default). Each folder it
# fills gets .vornix-install, the list of what it put there, so that scripts/uninstall.sh removes
# exactly that; FOLDER's list names the other two, so one uninstall removes all three.
# --prebuilt takes the files from BUILD_DIR instead of building them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() { echo "usage: install.sh [--prebuilt BUILD_DIR] [--clap CLAP_FOLDER] [--lv2 LV2_FOLDER] [FOLDER]" >&2; exit 2; }
fail() { echo "install.sh: $*" >&2; exit 1; }

build= folder= clap_folder= lv2=
while [ $# -gt 0 ]; do
  case $1 in
    --prebuilt) [ $# -ge 2 ] || usage; build=$2; shift 2 ;;
    --clap) [ $# -ge 2 ] || usage; clap_folder=$2; shift 2 ;;
    --lv2) [ $# -ge 2 ] || usage; lv2=$2; shift 2 ;;
    -h | --help) usage ;;
    -*) echo "install.sh: unknown option '$1'" >&2; usage ;;
    *) [ -z "$folder" ] || usage; folder=$1; shift ;;
  esac
done
if [ -z "$folder" ] || [ -z "$clap_folder" ] || [ -z "$lv2" ]; then
  [ -n "${HOME:-}" ] || fail "HOME is not set; name the folders to install into"
  folder=${folder:-$HOME/.vst/Vornix}
  clap_folder=${clap_folder:-$HOME/.clap/Vornix}
  lv2=${lv2:-$HOME/.lv2}
fi
if [ -z "$build" ]; then
  build=$root/build/release
  bash "$root/scripts/guide.sh" "$build" >/dev/null
fi

plugin=$build/Vornix.so
clap=$build/Vornix.clap
guide="$build/Vornix User Guide.pdf"
built_bundle=$build/lv2/Vornix.lv2
bundle_files=("$built_bundle"/*.ttl "$built_bundle"/*.so)
for f in "$plugin" "$clap" "$guide" "${bundle_files[@]}"; do
  [ -f "$f" ] || fail "'$f' does not exist; build it first (scripts/guide.sh), or leave out --prebuilt"
done
bundle=$lv2/Vornix.lv2
for d in "$folder" "$clap_folder" "$bundle"; do
  [ ! -e "$d" ] || [ -d "$d" ] || fail "'$d' exists and is not a folder"
done

# install_into FOLDER EXTRA_LINES FILE...: copies the files into FOLDER and writes its list, with
# EXTRA_LINES (if any) in it.
install_into() {
  local target=$1 extra=$2
  shift 2
  local manifest=$target/.vornix-install
  # The folders this installation made, outermost first: an earlier installation's, or the ones
  # that are missing now.
  local created=() missing=() d line
  if [ -f "$manifest" ]; then
    while IFS= read -r line; do
      case $line in "dir "*) created+=("${line#dir }") ;; esac
    done <"$manifest"
  else
    d=$target
    while [ ! -e "$d" ]; do
      missing=("$d" "${missing[@]}")
      d=$(dirname "$d")
    done
    mkdir -p "$target"
    for d in "${missing[@]}"; do created+=("$(cd "$d" && pwd)"); done
  fi

  # Each file is copied beside its final name and then renamed over it, so a host that scans the
  # folder meanwhile never sees half a plug-in. Libraries go without their debugging information.
  local entries=() f name
  for f in "$@"; do
    name=$(basename "$f")
    case $name in
      *.so | *.clap) strip --strip-debug -o "$target/.$name.part" "$f" ;;
      *) cp "$f" "$target/.$name.part" ;;
    esac
    mv -f "$target/.$name.part" "$target/$name"
    entries+=("file $(sha256sum "$target/$name" | cut -d' ' -f1) $name")
    echo "installed $target/$name"
  done
  {
    echo "# Written by Vornix's scripts/install.sh; scripts/uninstall.sh removes what it lists."
    for d in "${created[@]}"; do echo "dir $d"; done
    [ -z "$extra" ] || printf '%s\n' "$extra"
    printf '%s\n' "${entries[@]}"
  } >"$manifest"
}

# The other installations first: the folder's list names them once they are complete. The guide
# lies beside the LV2 library too, where its editor looks for it.
install_into "$bundle" "" "${bundle_files[@]}" "$guide"
with="with $(cd "$bundle" && pwd)"
if [ "$(realpath -m "$folder")" = "$(realpath -m "$clap_folder")" ]; then
  install_into "$folder" "$with" "$plugin" "$clap" "$guide"
else
  install_into "$clap_folder" "" "$clap" "$guide"
  with+=$'\n'"with $(cd "$clap_folder" && pwd)"
  install_into "$folder" "$with" "$plugin" "$guide"
fi
