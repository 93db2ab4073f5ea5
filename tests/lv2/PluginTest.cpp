// The plug-in's LV2 face in-process: the ports' values reach the module as VST 2.x parameter
// changes and never undo its own; what the module changes reaches the host through the UI; state,
// notifications and MIDI at their frames.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <thread>

#include "../platform/TempEnvironment.h"
#include "Atoms.h"
#include "formats/lv2/Plugin.h"
#include "formats/lv2/Ports.h"
#include "plugin/Plugin.h"

namespace vornix::testing::lv2 {
namespace {

using formats::lv2::TPlugin;

struct TFakeUi final : TPlugin::TUi {
  void Report(int parameter, float value) override { reports.emplace_back(parameter, value); }
  void Gesture(int parameter, bool begins) override { gestures.emplace_back(parameter, begins); }
  bool Resize(int width, int height) override {
    resizes.emplace_back(width, height);
    return takesResize;
  }
  std::vector<std::pair<int, float>> reports;
  std::vector<std::pair<int, bool>> gestures;
  std::vector<std::pair<int, int>> resizes;
  bool takesResize = true;
};

class Lv2Plugin : public ::testing::Test {
 protected:
  void SetUp() override { Make(); }
  void Make() {
    plugin = std::make_unique<TPlugin>(48000.0, features.data());
    plugin->Connect(formats::lv2::kEventsIn, in.Sequence());
    plugin->Connect(formats::lv2::kEventsOut, out.Sequence());
    for (int i = 0; i < plugin::kParameterCount; ++i) {
      ports[static_cast<std::size_t>(i)] = plugin::ParameterDefault(plugin::SequenceOf(i), plugin::SettingOf(i));
      plugin->Connect(formats::lv2::kFirstControl + static_cast<std::uint32_t>(i), &ports[static_cast<std::size_t>(i)]);
    }
    plugin->Activate();
  }
  std::vector<TOut> Run(std::uint32_t frames = 256) {
    out.Prepare();
    plugin->Run(frames);
    in.Clear();
    return out.Events(map);
  }
  float& Port(int parameter) { return ports[static_cast<std::size_t>(parameter)]; }
  formats::TEffectHost& Host() { return plugin->Host(); }

