#!/usr/bin/env bash
# install-test.sh BUILD_DIR: installs the plug-ins (VST 2.x, CLAP and the LV2 bundle) and the user
# guide of BUILD_DIR with scripts/install.sh --prebuilt into temporary folders (the home folder too is
# a temporary one) and removes them with scripts/uninstall.sh: each plug-in with the guide beside it
# (inside the bundle), the installed plug-ins load, export their entries only and lilv lists the
# bundle, and the uninstall removes exactly what the install put there. Needs no root.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: install-test.sh BUILD_DIR" >&2; exit 2; }
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
guide="Vornix User Guide.pdf"
uri=https://orvane.example/plugins/vornix
for f in "$build/Vornix.so" "$build/Vornix.clap" "$build/$guide" "$build/tools/render/vornix-render" \
  "$build/lv2/Vornix.lv2/manifest.ttl"; do
  [ -e "$f" ] || { echo "install-test.sh: '$f' is missing; build the plug-in and the guide first" >&2; exit 2; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The CLAP plug-in goes to ~/.clap/Vornix and the bundle to ~/.lv2 unless named otherwise: never the
# user's.
export HOME=$scratch/home
passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}
install() { bash "$root/scripts/install.sh" --prebuilt "$build" "$@" >/dev/null; }
uninstall() { bash "$root/scripts/uninstall.sh" "$@"; }
# The names in a folder, hidden ones included, one per line, sorted.
names() { (cd "$1" && find . -mindepth 1 -maxdepth 1 -printf '%f\n' | LC_ALL=C sort); }
same_names() { [ "$(names "$1")" = "$2" ]; }

# 1. A new folder with a blank in its name and missing parents: the plug-in and the guide side by
#    side and the list of both; the plug-in loads from there; uninstalling leaves nothing behind.
target="$scratch/home dir/plug ins/Vornix"
install "$target"
check "fresh install: the folder holds the plug-in, the guide and the list" \
  same_names "$target" "$(printf '.vornix-install\n%s\nVornix.so' "$guide")"
check "the guide is the built one" cmp "$build/$guide" "$target/$guide"
check "the installed plug-in loads through its entry point and names itself" \
  bash -c '"$1" --info "$2" | grep -q Vornix' _ "$build/tools/render/vornix-render" "$target/Vornix.so"
check "the installed plug-in exports only the entry points" \
  bash -c '[ "$(nm -D --defined-only "$1" | awk "{print \$3}" | LC_ALL=C sort | xargs)" = "VSTPluginMain main" ]' _ "$target/Vornix.so"
check "the CLAP plug-in and the guide go side by side into ~/.clap/Vornix" \
  same_names "$HOME/.clap/Vornix" "$(printf '.vornix-install\n%s\nVornix.clap' "$guide")"
check "the installed CLAP plug-in exports only its entry" \
  bash -c '[ "$(nm -D --defined-only "$1" | awk "{print \$3}" | xargs)" = "clap_entry" ]' _ "$HOME/.clap/Vornix/Vornix.clap"
check "the bundle holds the library, its description, the guide and the list" \
  same_names "$HOME/.lv2/Vornix.lv2" "$(printf '.vornix-install\n%s\nmanifest.ttl\npresets.ttl\nvornix-lv2.so\nvornix.ttl' "$guide")"
check "the bundle's guide is the built one" cmp "$build/$guide" "$HOME/.lv2/Vornix.lv2/$guide"
check "lilv lists the installed bundle's plug-in" \
  bash -c 'LV2_PATH="$1" lv2ls | grep -qx "$2"' _ "$HOME/.lv2" "$uri"
check "the installed LV2 library exports only its entry points" \
  bash -c '[ "$(nm -D --defined-only "$1" | awk "{print \$3}" | LC_ALL=C sort | xargs)" = "lv2_descriptor lv2ui_descriptor" ]' _ "$HOME/.lv2/Vornix.lv2/vornix-lv2.so"
uninstall "$target" >/dev/null
check "uninstall removes the folders that the install made" test ! -e "$scratch/home dir"
check "and the CLAP plug-in and the bundle with the folders made for them" test ! -e "$HOME"
check "uninstall leaves the scratch folder as it was" same_names "$scratch" ""

# 2. A folder that exists and holds a file of the user's: both stay.
target=$scratch/vst
mkdir -p "$target"
echo mine >"$target/Other.so"
install "$target"
uninstall "$target" >/dev/null
check "uninstall keeps a folder it did not make and the user's file in it" same_names "$target" "Other.so"

