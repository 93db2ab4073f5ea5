#!/usr/bin/env bash
# uninstall.sh [--clap CLAP_FOLDER] [FOLDER]: removes what scripts/install.sh put into FOLDER
# (~/.vst/Vornix by default) and CLAP_FOLDER (~/.clap/Vornix by default), as listed in each folder's
# .vornix-install: the files it copied, if they are still the ones it copied, the list itself, and
# the folders it made, if they are empty then. Everything else stays. A folder named on the command
# line must hold an installation; a default one without it is passed over.
set -euo pipefail
fail() { echo "uninstall.sh: $*" >&2; exit 1; }
usage() { echo "usage: uninstall.sh [--clap CLAP_FOLDER] [FOLDER]" >&2; exit 2; }
folder= clap_folder=
while [ $# -gt 0 ]; do
  case $1 in
    --clap) [ $# -ge 2 ] || usage; clap_folder=$2; shift 2 ;;
    -*) usage ;;
    *) [ -z "$folder" ] || usage; folder=$1; shift ;;
  esac
done
if [ -z "$folder" ] || [ -z "$clap_folder" ]; then
  [ -n "${HOME:-}" ] || fail "HOME is not set; name the folders to uninstall from"
fi
# The folders to clear, each once.
folders=()
add() { local d; for d in "${folders[@]}"; do [ "$d" -ef "$1" ] && return; done; folders+=("$1"); }
for d in "$folder" "$clap_folder"; do
  [ -n "$d" ] || continue
  [ -f "$d/.vornix-install" ] || fail "no Vornix installation in '$d' (it has no .vornix-install)"
  add "$d"
done
for d in "${folder:-$HOME/.vst/Vornix}" "${clap_folder:-$HOME/.clap/Vornix}"; do
  if [ -f "$d/.vornix-install" ]; then add "$d"; fi
done
[ ${#folders[@]} -gt 0 ] || fail "no Vornix installation in '$HOME/.vst/Vornix' or '$HOME/.clap/Vornix'"

# read_list FOLDER: the list's folders (dirs) and files (files: "SUM NAME"); stops at a line that is
# not ours or a file outside the folder.
read_list() {
  local manifest=$1/.vornix-install line
  dirs=() files=()
  while IFS= read -r line; do
    case $line in
      "#"* | "") ;;
      "dir "*) dirs+=("${line#dir }") ;;
      "file "*)
        files+=("${line#file }")
        case ${line#file * } in */* | "" | . | ..) fail "'$manifest' names a file outside the folder: ${line#file * }" ;; esac ;;
      *) fail "'$manifest' has a line that is not ours: $line" ;;
    esac
  done <"$manifest"
}

# Every list is read before anything is removed.
for d in "${folders[@]}"; do read_list "$d"; done

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
