#!/usr/bin/env bash
# ardour-record.sh BUILD_DIR [SECONDS [BPM [METER]]]: plays the LV2 build and the VST 2.x build of
# BUILD_DIR in Ardour 7 (Debian's ardour; its headless Lua session tool, ardour7-lua, with Ardour's
# dummy audio engine) and records what each sends on a second MIDI track; the two recordings must
# hold the same MIDI at the same ticks. The session's tempo (quarter notes per minute, 120 by
# default) and meter (4/4 by default) may be given. Both start from the same state: a home folder
# of the script's own whose init preset is "Demo Ramp" (a preset without random steps); Ardour's
# own settings go there too. KEEP=1 keeps that folder. Not part of the test command: Ardour is no
# build dependency.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: ardour-record.sh BUILD_DIR [SECONDS [BPM [METER]]]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-8} bpm=${3:-120} meter=${4:-4/4}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
[ -z "${KEEP:-}" ] || trap - EXIT

export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config
mkdir -p "$HOME/Documents/Orvane/Vornix/Presets" "$scratch/vst"
cp "$root/resources/presets/Demo Ramp.orvanep" "$HOME/Documents/Orvane/Vornix/Presets/init.orvanep"
cp "$build/Vornix.so" "$scratch/vst/"
export LXVST_PATH=$scratch/vst LV2_PATH=$build/lv2:/usr/lib/lv2

# record NAME TYPE PLUGIN: a session NAME whose track "Gen" runs PLUGIN and whose track "Rec"
# records Gen's MIDI output while the transport rolls from the start; prints the recording's path.
record() {
  local name=$1 type=$2 plugin=$3
  cat >"$scratch/$name.lua" <<LUA
AudioEngine:set_backend("None (Dummy)", "", "")
AudioEngine:set_sample_rate(48000)
create_session("$scratch/$name", "$name", 48000)
local midi = ARDOUR.DataType("midi")
local function track(name)
  return Session:new_midi_track(ARDOUR.ChanCount(midi, 1), ARDOUR.ChanCount(midi, 1), false, ARDOUR.PluginInfo(),
                                nil, nil, 1, name, ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal,
                                true, false):front()
end
local map = Temporal.TempoMap.fetch_writable()
map:set_tempo(Temporal.Tempo($bpm, $bpm, 4), Temporal.timepos_t(0))
map:set_meter(Temporal.Meter(${meter%/*}, ${meter#*/}), Temporal.timepos_t(0))
Temporal.TempoMap.update(map)
local gen, rec = track("Gen"), track("Rec")
local plugin = ARDOUR.LuaAPI.new_plugin(Session, "$plugin", ARDOUR.PluginType.$type, "")
assert(not plugin:isnil(), "no plug-in $plugin")
gen:add_processor_by_index(plugin, 0, nil, true)
gen:output():disconnect_all(nil)
rec:input():disconnect_all(nil)
-- The VST 2.x build adds two (silent) audio outputs to the track: its MIDI output is the one.
assert(gen:output():midi(0):connect(rec:input():midi(0):name()) == 0)
rec:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
Session:goto_start(false)
Session:maybe_enable_record(false)
Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(${seconds}000000)
Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(500000)
Session:save_state("", false, false, false, false, false)
LUA
  timeout 600 ardour7-lua "$scratch/$name.lua" >"$scratch/$name.log" 2>&1 || { cat "$scratch/$name.log" >&2; exit 1; }
  find "$scratch/$name/interchange" -name '*.mid' | head -n 1
}

lv2=$(record lv2 LV2 https://orvane.example/plugins/vornix)
# Ardour finds a VST 2.x plug-in only in its scan cache, which its scanner writes (after Ardour's
# first start, which starts the caches afresh).
LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner -q -f "$scratch/vst/Vornix.so"
vst2=$(record vst2 LXVST Vornix)
python3 "$(dirname "$0")/midi-events.py" "$lv2" >"$scratch/lv2.txt"
python3 "$(dirname "$0")/midi-events.py" "$vst2" >"$scratch/vst2.txt"
# The takes end where the transport stopped, which the dummy engine does not time exactly (and a
# stop sends what stopping sends): the events up to a quarter note before the earlier end count.
end_tick() { tail -n 1 "$1" | cut -d' ' -f1; }
a=$(end_tick "$scratch/lv2.txt") b=$(end_tick "$scratch/vst2.txt")
cutoff=$(( (a < b ? a : b) - $(sed -n 's/^division //p' "$scratch/lv2.txt") ))
before() { awk -v c="$cutoff" 'NR > 1 && $1 < c' "$1"; }
before "$scratch/lv2.txt" >"$scratch/lv2.cut"
before "$scratch/vst2.txt" >"$scratch/vst2.cut"
echo "LV2 build: $(wc -l <"$scratch/lv2.cut") events; VST 2.x build: $(wc -l <"$scratch/vst2.cut") events (before tick $cutoff)"
if cmp -s "$scratch/lv2.cut" "$scratch/vst2.cut" && [ "$(wc -l <"$scratch/lv2.cut")" -gt 100 ]; then
  echo "the same events at the same ticks:"
  head -n 5 "$scratch/lv2.cut"
  echo "..."
else
  diff "$scratch/lv2.cut" "$scratch/vst2.cut" | head -n 20
  echo "ardour-record.sh: the recordings differ" >&2
  exit 1
fi
