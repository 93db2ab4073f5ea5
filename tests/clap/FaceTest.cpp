// The CLAP face in-process: factory and descriptor, extensions and ports, the 72 parameters, host
// values on their sample, what the module tells its host (the editor's gestures and values, a
// mapped controller, a change of the saved state), the state, and the editor's needs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <thread>

#include "ClapFixture.h"

namespace vornix::claptest {
namespace {

using namespace clap;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(ClapFace, TheFactoryOffersOneNoteEffectOfOurVendor) {
  const clap_plugin_factory& factory = host->Factory();
  ASSERT_EQ(factory.get_plugin_count(&factory), 1u);
  const clap_plugin_descriptor* d = factory.get_plugin_descriptor(&factory, 0);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(clap_version_is_compatible(d->clap_version));
  EXPECT_STREQ(d->id, "com.orvane.vornix");
  EXPECT_STREQ(d->name, "Vornix");
  EXPECT_STREQ(d->vendor, "Orvane");
  EXPECT_STREQ(d->version, VORNIX_VERSION_TEXT);
  std::vector<std::string> features;
  for (const char* const* f = d->features; *f != nullptr; ++f) features.emplace_back(*f);
  EXPECT_THAT(features, ElementsAre("note-effect", "utility"));
  EXPECT_EQ(factory.get_plugin_descriptor(&factory, 1), nullptr);
  EXPECT_EQ(host->Entry().get_factory("clap.preset-discovery-factory/2"), nullptr);

  // Another id, or a host of a version before 1.0, gets nothing.
  EXPECT_EQ(host->Create("com.orvane.other"), nullptr);
  clap_host old{};
  old.clap_version = {0, 19, 0};
  EXPECT_EQ(factory.create_plugin(&factory, &old, "com.orvane.vornix"), nullptr);
  // init may come again before deinit.
  EXPECT_TRUE(host->Entry().init(""));
  host->Entry().deinit();
  EXPECT_NE(host->Create(), nullptr);
}

TEST_F(ClapFace, ExtensionsAndPorts) {
  struct TCase {
    const char* id;
    bool offered;
  };
#if defined(_WIN32)
  constexpr bool kFds = false;
#else
  constexpr bool kFds = true;
#endif
  for (const TCase& c : {TCase{"clap.params", true}, TCase{"clap.state", true}, TCase{"clap.note-ports", true},
                         TCase{"clap.audio-ports", true}, TCase{"clap.gui", true}, TCase{"clap.timer-support", true},
                         TCase{"clap.posix-fd-support", kFds}, TCase{"clap.latency", false}, TCase{"clap.render", false},
                         TCase{"clap.params.draft", false}, TCase{"", false}})
    EXPECT_EQ(host->Extension<void>(c.id) != nullptr, c.offered) << c.id;

  const auto& notes = *host->Extension<clap_plugin_note_ports>(CLAP_EXT_NOTE_PORTS);
  for (const bool input : {true, false}) {
    ASSERT_EQ(notes.count(host->Plugin(), input), 1u);
    clap_note_port_info info{};
    ASSERT_TRUE(notes.get(host->Plugin(), 0, input, &info));
    EXPECT_EQ(info.id, 0u);
    EXPECT_EQ(info.preferred_dialect, CLAP_NOTE_DIALECT_MIDI);
    EXPECT_EQ(info.supported_dialects, input ? CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI : CLAP_NOTE_DIALECT_MIDI);
    EXPECT_STREQ(info.name, input ? "MIDI In" : "MIDI Out");
    EXPECT_FALSE(notes.get(host->Plugin(), 1, input, &info));
  }
  const auto& audio = *host->Extension<clap_plugin_audio_ports>(CLAP_EXT_AUDIO_PORTS);
  EXPECT_EQ(audio.count(host->Plugin(), true), 0u);
  EXPECT_EQ(audio.count(host->Plugin(), false), 0u);
}

TEST_F(ClapFace, ParametersAreTheSeventyTwoSettingsWithStableIds) {
  const clap_plugin_params& params = Params();
  ASSERT_EQ(params.count(host->Plugin()), 72u);
  for (std::uint32_t i = 0; i < 72; ++i) {
    clap_param_info info{};
    ASSERT_TRUE(params.get_info(host->Plugin(), i, &info));
    EXPECT_EQ(info.id, i);
    EXPECT_EQ(info.flags & (CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_AUTOMATABLE),
              CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_AUTOMATABLE);
    EXPECT_EQ(info.cookie, nullptr);
    EXPECT_EQ(std::string(info.module), "Seq" + std::to_string(i / 9 + 1));
    EXPECT_EQ(Value(i), info.default_value) << info.name;
  }
  clap_param_info info{};
  EXPECT_FALSE(params.get_info(host->Plugin(), 72, &info));

  struct TCase {
    clap_id id;
    const char* name;
    double min, max, def;
    bool isEnum;
  };
  for (const TCase& c : {TCase{0, "Seq1 Active", 0, 1, 1, true}, TCase{10, "Seq2 Steps", 1, 64, 32, false},
                         TCase{20, "Seq3 Channel", 1, 16, 1, false}, TCase{21, "Seq3 CC#", 0, 127, 22, false},
                         TCase{31, "Seq4 Rate", 0, 12, 5, true}, TCase{32, "Seq4 Rate Type", 0, 2, 1, true},
                         TCase{42, "Seq5 Order", 0, 8, 0, true}, TCase{52, "Seq6 Trigger", 0, 4, 0, true},
                         TCase{71, "Seq8 Smooth", 0, 1, 1, true}}) {
    ASSERT_TRUE(params.get_info(host->Plugin(), c.id, &info));
    EXPECT_STREQ(info.name, c.name);
    EXPECT_EQ(info.min_value, c.min) << c.name;
    EXPECT_EQ(info.max_value, c.max) << c.name;
    EXPECT_EQ(info.default_value, c.def) << c.name;
    EXPECT_EQ((info.flags & CLAP_PARAM_IS_ENUM) != 0, c.isEnum) << c.name;
  }

  // Texts as the VST 2.x build shows them, and back.
  struct TText {
    clap_id id;
    double value;
    const char* text;
  };
  for (const TText& t : {TText{0, 0, "Off"}, TText{0, 1, "On"}, TText{4, 0, "1/128"}, TText{4, 12, "32/1"},
                         TText{5, 2, "Triplet"}, TText{7, 3, "Note Retrigger"}, TText{1, 17, "17"},
                         TText{3, 127, "127"}}) {
    char text[64] = {};
    ASSERT_TRUE(params.value_to_text(host->Plugin(), t.id, t.value, text, sizeof text));
    EXPECT_STREQ(text, t.text);
    double back = -1;
    ASSERT_TRUE(params.text_to_value(host->Plugin(), t.id, t.text, &back)) << t.text;
    EXPECT_EQ(back, t.value);
  }
  char small[3] = {'x', 'x', 'x'};
  ASSERT_TRUE(params.value_to_text(host->Plugin(), 4, 0, small, sizeof small));
  EXPECT_STREQ(small, "1/");
  double value = 0;
  EXPECT_FALSE(params.text_to_value(host->Plugin(), 4, "1/3", &value));
  EXPECT_FALSE(params.text_to_value(host->Plugin(), 72, "1", &value));
  EXPECT_FALSE(params.get_value(host->Plugin(), 72, &value));
}

// A parameter the host changes inside a block takes effect on the change's own sample: the
// controller messages before it carry the old controller number, those from it on the new one.
TEST_F(ClapFace, HostValuesTakeEffectOnTheirSample) {
  ASSERT_TRUE(host->Activate(48000.0, 4096));
  const clap_event_transport transport = Transport(0.0, 120.0, 4, 4, true);
  TEventList in;
  in.Add(ParamEvent(0, 4, 0));      // Seq1 Rate 1/128: a step every 375 samples
  in.Add(ParamEvent(2000, 3, 99));  // Seq1 CC# 99
  TOutput out;
  host->Process(4096, &transport, in, out);
  int before = 0, after = 0;
  for (std::size_t i = 0; i < out.Size(); ++i) {
    ASSERT_EQ(out.Header(i).type, CLAP_EVENT_MIDI) << "the host's own changes are not sent back";
    const auto m = out.As<clap_event_midi>(i);
    EXPECT_EQ(m.data[1], out.Header(i).time < 2000 ? 20 : 99) << "at " << out.Header(i).time;
    ++(out.Header(i).time < 2000 ? before : after);
    if (i > 0) {
      EXPECT_GE(out.Header(i).time, out.Header(i - 1).time);
    }
  }
  EXPECT_GT(before, 2);
  EXPECT_GT(after, 2);
  EXPECT_EQ(Value(3), 99);
  EXPECT_EQ(Value(4), 0);
  EXPECT_EQ(host->flushRequests, 0);
}

// A parameter the module changes on the audio thread (a mapped controller arrives) goes back in the
// same process call, marked so that the host records the controller only.
TEST_F(ClapFace, AMappedControllerChangesItsParameterUnrecorded) {
  Module().SetCC("Seq1 Steps", 7);
  ASSERT_TRUE(host->Activate(48000.0, 512));
  TEventList in;
  in.Add(MidiEvent(100, 0xB0, 7, 127));
  TOutput out;
  host->Process(512, nullptr, in, out);
  EXPECT_THAT(Describe(out, true), ElementsAre("0: value 1 64 unrecorded", "100: midi B0 7 127"));
  EXPECT_EQ(Value(1), 64);
  EXPECT_EQ(host->flushRequests, 0);
}

// Edits made in the editor (on the main thread) reach the host as gestures with values: through a
// flush the plug-in asks for while the host does not process, or at the start of the next process
// call. A change of the saved state that no parameter shows marks the host's project dirty.
TEST_F(ClapFace, EditorEditsReachTheHostThroughFlushOrProcess) {
  Module().EditParameter("Seq1 Steps", 10.0f);
  EXPECT_GT(host->flushRequests, 0);
  TOutput out;
  host->Flush({}, out);
  EXPECT_THAT(Describe(out, true), ElementsAre("0: begin 1", "0: value 1 10", "0: end 1"));
  out.Clear();
  host->Flush({}, out);
  EXPECT_THAT(Describe(out), IsEmpty());

  ASSERT_TRUE(host->Activate(48000.0, 512));
  const int requests = host->flushRequests;
  Module().BeginParameterEdit(3);  // a press on the CC# input, then a drag
  Module().EditParameter("Seq1 CC#", 50.0f);
  Module().EditParameter("Seq1 CC#", 51.0f);
  Module().EndParameterEdit();
  EXPECT_EQ(host->flushRequests, requests) << "the host processes: the next block takes them";
  TEventList in;
  in.Add(MidiEvent(10, 0x90, 60, 100));
  host->Process(512, nullptr, in, out);
  EXPECT_THAT(Describe(out, true), ElementsAre("0: begin 3", "0: value 3 51", "0: end 3", "10: midi 90 60 100"))
      << "a value event carries the value the module holds when it goes, and the host hears it once";

  // A step edited in the editor: no parameter changes, and the host hears of it once the edit is
  // over.
  const int marks = host->dirtyMarks;
  Module().NotifyHostOfChange();
  out.Clear();
  host->Process(512, nullptr, {}, out);
  EXPECT_THAT(Describe(out), IsEmpty());
  Module().ReportStateChange();
  EXPECT_EQ(host->dirtyMarks, marks + 1);
}

// The host's own state is no news to it: loading it asks the host to read the values again and
// neither sends values nor marks the project dirty. A preset the editor loads is news: its values
// are sent, and the project is marked dirty.
TEST_F(ClapFace, TheHostsStateLoadIsNoNewsAndAPresetLoadedInTheEditorIs) {
  const std::vector<std::uint8_t> saved = host->Save(5);
  ASSERT_GT(saved.size(), 8u);
  EXPECT_EQ(saved, Effect().SaveState()) << "the program chunk of the VST 2.x build";
  Module().EditParameter("Seq1 Steps", 10.0f);
  TOutput out;
  host->Flush({}, out);

  const int marks = host->dirtyMarks;
  ASSERT_TRUE(host->Load(saved, 3));
  EXPECT_EQ(Value(1), 32);
  EXPECT_THAT(host->rescans, ElementsAre(CLAP_PARAM_RESCAN_VALUES));
  EXPECT_EQ(host->dirtyMarks, marks);
  out.Clear();
  host->Flush({}, out);
  EXPECT_THAT(Describe(out), IsEmpty());

  // Bytes that are no state change nothing.
  EXPECT_FALSE(host->Load({'m', 'm', 's', 't', 3, 0, 0, 0, 1, 2, 3}));
  EXPECT_FALSE(host->Load({}));
  EXPECT_EQ(host->Save(), saved);

  // A preset chosen in the editor.
  const std::filesystem::path presets = Module().PresetsFolder();
  std::filesystem::create_directories(presets);
  std::filesystem::copy_file(std::filesystem::path(VORNIX_PRESETS_DIR) / "Demo Motion.orvanep",
                             presets / "Demo Motion.orvanep");
  ASSERT_TRUE(Module().LoadPresetFile("Demo Motion"));
  out.Clear();
  host->Flush({}, out);
  const auto events = Describe(out);
  EXPECT_FALSE(events.empty());
  for (const std::string& e : events) EXPECT_EQ(e.rfind("value ", 0), 0u) << e;
  EXPECT_EQ(host->dirtyMarks, marks + 1);
  for (clap_id id = 0; id < 72; ++id) EXPECT_EQ(Value(id), Module().ParameterValues().Items(static_cast<int>(id)).Value());
}

TEST_F(ClapFace, TheEditorIsEmbeddedAtItsSizeWhereTheHostCanIdleIt) {
  const auto& gui = *host->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
  const clap_plugin* p = host->Plugin();
#if defined(_WIN32)
  const char* api = CLAP_WINDOW_API_WIN32;
  const char* other = CLAP_WINDOW_API_X11;
#else
  const char* api = CLAP_WINDOW_API_X11;
  const char* other = CLAP_WINDOW_API_WIN32;
#endif
  const char* preferred = nullptr;
  bool floating = true;
  ASSERT_TRUE(gui.get_preferred_api(p, &preferred, &floating));
  EXPECT_STREQ(preferred, api);
  EXPECT_FALSE(floating);
  EXPECT_TRUE(gui.is_api_supported(p, api, false));
  EXPECT_FALSE(gui.is_api_supported(p, api, true));
  EXPECT_FALSE(gui.is_api_supported(p, other, false));
  ASSERT_TRUE(gui.create(p, api, false));
  std::uint32_t w = 0, h = 0;
  ASSERT_TRUE(gui.get_size(p, &w, &h));
  EXPECT_EQ(w, 786u);
  EXPECT_EQ(h, 421u);
  EXPECT_FALSE(gui.can_resize(p));
  clap_gui_resize_hints hints{true, true, true, 1, 1};
  ASSERT_TRUE(gui.get_resize_hints(p, &hints));
  EXPECT_FALSE(hints.can_resize_horizontally || hints.can_resize_vertically || hints.preserve_aspect_ratio);
  EXPECT_TRUE(gui.set_size(p, 786, 421));
  EXPECT_FALSE(gui.set_size(p, 800, 421));
  gui.destroy(p);
  EXPECT_TRUE(host->timers.empty());

  // A host that offers neither timers nor descriptors (a scanner) learns the window system, but
  // cannot run the editor on Linux.
  Make({.timers = false, .fds = false});
  const auto& bare = *host->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
  EXPECT_TRUE(bare.is_api_supported(host->Plugin(), api, false));
#if defined(_WIN32)
  EXPECT_TRUE(bare.create(host->Plugin(), api, false)) << "a thread timer of the host's message loop";
  bare.destroy(host->Plugin());
#else
  EXPECT_FALSE(bare.create(host->Plugin(), api, false));
  ASSERT_EQ(host->logs.size(), 1u);
  EXPECT_EQ(host->logs[0].first, CLAP_LOG_WARNING);
#endif
}

// The host's scale sets the editor's size, as the VST 2.x hint does; when the user zooms, the
// editor's request for a new size reaches the host's request_resize.
TEST_F(ClapFace, TheEditorsSizeFollowsTheHostsScaleAndItsResizeRequestsReachTheHost) {
  const auto& gui = *host->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
  const clap_plugin* p = host->Plugin();
  EXPECT_FALSE(gui.set_scale(p, -1.0));
  EXPECT_TRUE(gui.set_scale(p, 2.0));
  std::uint32_t w = 0, h = 0;
  ASSERT_TRUE(gui.get_size(p, &w, &h));
  EXPECT_EQ(w, 1572u);
  EXPECT_EQ(h, 842u);
  EXPECT_TRUE(gui.set_size(p, 1572, 842));
  EXPECT_FALSE(gui.set_size(p, 786, 421));
  // The user's choice wins over the host's scale.
  Module().SetZoomChoice(150);
  ASSERT_TRUE(gui.get_size(p, &w, &h));
  EXPECT_EQ(w, 1179u);
  EXPECT_EQ(h, 632u);

  EXPECT_TRUE(Module().HostSizeWindow(983, 526));
  host->takesResize = false;
  EXPECT_FALSE(Module().HostSizeWindow(1376, 737));
  EXPECT_EQ(host->resizeRequests, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{983, 526}, {1376, 737}}));
}

#if defined(VORNIX_THREAD_CHECKS)
// Debug and sanitizer builds stop at once when the host calls on a thread the interface does not
// allow.
TEST_F(ClapFace, CallsOnTheWrongThreadStopDebugBuilds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        std::thread other([&] { Params().count(host->Plugin()); });
        other.join();
      },
      "params.count called outside the host's main thread");
  EXPECT_DEATH(
      {
        TOutput out;
        TEventList in;
        clap_process p{};
        p.frames_count = 16;
        p.in_events = in.Input();
        p.out_events = out.Output();
        host->Plugin()->process(host->Plugin(), &p);
      },
      "process called outside the host's audio thread");
}
#endif

}  // namespace
}  // namespace vornix::claptest
