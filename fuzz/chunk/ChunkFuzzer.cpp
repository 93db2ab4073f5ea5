// Hands arbitrary bytes to the plug-in as a host's chunk, in program and bank form. Nothing may
// crash; afterwards the model must hold only values it can play, a chunk that was refused must
// have left the saved state exactly as it was, and playing the state sends only valid MIDI.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "host/VSTModule.h"
#include "plugin/Plugin.h"

namespace {

using namespace vornix;
using namespace vst;

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr int kFrames = 256;

// A playing transport, so the sequencer really plays the fuzzed state; everything it sends must be
// valid MIDI on a sample inside its block.
VstTimeInfo transport = [] {
  VstTimeInfo t{};
  t.sampleRate = 44100.0;
  t.tempo = 140.0;
  t.timeSigNumerator = 4;
  t.timeSigDenominator = 4;
  t.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
  return t;
}();

VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
  switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(&transport);
    case audioMasterProcessEvents: {
      const auto* list = static_cast<const VstEvents*>(ptr);
      for (VstInt32 i = 0; i < list->numEvents; ++i) {
        const auto* m = reinterpret_cast<const VstMidiEvent*>(list->events[i]);
        Check(m->deltaFrames >= 0 && m->deltaFrames < kFrames);
        Check((m->midiData[0] & 0xF0) == 0xB0);
        Check((m->midiData[1] & 0x80) == 0 && (m->midiData[2] & 0x80) == 0);
      }
      return 1;
    }
    default: return 0;
  }
}

struct Instance {
  Instance() {
    effect = host::CreateEffect([] { return std::make_unique<plugin::TVSTPlugin>(); }, &Callback);
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    module = static_cast<plugin::TVSTPlugin*>(host::TBasicVSTModule::FromEffect(effect));
    // Reports go nowhere: a refused chunk is the expected outcome here.
    module->SetDialogHost(std::make_shared<platform::TScriptedDialogHost>());
  }
  std::vector<std::uint8_t> Saved() {
    void* data = nullptr;
    const auto size = effect->dispatcher(effect, effGetChunk, 1, 0, &data, 0.0f);
    const auto* p = static_cast<const std::uint8_t*>(data);
    return {p, p + size};
  }
  AEffect* effect = nullptr;
  plugin::TVSTPlugin* module = nullptr;
};

void CheckModel(plugin::TVSTPlugin& m) {
  Check(m.CurrentSequence() >= 0 && m.CurrentSequence() < 8);
  for (int s = 0; s < m.Sequencer().Count(); ++s) {
    const auto& seq = m.Sequencer().Items(s);
    Check(seq.StepCount() >= 1 && seq.StepCount() <= 64);
    Check(seq.Channel() >= 1 && seq.Channel() <= 16);
    Check(seq.CCNumber() >= 0 && seq.CCNumber() <= 127);
    Check(seq.Rate() >= 1 && seq.Rate() <= 13);
    Check(seq.RateType() >= 0 && seq.RateType() <= 2);
    Check(seq.Order() >= 0 && seq.Order() <= 8);
    Check(seq.Trigger() >= 0 && seq.Trigger() <= 4);
    for (int i = 0; i < 64; ++i) {
      const float v = seq.Steps()[i].Value();
      const float r = seq.Steps()[i].RandomRange();
      Check(v >= 0.0f && v <= 127.0f);
      Check(r >= 0.0f && r <= 127.0f);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Instance instance;
  if (size == 0) return 0;
  // The first byte picks the form; the rest is the chunk.
  const VstInt32 index = data[0] & 1;
  std::vector<std::uint8_t> bytes(data + 1, data + size);
  std::vector<std::uint8_t> before = instance.Saved();
  const std::size_t questionsBefore =
      static_cast<platform::TScriptedDialogHost&>(*instance.module->DialogHost()).Questions().size();
  instance.effect->dispatcher(instance.effect, effSetChunk, index, static_cast<VstIntPtr>(bytes.size()), bytes.data(),
                              0.0f);
  CheckModel(*instance.module);
  const std::size_t questionsAfter =
      static_cast<platform::TScriptedDialogHost&>(*instance.module->DialogHost()).Questions().size();
  if (questionsAfter != questionsBefore) Check(instance.Saved() == before);  // refused: nothing changed
  // And it plays: a few blocks from the start of the song, with the state just loaded.
  std::vector<float> a(kFrames), b(kFrames);
  float* out[2] = {a.data(), b.data()};
  transport.ppqPos = 0.0;
  for (int block = 0; block < 8; ++block) {
    instance.effect->processReplacing(instance.effect, nullptr, out, kFrames);
    transport.ppqPos += kFrames / transport.sampleRate * transport.tempo / 60.0;
  }
  return 0;
}
