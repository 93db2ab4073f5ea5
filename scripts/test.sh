#!/usr/bin/env bash
# The full test run: a release build with every test, the user guide with its checks and the install
# commands, the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the
# stress tests of the host's threads under ThreadSanitizer, short fuzzing runs and the Windows stage.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

# The window tests need an X server: each ctest run gets a virtual one of its own, on a display
# number the server picks itself (scripts/with-xvfb.sh), so that runs side by side never collide.
# (The X11 tests fail without DISPLAY; VORNIX_HEADLESS=1 skips them in a run that is deliberately
# without an X server.)
xvfb=(bash "$PWD/scripts/with-xvfb.sh")

# Tests on, whatever an earlier demo.sh left in the build's cache; a run that finds none fails.
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIX_TESTS=ON
(cd build/release && "${xvfb[@]}" ctest --output-on-failure --no-tests=error -j2)

# The user guide as a user gets it, checked (its PDF toolchain is about 25 MB to download and the
# guide renders in seconds); then this build's plug-in and guide installed and uninstalled in
# temporary folders.
bash scripts/guide.sh build/release
bash tests/guide/check-guide.sh build/release
bash tests/install/install-test.sh build/release

bash scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug -DVORNIX_SANITIZE=ON -DVORNIX_TESTS=ON
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 "${xvfb[@]}" ctest --output-on-failure --no-tests=error -j2)

# The host's threads at once under ThreadSanitizer: the stress tests in-process, then the plug-in
# file itself driven by a C host from a GUI thread with a real X11 window, the main thread and an
# audio thread (in a home folder of its own, so the user's settings stay untouched).
VORNIX_TARGETS="vornix_stress_tests vornix_thread_host Vornix" \
  bash scripts/build.sh build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIX_TSAN=ON
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/stress/vornix_stress_tests
scratch=$(mktemp -d)
HOME=$scratch XDG_CONFIG_HOME=$scratch/.config TSAN_OPTIONS=halt_on_error=1 \
  "${xvfb[@]}" build/tsan/tests/stress/vornix_thread_host build/tsan/Vornix.so 5
rm -rf "$scratch"

# Everything that parses outside data gets a short, bounded fuzzing run (clang, libFuzzer).
CC=clang CXX=clang++ VORNIX_TARGETS="vornix_chunk_fuzzer vornix_stream_fuzzer vornix_clipboard_fuzzer" \
  bash scripts/build.sh build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIX_FUZZ=ON -DVORNIX_TESTS=OFF
for target in chunk stream clipboard; do
  scratch=$(mktemp -d)
  build/fuzz/fuzz/vornix_${target}_fuzzer -max_total_time=30 -print_final_stats=1 "$scratch" fuzz/$target/corpus \
    2>&1 | tail -n 3
  rm -rf "$scratch"
done

# Windows: Vornix.dll for x86-64 and x86 from the same sources, the x86-64 tests under Wine.
bash scripts/test-windows.sh
