// What the editor window tests play to see the steps the editor set: a running transport with
// sequence 1 stepped, and the values its first steps send.
#pragma once

#include <vector>

#include "hostkit/PluginHost.h"

namespace vornix::testing {

// A playing transport and sequence 1 stepped, so a block sends step values as they are.
inline void SetTimeAndStepped(hostkit::PluginHost& host) {
  host.Dispatch(vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  vst::VstTimeInfo t{};
  t.sampleRate = 48000.0;
  t.tempo = 120.0;
  t.timeSigNumerator = 4;
  t.timeSigDenominator = 4;
  t.flags = vst::kVstTransportPlaying | vst::kVstTempoValid | vst::kVstPpqPosValid | vst::kVstTimeSigValid;
  host.timeInfo = t;
  host.Effect()->setParameter(host.Effect(), 8, 0.0f);  // Seq1 Smooth off
}

// The values of the first `count` steps of sequence 1 ("1/4" steps), played from the start.
inline std::vector<int> FirstValues(hostkit::PluginHost& host, int count) {
  host.midi.clear();
  host.timeInfo->ppqPos = 0.0;
  host.timeInfo->flags &= ~vst::kVstTransportPlaying;
  host.ProcessBlock(512);  // stopped: the next block starts afresh
  host.timeInfo->flags |= vst::kVstTransportPlaying;
  std::vector<int> values;
  for (int step = 0; step < count; ++step) {
    host.timeInfo->ppqPos = step;
    host.ProcessBlock(512);
  }
  for (const auto& m : host.midi)
    if (m.status == 0xB0 && m.data1 == 20) values.push_back(m.data2);
  return values;
}

}  // namespace vornix::testing
