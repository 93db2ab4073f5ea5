// The host's threads at once, as hosts run them. Built with ThreadSanitizer, which reports any data
// race between them.
// - Two threads: one processes blocks with a rolling transport and incoming notes; the other
//   automates every parameter, switches the shown sequence, edits steps, saves and loads chunks and
//   presets, and runs the open editor (on windows in memory) on that same thread, drawing in its
//   grid and refreshing it at every idle call.
// - Three threads, as Ardour runs them: the editor opened and idled on a GUI thread of its own
//   (clicks and strokes now and then), the main thread loading host chunks and preset files,
//   fetching chunks as an autosave does, setting the program and automating, and the processing
//   thread playing with note and controller input.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "editor/forms/EmbeddedEditor.h"
#include "host/VSTModule.h"
#include "host/VendorSpecific.h"
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
std::atomic<long> displayUpdates{0};
std::atomic<long> resizes{0};
VstTimeInfo timeInfo{};  // written and read by the processing thread only

VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
  switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(&timeInfo);
    case audioMasterAutomate: automations.fetch_add(1, std::memory_order_relaxed); return 0;
    case audioMasterUpdateDisplay: displayUpdates.fetch_add(1, std::memory_order_relaxed); return 1;
    case audioMasterSizeWindow: resizes.fetch_add(1, std::memory_order_relaxed); return 1;
    case audioMasterProcessEvents:
      eventsReceived.fetch_add(static_cast<const VstEvents*>(ptr)->numEvents, std::memory_order_relaxed);
      return 1;
    default: return 0;
  }
}

// One plug-in instance as a host makes it, with a preset of its own to load ("stress": sequences 1
// and 4 at "1/32").
class StressedPlugin {
 public:
  StressedPlugin() {
    e = host::CreateEffect([] { return std::make_unique<plugin::TVSTPlugin>(); }, &Callback);
    if (e == nullptr) throw std::runtime_error("no effect");
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    module = static_cast<plugin::TVSTPlugin*>(host::TBasicVSTModule::FromEffect(e));
    module->SetParameterByName("Seq4 Active", 1.0f);
    module->SetParameterByName("Seq4 Rate", 3.0f);
    TMemoryStreamChunk preset;
    if (!module->SaveStateToChunk(preset)) throw std::runtime_error("no state");
    std::filesystem::create_directories(module->PresetsFolder());
    preset.SaveToFile(std::filesystem::path(module->PresetsFolder()) / "stress.orvanep");
  }
  ~StressedPlugin() { e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f); }

  // The editor as a host opens it, on the calling thread: windows in memory, questions answered
  // by a script. Returns the page.
  editor::TfrmEditor& OpenEditor(platform::TMemoryWindowSystem& windows) {
    module->EditorFormClass = [&](host::TCustomVSTModule&) {
      return std::make_unique<editor::TEmbeddedEditor>(*module, &windows,
                                                       std::make_shared<platform::TScriptedDialogHost>());
    };
    int parent = 0;
    if (e->dispatcher(e, effEditOpen, 0, 0, &parent, 0.0f) != 1) throw std::runtime_error("no editor");
    return *static_cast<editor::TEmbeddedEditor*>(module->EditorForm())->Form();
  }

  // The processing thread's life: blocks with a rolling transport, an occasional jump back, notes
  // for the triggers and controllers for the CC map and for learning, until `stop` says so.
  void Play(const std::function<bool(int block)>& stop) {
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
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&note);
    double ppq = 0.0;
    for (int block = 0; !stop(block); ++block) {
      static constexpr char kinds[] = {'\x90', '\xB0', '\x80', '\xB1'};
      note.midiData[0] = kinds[block % 4];
      note.midiData[1] = static_cast<char>(block % 4 == 1 ? 10 + block % 3 : 60 + block % 12);
      note.midiData[2] = static_cast<char>(block % 128);
      e->dispatcher(e, effProcessEvents, 0, 0, &events, 0.0f);
      timeInfo.ppqPos = block % 1000 == 999 ? 0.0 : ppq;
      e->processReplacing(e, nullptr, out, 256);
      ppq += 256 * 140.0 / 60.0 / 48000.0;
    }
  }

  // What the host's main thread does: automation, chunks saved and loaded, the program set.
  void HostRound(int round) {
    for (VstInt32 i = 0; i < e->numParams; ++i) {
      e->setParameter(e, i, static_cast<float>((i * 7 + round) % 11) / 10.0f);
      (void)e->getParameter(e, i);
    }
    char text[64] = {};
    e->dispatcher(e, effGetParamDisplay, round % e->numParams, 0, text, 0.0f);
    void* data = nullptr;
    const VstIntPtr size = e->dispatcher(e, effGetChunk, round % 2, 0, &data, 0.0f);
    std::vector<unsigned char> chunk(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    e->dispatcher(e, effSetChunk, round % 2, size, chunk.data(), 0.0f);
    if (round % 5 == 0) e->dispatcher(e, effSetProgram, 0, 0, nullptr, 0.0f);
    // The host's UI scale hint: the open editor follows it on its own thread (at 125 %
    // and briefly: a zoomed page is slow to paint under ThreadSanitizer).
    if (round % 25 == 0)
      e->dispatcher(e, effVendorSpecific, kVendorScaleIndex, kVendorScaleValue, nullptr,
                    round % 200 == 25 ? 1.25f : 1.0f);
  }

  // A stroke across the grid and a wheel notch on it.
  static void Stroke(platform::TMemoryWindowSystem& windows, editor::TfrmEditor& page, int round) {
    platform::TWindow& window = *page.Window();
    const gfx::TPoint grid = page.CCSequencer->ClientToForm({0, 0});
    const int y = grid.Y + 1 + (round * 37) % 250;
    windows.MouseDown(window, grid.X + 5 + (round % 30) * 22, y);
    windows.MouseMove(window, grid.X + 5 + (round % 30 + 3) * 22, 250 - y + 2 * grid.Y);
    windows.MouseUp(window, grid.X + 5 + (round % 30 + 3) * 22, 250 - y + 2 * grid.Y);
    windows.MouseWheel(window, grid.X + 100, grid.Y + 100, round % 2 ? 120 : -120);
  }

  AEffect* e = nullptr;
  plugin::TVSTPlugin* module = nullptr;
};

