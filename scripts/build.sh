#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures and builds one build tree with two jobs.
# VORNIX_TARGETS="a b" limits the build to those targets.
set -euo pipefail
dir=$1; shift
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja "$@" >/dev/null
targets=()
for t in ${VORNIX_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$dir" -j2 "${targets[@]}"
