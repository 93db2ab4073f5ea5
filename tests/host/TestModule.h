// A module built from the host binding alone, declared the way a plug-in declares itself.
#pragma once

#include <string>
#include <vector>

#include "host/VSTModule.h"

namespace vornix::testing {

class FakeEditor : public host::TVSTEditorForm {
 public:
  FakeEditor(int w, int h) : w_(w), h_(h) {}
  int Width() const override { return w_; }
  int Height() const override { return h_; }
  void EmbedInto(void* parent, vst::VstIntPtr) override { parentWindow = parent; }
  void* parentWindow = nullptr;

 private:
  int w_, h_;
};

// Host requests land here; answers can be set per opcode.
struct RecordingHost {
  std::vector<vst::VstInt32> opcodes;
  std::vector<std::pair<vst::VstInt32, float>> automated;
  vst::VstIntPtr version = 2400;
  std::string product;
  const vst::VstTimeInfo* time = nullptr;
  static RecordingHost* current;

  static vst::VstIntPtr VSTCALLBACK Callback(vst::AEffect*, vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr,
                                             void* ptr, float opt) {
    RecordingHost& h = *current;
    h.opcodes.push_back(opcode);
    if (opcode == vst::audioMasterVersion) return h.version;
    if (opcode == vst::audioMasterGetProductString && ptr != nullptr) {
      static_cast<char*>(ptr)[h.product.copy(static_cast<char*>(ptr), 63)] = '\0';
      return 1;
    }
    if (opcode == vst::audioMasterAutomate) h.automated.emplace_back(index, opt);
    if (opcode == vst::audioMasterGetTime) return reinterpret_cast<vst::VstIntPtr>(h.time);
    return 0;
  }
  int Count(vst::VstInt32 opcode) const {
    int n = 0;
    for (auto o : opcodes) n += o == opcode;
    return n;
  }
};

class TestModule : public host::TVSTModule {
 public:
  TestModule() {
    DeclareValues([this] {
      log.push_back("values");
      SetEffectName("Test");
      SetFlags({host::TEffFlag::effFlagsHasEditor, host::TEffFlag::effFlagsCanReplacing,
                host::TEffFlag::effFlagsProgramChunks});
      AddProgram().SetDisplayName("Default");
      auto& p = AddParameter();
      p.SetDisplayName("Steps");
      p.Min = 1;
      p.Max = 64;
      OnGetChunkParameter = [this](host::TVSTModuleWithPrograms&, int) { return stored; };
      p.OnParameterChange = [this](host::TVSTModuleWithPrograms&, int, float& v) { stored = v; };
    });
    OnInitialize = [this](host::TBasicVSTModule&) { log.push_back("initialize"); };
    OnCreate = [this](host::TBasicVSTModule&) { log.push_back("create"); };
  }

  using host::TVSTModule::Dispatcher;
  vst::VstIntPtr Call(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
    return Dispatcher(opcode, index, value, ptr, opt);
  }
  void AddDeclaredValues(std::function<void()> f) { DeclareValues(std::move(f)); }
  void RunProcessReplacing(float** out, int frames) { ProcessReplacing(nullptr, out, frames); }
  void RunProcess(float** out, int frames) { Process(nullptr, out, frames); }

  std::vector<std::string> log;
  float stored = 0.0f;
};

}  // namespace vornix::testing
