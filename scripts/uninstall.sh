#!/usr/bin/env bash
# uninstall.sh [FOLDER]: removes what scripts/install.sh put into FOLDER (~/.vst/Vornix by default),
# as listed in FOLDER/.vornix-install: the files it copied, if they are still the ones it copied,
# the list itself, and the folders it made, if they are empty then. Everything else stays.
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
manifest=$folder/.vornix-install
[ -f "$manifest" ] || fail "no Vornix installation in '$folder' (it has no .vornix-install)"

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

kept=0
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
rm -f "$manifest"

# Innermost first; a folder that holds anything else stays.
for ((i = ${#dirs[@]} - 1; i >= 0; i--)); do
  d=${dirs[i]}
  [ -d "$d" ] || continue
  if rmdir "$d" 2>/dev/null; then echo "removed $d/"; else echo "kept $d/: it is not empty"; fi
done
[ $kept -eq 0 ] || echo "uninstall.sh: some files were kept; remove them by hand if you no longer need them" >&2
