#!/usr/bin/env bash
# lv2-tools-test.sh BUNDLE: what lilv's tools show a user of the built bundle: lv2ls lists Vornix;
# lv2info shows the MIDI atom ports (the transport in too), the 72 settings as control ports with
# their list texts, the state interface, the X11 UI and the presets.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: lv2-tools-test.sh BUNDLE" >&2; exit 2; }
bundle=$(cd "$1" && pwd)
uri=https://orvane.example/plugins/vornix
# The bundle's folder and the system's specifications, nothing of the user's.
export LV2_PATH="$(dirname "$bundle"):/usr/lib/lv2"

passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}
info=$(lv2info "$uri")
# One port's lines of lv2info's output.
port() { awk -v p="Port $1:" '$1 " " $2 == p { on = 1; next } /^\tPort [0-9]+:/ { on = 0 } on' <<<"$info"; }

check "lv2ls lists Vornix" grep -qx "$uri" <<<"$(lv2ls)"
check "lv2info names it" grep -qP '^\tName:\s+Vornix$' <<<"$info"
check "a MIDI plug-in" grep -qP '^\tClass:\s+MIDI Plugin$' <<<"$info"
check "its library is in the bundle" grep -qF "Binary:            file://$bundle/vornix-lv2.so" <<<"$info"
check "it needs urid:map and nothing else" \
  bash -c 'grep -qP "^\tRequired Features: http://lv2plug.in/ns/ext/urid#map$" <<<"$1" && sed -n "/Required Features/{n;p}" <<<"$1" | grep -qP "^\t\S"' _ "$info"
check "the state interface" grep -qF 'Extension Data:    http://lv2plug.in/ns/ext/state#interface' <<<"$info"
check "the X11 UI" grep -qF 'Class:  http://lv2plug.in/ns/extensions/ui#X11UI' <<<"$info"
for preset in Init "Demo Motion" "Demo Ramp"; do
  check "the preset $preset" grep -qP "^\t\s+$preset$" <<<"$info"
done
check "MIDI and the transport come in on atom port 0" \
  bash -c 'grep -q "atom#AtomPort" <<<"$1" && grep -q "lv2core#InputPort" <<<"$1" && grep -qP "Symbol:\s+midi_in" <<<"$1"' _ "$(port 0)"
check "MIDI goes out on atom port 1" \
  bash -c 'grep -q "atom#AtomPort" <<<"$1" && grep -q "lv2core#OutputPort" <<<"$1" && grep -qP "Symbol:\s+midi_out" <<<"$1"' _ "$(port 1)"
check "74 ports" test "$(grep -cP '^\tPort [0-9]+:' <<<"$info")" -eq 74
check "72 of them input controls" \
  test "$(awk '/^\tPort [0-9]+:/ { n++ } /lv2core#ControlPort/ { c[n] = 1 } END { print length(c) }' <<<"$info")" -eq 72
check "Seq1 Rate: a list from 1/128 to 32/1, 1/4 by default" \
  bash -c 'grep -qP "Name:\s+Seq1 Rate$" <<<"$1" && grep -qF "0.0 = \"1/128\"" <<<"$1" && grep -qF "12.0 = \"32/1\"" <<<"$1" && grep -qP "Default:\s+5.0+$" <<<"$1" && grep -q "lv2core#enumeration" <<<"$1"' _ "$(port 6)"
check "Seq8 Smooth: a toggle, on by default" \
  bash -c 'grep -qP "Name:\s+Seq8 Smooth$" <<<"$1" && grep -q "lv2core#toggled" <<<"$1" && grep -qP "Default:\s+1.0+$" <<<"$1"' _ "$(port 73)"
check "Seq2 Steps: a whole number from 1 to 64" \
  bash -c 'grep -qP "Name:\s+Seq2 Steps$" <<<"$1" && grep -q "lv2core#integer" <<<"$1" && grep -qP "Minimum:\s+1.0+$" <<<"$1" && grep -qP "Maximum:\s+64.0+$" <<<"$1"' _ "$(port 12)"

echo "lv2-tools-test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
