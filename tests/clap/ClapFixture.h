// The CLAP face built into the test program, driven by the test host through the same clap_entry
// functions Vornix.clap exports, in a home folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "../platform/TempEnvironment.h"
#include "ClapTestHost.h"
#include "formats/clap/Factory.h"
#include "formats/clap/Plugin.h"
#include "plugin/Plugin.h"

namespace vornix::claptest {

inline const clap::clap_plugin_entry kEntry = {clap::CLAP_VERSION, &formats::clapface::EntryInit,
                                              &formats::clapface::EntryDeinit, &formats::clapface::EntryFactory};

class ClapFace : public ::testing::Test {
 protected:
  void Make(TOptions options = {}) {
    host = std::make_unique<TClapHost>(kEntry, options);
    ASSERT_NE(host->Create(), nullptr);
  }
  void SetUp() override { Make(); }

  formats::TEffectHost& Effect() { return formats::clapface::TClapPlugin::Of(host->Plugin()).Effect(); }
  plugin::TVSTPlugin& Module() { return Effect().Module(); }
  const clap::clap_plugin_params& Params() { return *host->Extension<clap::clap_plugin_params>(clap::CLAP_EXT_PARAMS); }
  double Value(clap::clap_id id) {
    double v = -1;
    EXPECT_TRUE(Params().get_value(host->Plugin(), id, &v));
    return v;
  }

  static clap::clap_event_param_value ParamEvent(std::uint32_t time, clap::clap_id id, double value) {
    clap::clap_event_param_value e{};
    e.header = {sizeof e, time, clap::CLAP_CORE_EVENT_SPACE_ID, clap::CLAP_EVENT_PARAM_VALUE, 0};
    e.param_id = id;
    e.note_id = -1;
    e.port_index = e.channel = e.key = -1;
    e.value = value;
    return e;
  }
  static clap::clap_event_midi MidiEvent(std::uint32_t time, std::uint8_t status, std::uint8_t d1, std::uint8_t d2) {
    clap::clap_event_midi e{};
    e.header = {sizeof e, time, clap::CLAP_CORE_EVENT_SPACE_ID, clap::CLAP_EVENT_MIDI, 0};
    e.data[0] = status;
    e.data[1] = d1;
    e.data[2] = d2;
    return e;
  }

  // What the host heard: "begin 3", "value 3 10 [unrecorded]", "end 3", "midi B0 15 40" with times.
  static std::vector<std::string> Describe(const TOutput& out, bool withTimes = false);

  platform::test::TTempFolder home;
  platform::test::TScopedUserFolders user{home.Path(), home.Path() / "config"};
  // The editor's size does not follow the desktop of whoever runs the tests.
  platform::test::TScopedEnv gdkScale{"GDK_SCALE", std::nullopt};
  std::unique_ptr<TClapHost> host;
};

inline std::vector<std::string> ClapFace::Describe(const TOutput& out, bool withTimes) {
  using namespace clap;
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < out.Size(); ++i) {
    const clap_event_header& h = out.Header(i);
    std::string line = withTimes ? std::to_string(h.time) + ": " : "";
    char midi[16];
    switch (h.type) {
      case CLAP_EVENT_PARAM_GESTURE_BEGIN:
        line += "begin " + std::to_string(out.As<clap_event_param_gesture>(i).param_id);
        break;
      case CLAP_EVENT_PARAM_GESTURE_END:
        line += "end " + std::to_string(out.As<clap_event_param_gesture>(i).param_id);
        break;
      case CLAP_EVENT_PARAM_VALUE: {
        const auto e = out.As<clap_event_param_value>(i);
        line += "value " + std::to_string(e.param_id) + " " + std::to_string(static_cast<int>(e.value));
        if ((h.flags & CLAP_EVENT_DONT_RECORD) != 0) line += " unrecorded";
        break;
      }
      case CLAP_EVENT_MIDI: {
        const auto e = out.As<clap_event_midi>(i);
        std::snprintf(midi, sizeof midi, "%02X %d %d", e.data[0], e.data[1], e.data[2]);
        line += std::string("midi ") + midi;
        break;
      }
      default: line += "type " + std::to_string(h.type);
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace vornix::claptest
