#!/usr/bin/env bash
# uninstall.sh [--clap CLAP_FOLDER] [--lv2 LV2_FOLDER] [FOLDER]: removes what scripts/install.sh put
# into FOLDER (~/.vst/Vornix by default), CLAP_FOLDER (~/.clap/Vornix by default) and the bundle
# LV2_FOLDER/Vornix.lv2 (LV2_FOLDER ~/.lv2 by default), as listed in each folder's .vornix-install,
# and in the folders those lists name: the files it copied, if they are still the ones it copied,
# the list itself, and the folders it made, if they are empty then. Everything else stays. FOLDER
# may be any folder install.sh filled, the bundle too. A folder named on the command line must hold
# an installation; a default one without it is passed over.
set -euo pipefail
fail() { echo "uninstall.sh: $*" >&2; exit 1; }
usage() { echo "usage: uninstall.sh [--clap CLAP_FOLDER] [--lv2 LV2_FOLDER] [FOLDER]" >&2; exit 2; }
folder= clap_folder= lv2=
while [ $# -gt 0 ]; do
  case $1 in
    --clap) [ $# -ge 2 ] || usage; clap_folder=$2; shift 2 ;;
    --lv2) [ $# -ge 2 ] || usage; lv2=$2; shift 2 ;;
    -*) usage ;;
    *) [ -z "$folder" ] || usage; folder=$1; shift ;;
  esac
done
if [ -z "$folder" ] && [ -z "$clap_folder" ] && [ -z "$lv2" ]; then
  [ -n "${HOME:-}" ] || fail "HOME is not set; name the folders to uninstall from"
fi

# The folders to clear, each once.
folders=()
add() { local d; for d in "${folders[@]}"; do [ "$d" -ef "$1" ] && return; done; folders+=("$1"); }
named=()
[ -z "$folder" ] || named+=("$folder")
[ -z "$clap_folder" ] || named+=("$clap_folder")
[ -z "$lv2" ] || named+=("$lv2/Vornix.lv2")
for d in "${named[@]}"; do
  [ -f "$d/.vornix-install" ] || fail "no Vornix installation in '$d' (it has no .vornix-install)"
  add "$d"
done
if [ ${#named[@]} -eq 0 ]; then
  for d in "$HOME/.vst/Vornix" "$HOME/.clap/Vornix" "$HOME/.lv2/Vornix.lv2"; do
    if [ -f "$d/.vornix-install" ]; then add "$d"; fi
  done
  [ ${#folders[@]} -gt 0 ] || fail "no Vornix installation in '$HOME/.vst/Vornix', '$HOME/.clap/Vornix' or '$HOME/.lv2/Vornix.lv2'"
fi

# read_list FOLDER: the list's folders (dirs), files (files: "SUM NAME") and the other installations
# it names (withs); stops at a line that is not ours or a file outside the folder.
read_list() {
  local manifest=$1/.vornix-install line
  dirs=() files=() withs=()
  while IFS= read -r line; do
    case $line in
      "#"* | "") ;;
      "dir "*) dirs+=("${line#dir }") ;;
      "with /"*) withs+=("${line#with }") ;;
      "file "*)
        files+=("${line#file }")
        case ${line#file * } in */* | "" | . | ..) fail "'$manifest' names a file outside the folder: ${line#file * }" ;; esac ;;
      *) fail "'$manifest' has a line that is not ours: $line" ;;
    esac
  done <"$manifest"
}

# Every list is read before anything is removed; the installations a list names join the rest.
for ((i = 0; i < ${#folders[@]}; i++)); do
  read_list "${folders[i]}"
  for d in "${withs[@]}"; do
    if [ -f "$d/.vornix-install" ]; then add "$d"; else echo "already gone: $d"; fi
  done
done

kept=0 made=()
for folder in "${folders[@]}"; do
  read_list "$folder"
  for entry in "${files[@]}"; do
    sum=${entry%% *} name=${entry#* }
    path=$folder/$name
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
  rm -f "$folder/.vornix-install"
  made+=("${dirs[@]}")
done

# The folders the installations made, innermost first (two installations may share the outer
# ones); a folder that holds anything else stays.
while IFS= read -r d; do
  [ -n "$d" ] && [ -d "$d" ] || continue
  if rmdir "$d" 2>/dev/null; then echo "removed $d/"; else echo "kept $d/: it is not empty"; fi
done < <(printf '%s\n' "${made[@]}" | awk '!seen[$0]++ { print length($0) "\t" $0 }' | sort -rn -k1,1 | cut -f2-)
[ $kept -eq 0 ] || echo "uninstall.sh: some files were kept; remove them by hand if you no longer need them" >&2
