#!/usr/bin/env bash
# The main job: builds the plug-in and its command-line host, then shows what a host sees.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIX_TESTS=OFF
build/release/tools/vornix-render --info build/release/Vornix.so
