#!/usr/bin/env bash
# The main job: builds the plug-in and its command-line host, shows what a host sees of the
# plug-in, then plays two bars of a demo preset through it (sequence 1 as it starts, sequence 2
# a smoothed ramp) and writes them as a MIDI file and as text.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIX_TESTS=OFF
render=build/release/tools/render/vornix-render
plugin=build/release/Vornix.so
"$render" --info "$plugin"
echo
echo "Two bars at 120 BPM, 44.1 kHz, 512-sample blocks (sample, quarter notes, bytes):"
"$render" --load "resources/presets/Demo Ramp.orvanep" --bars 2 --tempo 120 --block-size 512 \
  --midi build/release/demo.mid --text "$plugin"
echo
echo "Written: build/release/demo.mid"
