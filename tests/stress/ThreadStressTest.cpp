// Two host threads at once, as hosts do: one processes blocks with a rolling transport and
// incoming notes, the other automates every parameter, switches the shown sequence, edits steps,
// saves and loads chunks and presets, and runs the open editor (on windows in memory), drawing in
// its grid and refreshing it at every idle call. Built with ThreadSanitizer, which reports any data
// race between them.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "editor/forms/EmbeddedEditor.h"
#include "host/VSTModule.h"
#include "platform/MemoryWindowSystem.h"
#include "plugin/Plugin.h"

// Last: on Windows it brings <windows.h>, whose CreateWindow and CreateDialog macros would rename
// the window system's methods.
#include "../platform/TempEnvironment.h"

namespace vornix::testing {
namespace {

using namespace vst;

std::atomic<long> eventsReceived{0};
std::atomic<long> automations{0};
VstTimeInfo timeInfo{};  // written and read by the processing thread only

VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
  switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(&timeInfo);
    case audioMasterAutomate: automations.fetch_add(1, std::memory_order_relaxed); return 0;
    case audioMasterProcessEvents:
      eventsReceived.fetch_add(static_cast<const VstEvents*>(ptr)->numEvents, std::memory_order_relaxed);
      return 1;
    default: return 0;
  }
}

TEST(ThreadStress, ProcessingAndAutomationShareTheModelSafely) {
  platform::test::TTempFolder home;
  platform::test::TScopedUserFolders user{home.Path(), home.Path() / "config"};
  AEffect* e = host::CreateEffect([] { return std::make_unique<plugin::TVSTPlugin>(); }, &Callback);
  ASSERT_NE(e, nullptr);
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  auto* module = static_cast<plugin::TVSTPlugin*>(host::TBasicVSTModule::FromEffect(e));
  // The editor as a host opens it, its windows in memory; its questions answered by a script.
  platform::TMemoryWindowSystem windows;
  module->EditorFormClass = [&](host::TCustomVSTModule&) {
    return std::make_unique<editor::TEmbeddedEditor>(*module, &windows,
                                                     std::make_shared<platform::TScriptedDialogHost>());
  };
  int parent = 0;
  ASSERT_EQ(e->dispatcher(e, effEditOpen, 0, 0, &parent, 0.0f), 1);
  editor::TfrmEditor& page = *static_cast<editor::TEmbeddedEditor*>(module->EditorForm())->Form();
  platform::TWindow& window = *page.Window();
  const gfx::TPoint grid = page.CCSequencer->ClientToForm({0, 0});
  // A preset of its own to load: sequences 1 and 4 at "1/32".
  module->SetParameterByName("Seq4 Active", 1.0f);
  module->SetParameterByName("Seq4 Rate", 3.0f);
  {
    TMemoryStreamChunk preset;
    ASSERT_TRUE(module->SaveStateToChunk(preset));
    std::filesystem::create_directories(module->PresetsFolder());
    preset.SaveToFile(std::filesystem::path(module->PresetsFolder()) / "stress.orvanep");
  }

  std::atomic<bool> done{false};
  std::atomic<int> rounds{0};
  std::thread processing([&] {
    timeInfo.sampleRate = 48000.0;
    timeInfo.tempo = 140.0;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
    std::vector<float> a(256), b(256);
    float* out[2] = {a.data(), b.data()};
    VstMidiEvent note{};
    note.type = kVstMidiType;
    note.byteSize = sizeof note;
    VstEvents events{};  // room for one event and more
    VstEvents* list = &events;
    list->numEvents = 1;
    list->events[0] = reinterpret_cast<VstEvent*>(&note);
    double ppq = 0.0;
    // Keep going until the other thread has really run alongside.
    for (int block = 0; block < 4000 || rounds.load() < 100; ++block) {
      // Notes for the triggers, controllers for the CC map and for learning.
      static constexpr char kinds[] = {'\x90', '\xB0', '\x80', '\xB1'};
      note.midiData[0] = kinds[block % 4];
      note.midiData[1] = static_cast<char>(block % 4 == 1 ? 10 + block % 3 : 60 + block % 12);
      note.midiData[2] = static_cast<char>(block % 128);
      e->dispatcher(e, effProcessEvents, 0, 0, list, 0.0f);
      timeInfo.ppqPos = block % 1000 == 999 ? 0.0 : ppq;  // an occasional jump back
      e->processReplacing(e, nullptr, out, 256);
      ppq += 256 * 140.0 / 60.0 / 48000.0;
    }
    done = true;
  });
  std::thread automation([&] {
    int round = 0;
    while (!done) {
      for (VstInt32 i = 0; i < e->numParams; ++i) {
        e->setParameter(e, i, static_cast<float>((i * 7 + round) % 11) / 10.0f);
        (void)e->getParameter(e, i);
      }
      module->SetParameterByName("Seq3 Rate", static_cast<float>(round % 13));
      module->SetCurrentSequence(round % 8);
      // The editor's side of the CC map and of learn and teach.
      module->SetCC("Seq" + std::to_string(1 + round % 8) + " CC#", 10 + round % 3);
      if (round % 5 == 0 && module->MidiCCList().Count() > 0) module->RemoveLink(0);
      if (round % 7 == 0) {
        module->ToggleMidiLearn();
        module->LearnControlPressed("Seq2 Steps");
      }
      if (round % 11 == 0) module->ToggleMidiTeach(30);
      // Steps drawn in the editor, and whole states loaded while the other thread plays.
      sequencer::TSequencerItem& seq = module->Sequencer().Items(round % 8);
      seq.Steps()[round % 64].SetValue(static_cast<float>(round % 128));
      seq.Steps()[(round + 7) % 64].SetRandomRange(static_cast<float>(round % 5));
      if (round % 3 == 0) seq.AssignSteps(module->Sequencer().Items((round + 1) % 8).Steps());
      void* data = nullptr;
      const VstIntPtr size = e->dispatcher(e, effGetChunk, round % 2, 0, &data, 0.0f);
      std::vector<unsigned char> chunk(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
      e->dispatcher(e, effSetChunk, round % 2, size, chunk.data(), 0.0f);
      if (round % 4 == 0) module->LoadPresetFile("stress");
      if (round % 9 == 0) module->ResetState();
      // A stroke across the grid, and a wheel notch on it.
      const int y = grid.Y + 1 + (round * 37) % 250;
      windows.MouseDown(window, grid.X + 5 + (round % 30) * 22, y);
      windows.MouseMove(window, grid.X + 5 + (round % 30 + 3) * 22, 250 - y + 2 * grid.Y);
      windows.MouseUp(window, grid.X + 5 + (round % 30 + 3) * 22, 250 - y + 2 * grid.Y);
      windows.MouseWheel(window, grid.X + 100, grid.Y + 100, round % 2 ? 120 : -120);
      e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0.0f);
      ++round;
      rounds = round;
    }
  });
  processing.join();
  automation.join();
  e->dispatcher(e, effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_GT(eventsReceived.load(), 0);
  EXPECT_GT(automations.load(), 0);
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
}  // namespace vornix::testing
