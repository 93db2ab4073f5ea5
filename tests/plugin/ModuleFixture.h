// The plug-in module built in-process, with a recording host and a fake editor.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../platform/TempEnvironment.h"
#include "platform/DialogHost.h"
#include "plugin/Plugin.h"

namespace vornix::testing {

// An editor that pulls from the module's inbox at every idle call, as the real one does, and
// records what it would refresh.
struct FakeEditor : host::TVSTEditorForm {
  explicit FakeEditor(plugin::TVSTPlugin& module) : module(module) {}
  int Width() const override { return 640; }
  int Height() const override { return 480; }
  void EmbedInto(void*, vst::VstIntPtr) override {}
  void Idle() override {
    module.CompletePendingLearn();
    const unsigned changes = module.EditorInbox().TakeChanges();
    const std::pair<unsigned, const char*> refreshes[] = {
        {plugin::TEditorInbox::kControls, "UpdateControls"},
        {plugin::TEditorInbox::kPointerFocus, "FocusControlUnderCursor"},
        {plugin::TEditorInbox::kPresetName, "UpdatePresetName"},
        {plugin::TEditorInbox::kSequenceButtons, "UpdateSequenceButtons"},
        {plugin::TEditorInbox::kGridSteps, "LoadGridSteps"}};
    for (const auto& [change, call] : refreshes) {
      if ((changes & change) == 0) continue;
      calls.push_back(call);
      if (change == plugin::TEditorInbox::kControls && duringUpdate) duringUpdate();
    }
    while (const auto text = module.EditorInbox().TakeInfo()) calls.push_back("Info " + *text);
    if (const int step = module.TakeShowStep(); step != -2) calls.push_back("StepNo " + std::to_string(step));
  }
  plugin::TVSTPlugin& module;
  std::vector<std::string> calls;
  std::function<void()> duringUpdate;  // what another thread does while the editor refreshes
};

struct Host {
  std::vector<std::pair<vst::VstInt32, vst::VstIntPtr>> requests;
  std::vector<std::pair<vst::VstInt32, float>> automated;
  std::vector<std::string> edits;  // "begin 3", "automate 3", "end 3" in the order they came
  std::vector<std::array<int, 4>> midi;
  vst::VstTimeInfo time{};
  bool giveTime = true;
  // audioMasterSizeWindow: the sizes asked for, and whether the host takes them.
  std::vector<std::pair<int, int>> resizes;
  bool takesResize = true;
  // What the host sees of the editor's size when it resizes (effEditGetRect from inside the call).
  std::function<void()> duringResize;
  static Host* current;
  static vst::VstIntPtr VSTCALLBACK Callback(vst::AEffect*, vst::VstInt32 opcode, vst::VstInt32 index,
                                             vst::VstIntPtr value, void* ptr, float opt) {
    Host& h = *current;
    h.requests.emplace_back(opcode, value);
    switch (opcode) {
      case vst::audioMasterVersion: return 2400;
      case vst::audioMasterAutomate:
        h.automated.emplace_back(index, opt);
        h.edits.push_back("automate " + std::to_string(index));
        return 0;
      case vst::audioMasterBeginEdit: h.edits.push_back("begin " + std::to_string(index)); return 1;
      case vst::audioMasterEndEdit: h.edits.push_back("end " + std::to_string(index)); return 1;
      case vst::audioMasterGetTime: return h.giveTime ? reinterpret_cast<vst::VstIntPtr>(&h.time) : 0;
      case vst::audioMasterSizeWindow:
        h.resizes.emplace_back(index, static_cast<int>(value));
        if (h.duringResize) h.duringResize();
        return h.takesResize ? 1 : 0;
      case vst::audioMasterProcessEvents: {
        const auto* list = static_cast<const vst::VstEvents*>(ptr);
        for (int i = 0; i < list->numEvents; ++i) {
          const auto* e = reinterpret_cast<const vst::VstMidiEvent*>(list->events[i]);
          h.midi.push_back({e->deltaFrames, static_cast<unsigned char>(e->midiData[0]),
                            static_cast<unsigned char>(e->midiData[1]), static_cast<unsigned char>(e->midiData[2])});
        }
        return 1;
      }
      default: return 0;
    }
  }
};

class TestPlugin : public plugin::TVSTPlugin {
 public:
  using plugin::TVSTPlugin::Dispatcher;
  vst::VstIntPtr Call(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
    return Dispatcher(opcode, index, value, ptr, opt);
  }
  // The host's setParameter entry: a value in 0..1.
  void HostSets(int index, float normalized) { HostSetParameter(index, normalized); }
  void Block(int frames) {
    std::vector<float> a(static_cast<std::size_t>(frames)), b(static_cast<std::size_t>(frames));
    float* out[2] = {a.data(), b.data()};
    ProcessReplacing(nullptr, out, frames);
  }
  FakeEditor* OpenEditor() {
    EditorFormClass = [this](host::TCustomVSTModule&) { return std::make_unique<FakeEditor>(*this); };
    int parent = 0;
    Call(vst::effEditOpen, 0, 0, &parent);
    auto* editor = static_cast<FakeEditor*>(EditorForm());
    // What it pulls at its first idle call does not concern the tests.
    Call(vst::effEditIdle);
    editor->calls.clear();
    return editor;
  }
  void Receive(unsigned char status, unsigned char d1, unsigned char d2) {
    vst::VstMidiEvent e{};
    e.type = vst::kVstMidiType;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(d1);
    e.midiData[2] = static_cast<char>(d2);
    ProcessMidiEvent(e);
  }
};

// Every plug-in under test lives in a home folder of its own.
class PluginUnitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Host::current = &host;
    plugin = std::make_unique<TestPlugin>();
    plugin->SetDialogHost(dialogs);
    plugin->AfterConstruction();
    plugin->SetAudioMaster(&Host::Callback);
    plugin->Call(vst::effOpen);
    plugin->Call(vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.time.sampleRate = 48000.0;
    host.time.tempo = 120.0;
    host.time.timeSigNumerator = 4;
    host.time.timeSigDenominator = 4;
    host.time.flags = vst::kVstTempoValid | vst::kVstPpqPosValid | vst::kVstTimeSigValid;
  }
  void Block(double ppq, bool playing, int frames = 512) {
    host.time.ppqPos = ppq;
    if (playing)
      host.time.flags |= vst::kVstTransportPlaying;
    else
      host.time.flags &= ~vst::kVstTransportPlaying;
    plugin->Block(frames);
  }

  platform::test::TTempFolder home;
  platform::test::TScopedUserFolders user{home.Path(), home.Path() / ".config"};
  // The editor's zoom does not follow the desktop of whoever runs the tests.
  platform::test::TScopedEnv gdkScale{"GDK_SCALE", std::nullopt};
  std::shared_ptr<platform::TScriptedDialogHost> dialogs = std::make_shared<platform::TScriptedDialogHost>();
  Host host;
  std::unique_ptr<TestPlugin> plugin;
};

}  // namespace vornix::testing