# 3. Installing twice and uninstalling once removes everything, the made folder included.
target=$scratch/twice/Vornix
install "$target"
install "$target"
uninstall "$target" >/dev/null
check "a repeated install is removed by one uninstall" test ! -e "$scratch/twice"

# 4. A file that changed after the install stays, with a warning; the other goes.
target=$scratch/changed
install "$target"
echo "my own notes" >"$target/$guide"
out=$(uninstall "$target" 2>&1)
check "a changed file is kept" same_names "$target" "$guide"
check "the uninstall names the file it kept" grep -q "kept .*$guide" <<<"$out"

# 5. A user's file added after the install keeps the made folder.
target=$scratch/added
install "$target"
touch "$target/Notes.txt"
uninstall "$target" >/dev/null
check "a file added later keeps the folder" same_names "$target" "Notes.txt"

# 6. The default folders are ~/.vst/Vornix, ~/.clap/Vornix and ~/.lv2.
HOME=$scratch/home install
check "without a folder, the install goes to ~/.vst/Vornix" test -f "$scratch/home/.vst/Vornix/Vornix.so"
check "without --lv2, the bundle goes to ~/.lv2/Vornix.lv2" test -f "$scratch/home/.lv2/Vornix.lv2/manifest.ttl"
HOME=$scratch/home uninstall >/dev/null
check "without a folder, the uninstall empties ~/.vst/Vornix" test ! -e "$scratch/home/.vst"
check "and removes the bundle" test ! -e "$scratch/home/.lv2"

# 7. The CLAP plug-in and the bundle in folders of their own, or the CLAP plug-in with the VST 2.x
#    plug-in in the same folder; the bundle uninstalled alone.
install --clap "$scratch/clap/Vornix" --lv2 "$scratch/lv2 plugins" "$scratch/vst2/Vornix"
check "--clap names the CLAP plug-in's folder" same_names "$scratch/clap/Vornix" "$(printf '.vornix-install\n%s\nVornix.clap' "$guide")"
check "--lv2 puts the bundle there" test -f "$scratch/lv2 plugins/Vornix.lv2/vornix-lv2.so"
check "and the default ones stay empty" test ! -e "$HOME"
uninstall "$scratch/lv2 plugins/Vornix.lv2" >/dev/null
check "uninstalling the bundle removes it" test ! -e "$scratch/lv2 plugins"
check "and keeps the VST 2.x installation" test -f "$scratch/vst2/Vornix/Vornix.so"
uninstall --clap "$scratch/clap/Vornix" "$scratch/vst2/Vornix" >/dev/null
check "uninstall --clap removes both installations" bash -c '[ ! -e "$1/clap" ] && [ ! -e "$1/vst2" ]' _ "$scratch"
install --clap "$scratch/both" --lv2 "$scratch/lv2" "$scratch/both"
check "one folder for both holds both plug-ins, the guide and one list" \
  same_names "$scratch/both" "$(printf '.vornix-install\n%s\nVornix.clap\nVornix.so' "$guide")"
uninstall "$scratch/both" >/dev/null
check "and its uninstall removes them all, the bundle too" bash -c '[ ! -e "$1/both" ] && [ ! -e "$1/lv2" ]' _ "$scratch"

# 8. Bad input changes nothing and says why.
check "uninstall without any installation fails" bash -c '! bash "$1"' _ "$root/scripts/uninstall.sh"
mkdir -p "$scratch/nothing"
check "uninstall refuses a folder without an installation" bash -c '! bash "$1" "$2"' _ "$root/scripts/uninstall.sh" "$scratch/nothing"
check "install refuses a file as its folder" bash -c 'touch "$3"; ! bash "$1" --prebuilt "$2" "$3"' _ "$root/scripts/install.sh" "$build" "$scratch/a-file"
check "install refuses a build folder without the guide" bash -c '! bash "$1" --prebuilt "$2" "$3"' _ "$root/scripts/install.sh" "$scratch/nothing" "$scratch/x"
check "a refused install makes no folder" test ! -e "$scratch/x"
printf '# Written by hand\nfile 00 ../escape\n' >"$scratch/nothing/.vornix-install"
touch "$scratch/escape"
check "uninstall refuses a list that names a file outside the folder" bash -c '! bash "$1" "$2"' _ "$root/scripts/uninstall.sh" "$scratch/nothing"
check "and removes nothing" test -e "$scratch/escape"

echo "install-test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
