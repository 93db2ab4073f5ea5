// One processReplacing call of the built plug-in, through its entry point, with all eight
// sequences playing and smoothing on.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/VstAbi.h"

namespace {

using namespace vst;

VstTimeInfo timeInfo{};
long events = 0;

VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
  switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(&timeInfo);
    case audioMasterProcessEvents: events += static_cast<const VstEvents*>(ptr)->numEvents; return 1;
    default: return 0;
  }
}

// Sets a parameter to the host value whose display text matches.
void SetByText(AEffect* e, const std::string& name, const std::string& text) {
  char buffer[256];
  for (VstInt32 i = 0; i < e->numParams; ++i) {
    e->dispatcher(e, effGetParamName, i, 0, buffer, 0.0f);
    if (name != buffer) continue;
    for (int n = 0; n <= 1000; ++n) {
      e->setParameter(e, i, n / 1000.0f);
      e->dispatcher(e, effGetParamDisplay, i, 0, buffer, 0.0f);
      if (text == buffer) return;
    }
  }
}

void ProcessReplacingAllSequences(benchmark::State& state) {
  void* library = dlopen(VORNIX_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    state.SkipWithError("cannot load the plug-in");
    return;
  }
  auto entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(library, "VSTPluginMain"));
  AEffect* e = entry(&Callback);
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  const char* rates[] = {"1/4", "1/8", "1/16", "1/32", "1/2", "1/64", "1/128", "1/1"};
  for (int s = 1; s <= 8; ++s) {
    const std::string seq = "Seq" + std::to_string(s);
    SetByText(e, seq + " Active", "On");
    SetByText(e, seq + " Smooth", "On");
    SetByText(e, seq + " Rate", rates[s - 1]);
  }
  timeInfo.sampleRate = 44100.0;
  timeInfo.tempo = 120.0;
  timeInfo.timeSigNumerator = 4;
  timeInfo.timeSigDenominator = 4;
  timeInfo.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
  const int frames = static_cast<int>(state.range(0));
  std::vector<float> a(static_cast<std::size_t>(frames)), b(static_cast<std::size_t>(frames));
  float* out[2] = {a.data(), b.data()};
  double ppq = 0.0;
  events = 0;
  for (auto _ : state) {
    timeInfo.ppqPos = ppq;
    e->processReplacing(e, nullptr, out, frames);
    ppq += frames * 120.0 / 60.0 / 44100.0;
  }
  state.counters["events/block"] = benchmark::Counter(static_cast<double>(events) / state.iterations());
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  dlclose(library);
}
BENCHMARK(ProcessReplacingAllSequences)->Arg(512)->Arg(4096);

}  // namespace
