// A rolling host transport for driving the plug-in block by block.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "PluginFixture.h"

namespace vornix::testing {

class PlayingTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    host->Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    vst::VstTimeInfo t{};
    t.sampleRate = sampleRate;
    t.tempo = 120.0;
    t.timeSigNumerator = 4;
    t.timeSigDenominator = 4;
    t.flags = vst::kVstTempoValid | vst::kVstPpqPosValid | vst::kVstTimeSigValid;
    host->timeInfo = t;
  }
  // One block at position ppq with the transport running or stopped.
  void Block(double ppq, int frames, bool playing = true) {
    host->timeInfo->ppqPos = ppq;
    if (playing)
      host->timeInfo->flags |= vst::kVstTransportPlaying;
    else
      host->timeInfo->flags &= ~vst::kVstTransportPlaying;
    host->ProcessBlock(frames);
  }
  // Blocks from ppq on, the position advancing with the samples.
  double Play(double ppq, int blocks, int frames) {
    for (int b = 0; b < blocks; ++b) {
      Block(ppq, frames);
      ppq += frames * host->timeInfo->tempo / 60.0 / sampleRate;
    }
    return ppq;
  }
  void SetParameterText(const std::string& name, const std::string& text) {
    for (vst::VstInt32 i = 0; i < effect().numParams; ++i) {
      if (host->DispatchText(vst::effGetParamName, i) != name) continue;
      for (int n = 0; n <= 1000; ++n) {
        effect().setParameter(&effect(), i, n / 1000.0f);
        if (host->DispatchText(vst::effGetParamDisplay, i) == text) return;
      }
    }
    FAIL() << name << " cannot show " << text;
  }
  vst::VstMidiEvent Midi(unsigned char status, unsigned char d1, unsigned char d2, int delta = 0) {
    vst::VstMidiEvent e{};
    e.type = vst::kVstMidiType;
    e.byteSize = sizeof e;
    e.deltaFrames = delta;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(d1);
    e.midiData[2] = static_cast<char>(d2);
    return e;
  }

  double sampleRate = 48000.0;
};

}  // namespace vornix::testing
