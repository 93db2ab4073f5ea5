#!/usr/bin/env bash
# The full test run: release build with every test, then the same tests under ASan+UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd build/release && ctest --output-on-failure -j2)

bash scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug -DVORNIX_SANITIZE=ON
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j2)
