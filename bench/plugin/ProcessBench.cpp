// One processing block of the built plug-in, through its entry point, with all eight sequences
// playing and smoothing on: the VST 2.x file's processReplacing, and the LV2 library's run() for
// the same blocks (the transport reported once, at the start, as hosts report a rolling one).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <lv2/atom/forge.h>
#include <lv2/core/lv2.h>
#include <lv2/time/time.h>
#include <lv2/urid/urid.h>

#include <array>
#include <cstdio>
#include <map>
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

LV2_URID Map(LV2_URID_Map_Handle handle, const char* uri) {
  auto& ids = *static_cast<std::map<std::string, LV2_URID>*>(handle);
  return ids.emplace(uri, static_cast<LV2_URID>(ids.size() + 1)).first->second;
}

void Lv2RunAllSequences(benchmark::State& state) {
  void* library = dlopen(VORNIX_LV2_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    state.SkipWithError("cannot load the LV2 library");
    return;
  }
  const auto* d = reinterpret_cast<const LV2_Descriptor* (*)(uint32_t)>(dlsym(library, "lv2_descriptor"))(0);
  std::map<std::string, LV2_URID> ids;
  LV2_URID_Map map{&ids, &Map};
  const LV2_Feature mapFeature{LV2_URID__map, &map};
  const LV2_Feature* features[] = {&mapFeature, nullptr};
  LV2_Handle h = d->instantiate(d, 44100.0, VORNIX_LV2_BUNDLE, features);
  // The ports of the settings follow the two atom ports; defaults first, then the same settings as
  // above ("1/4" is 5, "1/128" is 0).
  std::array<float, 72> controls{};
  const float rates[] = {5, 4, 3, 2, 6, 1, 0, 7};
  for (int s = 0; s < 8; ++s) {
    controls[static_cast<std::size_t>(9 * s)] = 1.0f;                            // Active
    controls[static_cast<std::size_t>(9 * s + 1)] = 32.0f;                       // Steps
    controls[static_cast<std::size_t>(9 * s + 2)] = 1.0f;                        // Channel
    controls[static_cast<std::size_t>(9 * s + 3)] = static_cast<float>(20 + s);  // CC#
    controls[static_cast<std::size_t>(9 * s + 4)] = rates[s];                    // Rate
    controls[static_cast<std::size_t>(9 * s + 5)] = 1.0f;                        // Rate Type
    controls[static_cast<std::size_t>(9 * s + 8)] = 1.0f;                        // Smooth
  }
  for (uint32_t i = 0; i < controls.size(); ++i) d->connect_port(h, 2 + i, &controls[i]);
  std::vector<uint64_t> in(1024), out(16384);
  d->connect_port(h, 0, in.data());
  d->connect_port(h, 1, out.data());
  LV2_Atom_Forge forge;
  lv2_atom_forge_init(&forge, &map);
  const auto input = [&](bool report) {
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(in.data()), in.size() * 8);
    LV2_Atom_Forge_Frame sequence, position;
    lv2_atom_forge_sequence_head(&forge, &sequence, 0);
    if (report) {
      lv2_atom_forge_frame_time(&forge, 0);
      lv2_atom_forge_object(&forge, &position, 0, map.map(&ids, LV2_TIME__Position));
      lv2_atom_forge_key(&forge, map.map(&ids, LV2_TIME__speed));
      lv2_atom_forge_float(&forge, 1.0f);
      lv2_atom_forge_key(&forge, map.map(&ids, LV2_TIME__bar));
      lv2_atom_forge_long(&forge, 0);
      lv2_atom_forge_key(&forge, map.map(&ids, LV2_TIME__barBeat));
      lv2_atom_forge_float(&forge, 0.0f);
      lv2_atom_forge_key(&forge, map.map(&ids, LV2_TIME__beatUnit));
      lv2_atom_forge_int(&forge, 4);
      lv2_atom_forge_key(&forge, map.map(&ids, LV2_TIME__beatsPerBar));
      lv2_atom_forge_float(&forge, 4.0f);
      lv2_atom_forge_key(&forge, map.map(&ids, LV2_TIME__beatsPerMinute));
      lv2_atom_forge_float(&forge, 120.0f);
      lv2_atom_forge_pop(&forge, &position);
    }
    lv2_atom_forge_pop(&forge, &sequence);
  };
  const LV2_URID midiEvent = map.map(&ids, "http://lv2plug.in/ns/ext/midi#MidiEvent");
  d->activate(h);
  const auto frames = static_cast<uint32_t>(state.range(0));
  auto* outSequence = reinterpret_cast<LV2_Atom_Sequence*>(out.data());
  input(true);
  bool reported = false;
  long midi = 0;
  for (auto _ : state) {
    outSequence->atom.size = static_cast<uint32_t>(out.size() * 8 - sizeof(LV2_Atom));
    d->run(h, frames);
    LV2_ATOM_SEQUENCE_FOREACH(outSequence, ev) midi += ev->body.type == midiEvent ? 1 : 0;
    if (!reported) input(false);  // an empty input after the report
    reported = true;
  }
  state.counters["events/block"] = benchmark::Counter(static_cast<double>(midi) / state.iterations());
  d->deactivate(h);
  d->cleanup(h);
  dlclose(library);
}
BENCHMARK(Lv2RunAllSequences)->Arg(512)->Arg(4096);

}  // namespace