class ThreadStress : public ::testing::Test {
 protected:
  platform::test::TTempFolder home;
  platform::test::TScopedUserFolders user{home.Path(), home.Path() / "config"};
};

TEST_F(ThreadStress, ProcessingAndAnEditorOnTheMainThreadShareTheModelSafely) {
  StressedPlugin p;
  std::atomic<bool> done{false};
  std::atomic<int> rounds{0};
  // Keep going until the other thread has really run alongside.
  std::thread processing([&] {
    p.Play([&](int block) { return block >= 4000 && rounds.load() >= 100; });
    done = true;
  });
  std::thread mainThread([&] {
    platform::TMemoryWindowSystem windows;
    editor::TfrmEditor& page = p.OpenEditor(windows);
    plugin::TVSTPlugin& module = *p.module;
    for (int round = 0; !done; ++round) {
      p.HostRound(round);
      module.SetParameterByName("Seq3 Rate", static_cast<float>(round % 13));
      module.SetCurrentSequence(round % 8);
      // The editor's side of the CC map and of learn and teach.
      module.SetCC("Seq" + std::to_string(1 + round % 8) + " CC#", 10 + round % 3);
      if (round % 5 == 0 && module.MidiCCList().Count() > 0) module.RemoveLink(0);
      if (round % 7 == 0) {
        module.ToggleMidiLearn();
        module.LearnControlPressed("Seq2 Steps");
      }
      if (round % 11 == 0) module.ToggleMidiTeach(30);
      // Steps drawn in the editor, and whole states loaded while the other thread plays.
      sequencer::TSequencerItem& seq = module.Sequencer().Items(round % 8);
      seq.Steps()[round % 64].SetValue(static_cast<float>(round % 128));
      seq.Steps()[(round + 7) % 64].SetRandomRange(static_cast<float>(round % 5));
      if (round % 3 == 0) seq.AssignSteps(module.Sequencer().Items((round + 1) % 8).Steps());
      if (round % 4 == 0) module.LoadPresetFile("stress");
      if (round % 9 == 0) module.ResetState();
      StressedPlugin::Stroke(windows, page, round);
      p.e->dispatcher(p.e, effEditIdle, 0, 0, nullptr, 0.0f);
      rounds = round + 1;
    }
    p.e->dispatcher(p.e, effEditClose, 0, 0, nullptr, 0.0f);
  });
  processing.join();
  mainThread.join();
  EXPECT_GT(eventsReceived.load(), 0);
  EXPECT_GT(automations.load(), 0);
}

