#!/usr/bin/env bash
# uninstall.sh [FOLDER]: removes what scripts/install.sh put into FOLDER (~/.vst/Vornix by default),
# as listed in FOLDER/.vornix-install: the files it copied, if they are still the ones it copied,
# the list itself, and the folders it made, if they are empty then; and in the same way the LV2
# bundle the list names. FOLDER may also be the bundle itself. Everything else stays.
set -euo pipefail
fail() { echo "uninstall.sh: $*" >&2; exit 1; }
[ $# -le 1 ] || { echo "usage: uninstall.sh [FOLDER]" >&2; exit 2; }
case ${1:-} in -*) echo "usage: uninstall.sh [FOLDER]" >&2; exit 2 ;; esac
if [ $# -eq 1 ]; then
  folder=$1
else
  [ -n "${HOME:-}" ] || fail "HOME is not set; name the folder to uninstall from"
  folder=$HOME/.vst/Vornix
fi
[ -f "$folder/.vornix-install" ] || fail "no Vornix installation in '$folder' (it has no .vornix-install)"

kept=0
# remove_listed FOLDER: what FOLDER's list names; a bundle it names goes first.
remove_listed() {
  local target=$1
  local manifest=$target/.vornix-install
  local dirs=() files=() bundles=() line
  while IFS= read -r line; do
    case $line in
      "#"* | "") ;;
      "dir "*) dirs+=("${line#dir }") ;;
      "bundle "*)
        case ${line#bundle } in /*.lv2) bundles+=("${line#bundle }") ;; *) fail "'$manifest' names a bundle that is not ours: ${line#bundle }" ;; esac ;;
      "file "*)
        files+=("${line#file }")
        case ${line#file * } in */* | "" | . | ..) fail "'$manifest' names a file outside the folder: ${line#file * }" ;; esac ;;
      *) fail "'$manifest' has a line that is not ours: $line" ;;
    esac
  done <"$manifest"

  local b
  for b in "${bundles[@]}"; do
    if [ -f "$b/.vornix-install" ]; then remove_listed "$b"; else echo "already gone: $b"; fi
  done

  local entry sum name path
  for entry in "${files[@]}"; do
    sum=${entry%% *} name=${entry#* }
    path=$target/$name
    if [ ! -e "$path" ]; then
      echo "already gone: $path"
    elif [ -f "$path" ] && [ "$(sha256sum "$path" | cut -d' ' -f1)" = "$sum" ]; then
      rm -f "$path"
      echo "removed $path"
    else
      echo "kept $path: it changed after it was installed" >&2
      kept=1
    fi
  done
  rm -f "$manifest"

  # Innermost first; a folder that holds anything else stays.
  local i d
  for ((i = ${#dirs[@]} - 1; i >= 0; i--)); do
    d=${dirs[i]}
    [ -d "$d" ] || continue
    if rmdir "$d" 2>/dev/null; then echo "removed $d/"; else echo "kept $d/: it is not empty"; fi
  done
}

remove_listed "$folder"
[ $kept -eq 0 ] || echo "uninstall.sh: some files were kept; remove them by hand if you no longer need them" >&2
