// Whole renders against the built plug-in, loaded through its entry point.
#include "render/Render.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "render/Parameters.h"

namespace vornix::render {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

RenderResult RenderWith(const Options& o) {
  hostkit::PluginHost host(VORNIX_PLUGIN_PATH);
  OpenEffect(host, o);
  RenderResult r = Play(host, o);
  CloseEffect(host, o);
  return r;
}

struct GridCase {
  double tempo;
  double sampleRate;
  int blockSize;
  double start;
};

void PrintTo(const GridCase& c, std::ostream* os) {
  *os << c.tempo << " BPM, " << c.sampleRate << " Hz, blocks of " << c.blockSize << ", start " << c.start;
}

class DefaultState : public ::testing::TestWithParam<GridCase> {};

// Sequence 1 plays CC 20 on channel 1 at value 63 with smoothing on, so it sends one message per
// 1/128 note. Those messages must sit on that grid of the host time line whatever the block size:
// none late, none lost, none twice. A start between two grid points first sends the value due at
// the start, at offset 0.
TEST_P(DefaultState, SendsOnTheSmoothingGridAtAnyBlockSize) {
  const GridCase& c = GetParam();
  Options o;
  o.tempo = c.tempo;
  o.sampleRate = c.sampleRate;
  o.blockSize = c.blockSize;
  o.start = c.start;
  const RenderResult r = RenderWith(o);
  EXPECT_THAT(CheckEvents(r), IsEmpty());

  const double quantum = 1.0 / 32;
  const double samplesPerQuarter = 60.0 / c.tempo * c.sampleRate;
  auto sampleOf = [&](double k) { return (k * quantum - c.start) * samplesPerQuarter; };
  std::vector<double> expected;
  double k = std::ceil(c.start / quantum - 1e-9);
  if (sampleOf(k) > 0.5) expected.push_back(0.0);
  // A message due at the very end of the render would belong to the block after it.
  for (; sampleOf(k) < static_cast<double>(r.lengthInSamples) - 0.5; ++k) expected.push_back(sampleOf(k));

  ASSERT_EQ(r.events.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const RenderedEvent& e = r.events[i];
    SCOPED_TRACE("event " + std::to_string(i) + " at sample " + std::to_string(e.sample));
    EXPECT_NEAR(static_cast<double>(e.sample), expected[i], 0.5 + 1e-6);
    EXPECT_EQ(e.status, 0xB0);
    EXPECT_EQ(e.data1, 20);
    EXPECT_EQ(e.data2, 63);
  }
}

INSTANTIATE_TEST_SUITE_P(Blocks, DefaultState,
                         ::testing::Values(GridCase{120, 44100, 64, 0}, GridCase{120, 44100, 512, 0},
                                           GridCase{120, 44100, 1000, 0}, GridCase{120, 44100, 4096, 0},
                                           GridCase{120, 44100, 1, 0}, GridCase{93, 48000, 1000, 0},
                                           GridCase{137.5, 96000, 4096, 0}, GridCase{120, 44100, 512, 0.3},
                                           GridCase{93, 48000, 64, -1.7}, GridCase{137.5, 44100, 1000, 15.99}));

// The plug-in passes notes through at the offset they arrive with, which shows that each reached it
// in the right block at the right offset.
TEST(Render, NotesArriveInTheirBlockAtTheirOffset) {
  for (const int blockSize : {1, 64, 1000, 4096}) {
    SCOPED_TRACE("block size " + std::to_string(blockSize));
    Options o;
    o.blockSize = blockSize;
    o.start = 1.0;
    o.length = 1.0;                        // host positions 1 to 5
    o.notes = {{60, 1.5, 2.25, 100, 1},    // 11025 and 27563 (27562.5 rounded) samples in
               {64, 2.0, 9.0, 90, 2},      // ends after the render
               {62, 0.0, 1.5, 80, 16},     // started before the render: held from its first sample
               {50, -2.0, 1.0, 100, 1},    // over when the render begins
               {67, 3.0, 3.00001, 1, 1}};  // shorter than a sample: still on, then off
    const RenderResult r = RenderWith(o);
    EXPECT_THAT(CheckEvents(r), IsEmpty());
    std::vector<std::string> notes;
    for (const auto& e : r.events)
      if (e.status != 0xB0) {
        char line[48];
        std::snprintf(line, sizeof line, "%lld %02X %02X %02X", static_cast<long long>(e.sample), e.status, e.data1,
                      e.data2);
        notes.push_back(line);
      }
    // At one sample a note that ends goes before one that begins.
    EXPECT_THAT(notes, ::testing::ElementsAre("0 9F 3E 50", "11025 8F 3E 40", "11025 90 3C 64", "22050 91 40 5A",
                                              "27563 80 3C 40", "44100 90 43 01", "44100 80 43 40"));
  }
}

TEST(Render, ParametersSetByTheirTextChangeWhatPlays) {
  Options o;
  o.length = 1.0;
  o.parameters = {{"Seq1 Active", "Off", false},
                  {"Seq2 Active", "On", false},
                  {"Seq2 Rate", "1/16", false},
                  {"Seq2 Smooth", "off", false},
                  {"Seq2 Channel", "10", false}};
  const RenderResult r = RenderWith(o);
  EXPECT_THAT(CheckEvents(r), IsEmpty());
  ASSERT_EQ(r.events.size(), 16u);  // a bar of sixteenths, no smoothing
  for (std::size_t i = 0; i < r.events.size(); ++i) {
    EXPECT_NEAR(static_cast<double>(r.events[i].sample), 5512.5 * static_cast<double>(i), 0.5 + 1e-6);
    EXPECT_EQ(r.events[i].status, 0xB9);
    EXPECT_EQ(r.events[i].data1, 21);
  }
}

TEST(Render, ValueTextsResolveToTheValuesThatShowThem) {
  hostkit::PluginHost host(VORNIX_PLUGIN_PATH);
  OpenEffect(host, Options{});
  const struct {
    const char* name;
    const char* text;
    const char* shown;
    double value;  // host value expected, to the scan's resolution
  } cases[] = {
      {"Seq1 Active", "Off", "Off", 0.0},  // switches land on their ends
      {"Seq1 Active", "On", "On", 1.0},
      {"Seq1 Steps", "1", "1", 0.0},
      {"Seq1 Steps", "64", "64", 1.0},
      {"Seq1 Steps", "32", "32", 31.0 / 63},  // the middle of what shows "32", not its rounding edge
      {"Seq3 CC#", "100", "100", 100.0 / 127},
      {"Seq1 Rate", "1/16", "1/16", 3.0 / 12},
      {"seq1 rate", " 1/1 ", "1/1", 7.0 / 12},  // names and texts ignore case and blanks
      {"Seq8 Trigger", "note retrigger", "Note Retrigger", 3.0 / 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "=" + c.text);
    const int index = FindParameter(host, c.name);
    const float value = FindValueForText(host, index, c.text);
    EXPECT_NEAR(value, c.value, 1.0 / 4096);
    EXPECT_EQ(host.Effect()->getParameter(host.Effect(), index), value);
    EXPECT_EQ(host.DispatchText(vst::effGetParamDisplay, index), c.shown);
  }
  CloseEffect(host, Options{});
}

TEST(Render, UnknownNamesAndTextsListWhatThereIs) {
  hostkit::PluginHost host(VORNIX_PLUGIN_PATH);
  OpenEffect(host, Options{});
  try {
    FindParameter(host, "Seq9 Active");
    ADD_FAILURE() << "found";
  } catch (const std::runtime_error& e) {
    EXPECT_THAT(e.what(), HasSubstr("no parameter is called \"Seq9 Active\""));
    EXPECT_THAT(e.what(), HasSubstr("\"Seq1 Active\", \"Seq1 Steps\""));
    EXPECT_THAT(e.what(), HasSubstr("\"Seq8 Smooth\""));
  }
  const struct {
    const char* name;
    const char* text;
    const char* listed;
  } cases[] = {
      {"Seq1 Rate", "1/7", "\"1/128\", \"1/64\", \"1/32\", \"1/16\", \"1/8\", \"1/4\""},
      {"Seq1 CC#", "128", "the whole numbers from 0 to 127"},
      {"Seq1 Active", "maybe", "\"Off\", \"On\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int index = FindParameter(host, c.name);
    const float before = host.Effect()->getParameter(host.Effect(), index);
    try {
      FindValueForText(host, index, c.text);
      ADD_FAILURE() << "found";
    } catch (const std::runtime_error& e) {
      EXPECT_THAT(e.what(), HasSubstr(std::string("never shows \"") + c.text + "\""));
      EXPECT_THAT(e.what(), HasSubstr(c.listed));
    }
    EXPECT_EQ(host.Effect()->getParameter(host.Effect(), index), before);
  }
  CloseEffect(host, Options{});
}

}  // namespace
}  // namespace vornix::render