TEST_F(ThreadStress, AnEditorOnAGuiThreadOfItsOwnWhileTheMainThreadLoadsAndTheAudioThreadPlays) {
  StressedPlugin p;
  std::atomic<bool> done{false};
  std::atomic<int> idles{0}, loads{0};
  std::thread gui([&] {
    platform::TMemoryWindowSystem windows;
    editor::TfrmEditor& page = p.OpenEditor(windows);
    for (int round = 0; !done; ++round) {
      p.e->dispatcher(p.e, effEditIdle, 0, 0, nullptr, 0.0f);
      ERect* rect = nullptr;
      p.e->dispatcher(p.e, effEditGetRect, 0, 0, &rect, 0.0f);
      // Now and then the user: a sequence button, a stroke in the grid, a title.
      if (round % 7 == 0) {
        const auto& button = *page.btnSeq[static_cast<std::size_t>(round / 7 % 8)];
        const gfx::TPoint c = button.ClientToForm({button.Width() / 2, button.Height() / 2});
        windows.Click(*page.Window(), c.X, c.Y);
      }
      if (round % 5 == 0) StressedPlugin::Stroke(windows, page, round);
      if (round % 31 == 0) p.module->Sequencer().Items(round % 8).SetTitle("Take " + std::to_string(round));
      windows.AdvanceTime(3);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      idles = round + 1;
    }
    p.e->dispatcher(p.e, effEditClose, 0, 0, nullptr, 0.0f);
  });
  std::thread audio([&] { p.Play([&](int) { return done.load(); }); });
  // The host's main thread: loads of every kind while the others run.
  for (int round = 0; round < 300 || idles.load() < 100; ++round) {
    p.HostRound(round);
    if (round % 3 == 0) p.module->LoadPresetFile("stress");
    if (round % 10 == 0) p.module->ResetState();
    loads = round + 1;
  }
  done = true;
  gui.join();
  audio.join();
  EXPECT_GE(loads.load(), 300);
  EXPECT_GT(eventsReceived.load(), 0);
  EXPECT_GT(resizes.load(), 0);
}

// Each instance opens its editor in its own skin, even when two open at once on two threads.
TEST_F(ThreadStress, TwoEditorsOpeningAtOnceOnTwoThreadsEachGetTheirOwnSkin) {
  StressedPlugin dark, light;
  dark.module->SetStyle(1);
  const gfx::TSkin* skins[2] = {};
  for (int attempt = 0; attempt < 20; ++attempt) {
    light.module->SetStyle(2);  // the shared configuration now says Light; Dark keeps its own choice
    std::thread a([&] {
      platform::TMemoryWindowSystem windows;
      skins[0] = dark.OpenEditor(windows).Skin();
      dark.e->dispatcher(dark.e, effEditClose, 0, 0, nullptr, 0.0f);
    });
    std::thread b([&] {
      platform::TMemoryWindowSystem windows;
      skins[1] = light.OpenEditor(windows).Skin();
      light.e->dispatcher(light.e, effEditClose, 0, 0, nullptr, 0.0f);
    });
    a.join();
    b.join();
    ASSERT_EQ(skins[0], &gfx::SkinByName("Amakrits"));
    ASSERT_EQ(skins[1], &gfx::SkinByName("Light"));
  }
}

}  // namespace
}  // namespace vornix::testing
