#!/usr/bin/env bash
# run-qtractor.sh PLUGIN_FOLDER [QTRACTOR ARGUMENTS...]: Qtractor, with the CLAP plug-ins of
# PLUGIN_FOLDER (build/release holds Vornix.clap), on a virtual X server and a JACK server of its own
# (the dummy backend), for checking the plug-in in a real host by hand on a machine without sound
# hardware: FakeSequencer.c stands in for the ALSA sequencer Qtractor needs, so nothing of the plug-in
# changes. Qtractor runs in a scratch home whose sessions stay there and are not auto-saved. Prints
# the display (for xdotool and screenshots) and stops all three when Qtractor quits.
set -euo pipefail
[ $# -ge 1 ] && [ -d "$1" ] || { echo "usage: run-qtractor.sh PLUGIN_FOLDER [QTRACTOR ARGUMENTS...]" >&2; exit 2; }
plugins=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
pids=()
stop() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap stop EXIT

cc -shared -fPIC -o "$scratch/FakeSequencer.so" "$here/FakeSequencer.c"

# A display and a JACK server nobody else uses.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
display=:$(cat "$scratch/display")
server=vornix-check-$$
jackd -n "$server" -d dummy -r 48000 -p 512 >"$scratch/jack.log" 2>&1 &
pids+=($!)
JACK_DEFAULT_SERVER=$server jack_wait -w -t 10 >/dev/null

mkdir -p "$scratch/home/.config/rncbc.org" "$scratch/sessions"
cat >"$scratch/home/.config/rncbc.org/Qtractor.conf" <<CONF
[AutoSave]
Enabled=false

[Default]
SessionDir=$scratch/sessions
AutoSessionDir=false
CONF
echo "Qtractor on DISPLAY=$display, JACK server $server; sessions in $scratch/sessions"
cd "$scratch/sessions"
HOME=$scratch/home DISPLAY=$display JACK_DEFAULT_SERVER=$server CLAP_PATH=$plugins \
  LD_PRELOAD=$scratch/FakeSequencer.so qtractor "$@"
