#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures and builds one build tree with two jobs.
set -euo pipefail
dir=$1; shift
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j2