  platform::test::TTempHome home;
  TUridMap map;
  LV2_Feature mapFeature{LV2_URID__map, map.MapFeature()};
  std::vector<const LV2_Feature*> features{&mapFeature, nullptr};
  TInput in{map};
  TOutput out;
  std::array<float, plugin::kParameterCount> ports{};
  std::unique_ptr<TPlugin> plugin;
};

TEST_F(Lv2Plugin, APortTheHostChangesReachesTheModuleAsAParameterChange) {
  Port(4) = 3.0f;    // Seq1 Rate
  Port(18) = 1.0f;   // Seq3 Active
  Port(10) = 60.4f;  // Seq2 Steps
  Run();
  EXPECT_EQ(Host().ParameterDisplay(4), "1/16");
  EXPECT_EQ(Host().ParameterDisplay(18), "On");
  EXPECT_EQ(Host().ParameterDisplay(10), "60");
  EXPECT_EQ(plugin->Value(10), 60.0f);
}

// The editor (or a mapped controller) changes a setting; the host's port, unchanged, leaves it so.
// Once the host moves the port, the host's value counts.
TEST_F(Lv2Plugin, APortLeftAloneNeverUndoesTheModulesOwnChange) {
  Host().Module().SetParameter(4, 3.0f);
  Run();
  Run();
  EXPECT_EQ(plugin->Value(4), 3.0f);
  Port(4) = 7.0f;
  Run();
  EXPECT_EQ(plugin->Value(4), 7.0f);
}

// On the UI's thread a change goes to the UI at once, inside its gesture; made on the audio thread
// (a mapped controller), it waits for the UI's next idle call. Without a UI it waits for one.
TEST_F(Lv2Plugin, TheModulesOwnChangesReachTheHostThroughTheUi) {
  TFakeUi ui;
  ASSERT_TRUE(plugin->AttachUi(ui));
  TFakeUi second;
  EXPECT_FALSE(plugin->AttachUi(second)) << "one editor per instance";

  Host().Module().SetParameter(13, 5.0f);  // Seq2 Rate, as the editor sets it
  EXPECT_EQ(ui.reports, (std::vector<std::pair<int, float>>{{13, 5.0f}}));
  ui.reports.clear();

  Host().Module().SetCC("Seq1 CC#", 7);
  in.Midi(10, {0xB0, 7, 50});  // controller 7 drives Seq1 CC#
  std::thread audio([&] { Run(); });
  audio.join();
  EXPECT_TRUE(ui.reports.empty());
  plugin->ReportPending();
  EXPECT_EQ(ui.reports, (std::vector<std::pair<int, float>>{{3, 50.0f}}));
  ui.reports.clear();
  plugin->ReportPending();
  EXPECT_TRUE(ui.reports.empty()) << "reported once";

  // A controller's change the host overrides before the UI reports it is not reported.
  in.Midi(10, {0xB0, 7, 60});
  std::thread again([&] { Run(); });
  again.join();
  Port(3) = 40.0f;
  std::thread host([&] { Run(); });
  host.join();
  plugin->ReportPending();
  EXPECT_TRUE(ui.reports.empty());
  EXPECT_EQ(plugin->Value(3), 40.0f);
  plugin->DetachUi();

  Host().Module().SetParameter(13, 6.0f);  // no UI: kept for the next
  TFakeUi later;
  ASSERT_TRUE(plugin->AttachUi(later));
  plugin->ReportPending();
  EXPECT_EQ(later.reports, (std::vector<std::pair<int, float>>{{13, 6.0f}}));
  plugin->DetachUi();
}

// The editor's request for another window size (its zoom) goes to the UI, on the UI's thread only.
TEST_F(Lv2Plugin, TheEditorsResizeRequestGoesThroughTheUi) {
  EXPECT_FALSE(Host().Module().HostSizeWindow(1572, 842)) << "no UI";
  TFakeUi ui;
  ASSERT_TRUE(plugin->AttachUi(ui));
  EXPECT_TRUE(Host().Module().HostSizeWindow(1572, 842));
  ui.takesResize = false;
  EXPECT_FALSE(Host().Module().HostSizeWindow(983, 526));
  bool elsewhere = true;
  std::thread other([&] { elsewhere = Host().Module().HostSizeWindow(1179, 632); });
  other.join();
  EXPECT_FALSE(elsewhere);
  EXPECT_EQ(ui.resizes, (std::vector<std::pair<int, int>>{{1572, 842}, {983, 526}}));
  plugin->DetachUi();
}

// The module starts from the user's init preset while the host starts the ports at the defaults:
// the settings that differ reach the host once a UI is open, and the ports do not undo them.
TEST_F(Lv2Plugin, AnInitPresetsSettingsReachTheHostThroughTheUi) {
  Host().Module().SetParameter(4, 9.0f);
  Host().Module().SavePresetFile("init");
  plugin.reset();
  Make();
  EXPECT_EQ(plugin->Value(4), 9.0f);
  Run();
  EXPECT_EQ(plugin->Value(4), 9.0f);
  TFakeUi ui;
  ASSERT_TRUE(plugin->AttachUi(ui));
  plugin->ReportPending();
  EXPECT_EQ(ui.reports, (std::vector<std::pair<int, float>>{{4, 9.0f}}));
  plugin->DetachUi();
}

struct TStore {
  std::vector<std::uint8_t> bytes;
  LV2_URID type = 0, key = 0;
  std::uint32_t flags = 0;
  static LV2_State_Status Store(LV2_State_Handle self, std::uint32_t key, const void* value, std::size_t size,
                                std::uint32_t type, std::uint32_t flags) {
    auto& s = *static_cast<TStore*>(self);
    const auto* b = static_cast<const std::uint8_t*>(value);
    s.bytes.assign(b, b + size);
    s.key = key;
    s.type = type;
    s.flags = flags;
    return LV2_STATE_SUCCESS;
  }
  static const void* Retrieve(LV2_State_Handle self, std::uint32_t key, std::size_t* size, std::uint32_t* type,
                              std::uint32_t* flags) {
    auto& s = *static_cast<TStore*>(self);
    if (key != s.key) return nullptr;
    *size = s.bytes.size();
    *type = s.type;
    *flags = s.flags;
    return s.bytes.data();
  }
};

// The state is the program chunk; restoring it tells the host nothing it restores itself. A host
// that leaves its ports as they were undoes nothing of the state; the UI tells it the state's
// settings.
TEST_F(Lv2Plugin, StateIsTheProgramChunkAndARestoreIsNotReportedBack) {
  Host().Module().SetParameter(4, 2.0f);
  TStore saved;
  ASSERT_EQ(plugin->Save(&TStore::Store, &saved), LV2_STATE_SUCCESS);
  EXPECT_EQ(saved.bytes, Host().SaveState());
  EXPECT_EQ(saved.key, map.Map(formats::lv2::kStateUri));
  EXPECT_EQ(saved.type, map.Map(LV2_ATOM__Chunk));
  EXPECT_EQ(saved.flags, static_cast<std::uint32_t>(LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE));

  Host().Module().SetParameter(4, 11.0f);
  Run();
  TFakeUi ui;
  ASSERT_TRUE(plugin->AttachUi(ui));
  ASSERT_EQ(plugin->Restore(&TStore::Retrieve, &saved), LV2_STATE_SUCCESS);
  EXPECT_TRUE(ui.reports.empty());
  plugin->ReportPending();
  EXPECT_TRUE(ui.reports.empty());
  EXPECT_TRUE(Run().empty()) << "no notification of a change the host made";
  EXPECT_EQ(plugin->Value(4), 2.0f);
  plugin->ReportPending();
  EXPECT_EQ(ui.reports, (std::vector<std::pair<int, float>>{{4, 2.0f}})) << "the port shows 1/4 still";
  ui.reports.clear();

  // A host that restores the ports with the state hears nothing.
  Host().Module().SetParameter(4, 11.0f);
  ui.reports.clear();
  ASSERT_EQ(plugin->Restore(&TStore::Retrieve, &saved), LV2_STATE_SUCCESS);
  Port(4) = 2.0f;
  Run();
  plugin->ReportPending();
  EXPECT_TRUE(ui.reports.empty());
  EXPECT_EQ(plugin->Value(4), 2.0f);

  TStore damaged = saved;
  damaged.bytes.resize(damaged.bytes.size() / 2);
  EXPECT_EQ(plugin->Restore(&TStore::Retrieve, &damaged), LV2_STATE_ERR_UNKNOWN);
  TStore foreign = saved;
  foreign.type = map.Map(LV2_ATOM__String);
  EXPECT_EQ(plugin->Restore(&TStore::Retrieve, &foreign), LV2_STATE_ERR_BAD_TYPE);
  TStore none;
  EXPECT_EQ(plugin->Restore(&TStore::Retrieve, &none), LV2_STATE_ERR_NO_PROPERTY);
  EXPECT_EQ(Host().SaveState(), saved.bytes);
  plugin->DetachUi();
}

// A change of the state that no parameter shows (the editor's steps) marks the host's session
// modified: one state:StateChanged notification at the start of the next block.
TEST_F(Lv2Plugin, AChangeNoParameterShowsIsNotifiedOnTheOutputOnce) {
  Host().Module().NotifyHostOfChange();
  Host().Module().ReportStateChange();
  const auto events = Run();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Frame, 0);
  EXPECT_EQ(events[0].Object, LV2_STATE__StateChanged);
  EXPECT_TRUE(Run().empty());
}

// MIDI passes at its frame, before and after a transport report inside the block; a message of two
// bytes stays two bytes; what does not fit the output is dropped, never written past it.
TEST_F(Lv2Plugin, MidiPassesAtItsFramesAroundATransportReport) {
  in.Midi(10, {0x90, 60, 100});
  in.Position(100, TReport{});
  in.Midi(150, {0xB3, 1, 2});
  in.Midi(200, {0xD1, 64});
  const auto events = Run(256);
  std::vector<TOut> midi;
  for (const auto& e : events)
    if (!e.Midi.empty() && (e.Midi[0] & 0xF0) != 0xB0) midi.push_back(e);
  EXPECT_EQ(midi, (std::vector<TOut>{{10, {0x90, 60, 100}, {}}, {200, {0xD1, 64}, {}}}));
  bool thru = false;
  for (const auto& e : events) thru = thru || (e.Frame == 150 && e.Midi == std::vector<std::uint8_t>{0xB3, 1, 2});
  EXPECT_TRUE(thru);

  TOutput small(64);
  plugin->Connect(formats::lv2::kEventsOut, small.Sequence());
  for (int i = 0; i < 10; ++i) in.Midi(i, {0x90, 60, 100});
  small.Prepare();
  plugin->Run(64);
  EXPECT_LE(sizeof(LV2_Atom) + small.Sequence()->atom.size, 64u);
  const auto kept = small.Events(map).size();
  EXPECT_GE(kept, 1u);
  EXPECT_LT(kept, 10u);
}

}  // namespace
}  // namespace vornix::testing::lv2
