// The command line: what good ones set and why bad ones are refused.
#include "render/Options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vornix::render {
namespace {

using ::testing::HasSubstr;

TEST(Options, DefaultsRenderTwoBarsOfFourFourAtOneTwentyAsText) {
  const Options o = ParseOptions({});
  EXPECT_EQ(o.tempo, 120.0);
  EXPECT_EQ(o.timeSigNumerator, 4);
  EXPECT_EQ(o.timeSigDenominator, 4);
  EXPECT_EQ(o.sampleRate, 44100.0);
  EXPECT_EQ(o.blockSize, 512);
  EXPECT_EQ(o.length, 2.0);
  EXPECT_EQ(o.lengthUnit, LengthUnit::Bars);
  EXPECT_EQ(o.start, 0.0);
  EXPECT_EQ(o.ppq, 960);
  EXPECT_TRUE(o.plugin.empty());
  EXPECT_TRUE(o.TextToStdout());
  EXPECT_FALSE(o.help || o.info);
}

TEST(Options, GoodCommandLines) {
  const struct {
    std::vector<std::string> args;
    std::function<void(const Options&)> check;
  } cases[] = {
      {{"--tempo", "93.5", "--sample-rate=48000", "--block-size", "1000"},
       [](const Options& o) {
         EXPECT_EQ(o.tempo, 93.5);
         EXPECT_EQ(o.sampleRate, 48000.0);
         EXPECT_EQ(o.blockSize, 1000);
       }},
      {{"--time-sig", "7/8", "--bars", "1.5"},
       [](const Options& o) {
         EXPECT_EQ(o.timeSigNumerator, 7);
         EXPECT_EQ(o.timeSigDenominator, 8);
         EXPECT_EQ(o.length, 1.5);
         EXPECT_EQ(o.lengthUnit, LengthUnit::Bars);
       }},
      {{"--seconds", "3", "--start", "-2.25"},
       [](const Options& o) {
         EXPECT_EQ(o.length, 3.0);
         EXPECT_EQ(o.lengthUnit, LengthUnit::Seconds);
         EXPECT_EQ(o.start, -2.25);  // a negative value is a value, not an option
       }},
      {{"--note", "60:0:4", "--note=64:-1:0.5:90:16"},
       [](const Options& o) {
         ASSERT_EQ(o.notes.size(), 2u);
         EXPECT_EQ(o.notes[0].note, 60);
         EXPECT_EQ(o.notes[0].start, 0.0);
         EXPECT_EQ(o.notes[0].end, 4.0);
         EXPECT_EQ(o.notes[0].velocity, 100);
         EXPECT_EQ(o.notes[0].channel, 1);
         EXPECT_EQ(o.notes[1].note, 64);
         EXPECT_EQ(o.notes[1].start, -1.0);
         EXPECT_EQ(o.notes[1].end, 0.5);
         EXPECT_EQ(o.notes[1].velocity, 90);
         EXPECT_EQ(o.notes[1].channel, 16);
       }},
      {{"--param", "Seq2 Active=On", "--param-normalized", "Seq2 Steps=0.5", "--param", "Seq2 Rate=1/16=x"},
       [](const Options& o) {
         ASSERT_EQ(o.parameters.size(), 3u);
         EXPECT_EQ(o.parameters[0].name, "Seq2 Active");
         EXPECT_EQ(o.parameters[0].value, "On");
         EXPECT_FALSE(o.parameters[0].normalized);
         EXPECT_EQ(o.parameters[1].name, "Seq2 Steps");
         EXPECT_EQ(o.parameters[1].value, "0.5");
         EXPECT_TRUE(o.parameters[1].normalized);
         EXPECT_EQ(o.parameters[2].value, "1/16=x");  // the name ends at the first '='
       }},
      {{"--midi", "out.mid", "--ppq", "480", "/x/Vornix.so", "--load", "in.fxp"},
       [](const Options& o) {
         EXPECT_EQ(o.midiFile, "out.mid");
         EXPECT_EQ(o.ppq, 480);
         EXPECT_EQ(o.plugin, "/x/Vornix.so");
         EXPECT_EQ(o.loadFile, "in.fxp");
         EXPECT_FALSE(o.TextToStdout());
       }},
      {{"--midi", "out.mid", "--text"}, [](const Options& o) { EXPECT_TRUE(o.TextToStdout()); }},
      {{"--text-file", "out.txt"},
       [](const Options& o) {
         EXPECT_EQ(o.textFile, "out.txt");
         EXPECT_FALSE(o.TextToStdout());
       }},
      {{"--save-chunk", "s.bin"},
       [](const Options& o) {
         EXPECT_EQ(o.saveChunkFile, "s.bin");
         EXPECT_FALSE(o.TextToStdout());
       }},
      {{"--info", "p.so"}, [](const Options& o) { EXPECT_TRUE(o.info); }},
      {{"--screenshot", "e.png", "--load", "in.orvanep", "--save-chunk", "s.bin"},
       [](const Options& o) {
         EXPECT_EQ(o.screenshotFile, "e.png");
         EXPECT_EQ(o.skin, -1);  // the configured one
         EXPECT_EQ(o.zoom, 0);   // the configured one, else 100 %
         EXPECT_EQ(o.show, EditorView::Editor);
         EXPECT_EQ(o.playingStep, 0);
         EXPECT_FALSE(o.TextToStdout());
       }},
      {{"--screenshot=e.png", "--show", "Sequence-Menu", "--playing-step", "64"},
       [](const Options& o) {
         EXPECT_EQ(o.show, EditorView::SequenceMenu);
         EXPECT_EQ(o.playingStep, 64);
       }},
      {{"--screenshot", "e.png", "--zoom=175"}, [](const Options& o) { EXPECT_EQ(o.zoom, 175); }},
      {{"-h"}, [](const Options& o) { EXPECT_TRUE(o.help); }},
      {{"--time-sig", "1/1", "--tempo", "4", "--block-size", "65536", "--ppq", "32767"},
       [](const Options& o) {
         EXPECT_EQ(o.timeSigDenominator, 1);
         EXPECT_EQ(o.tempo, 4.0);
         EXPECT_EQ(o.blockSize, 65536);
         EXPECT_EQ(o.ppq, 32767);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    c.check(ParseOptions(c.args));
  }
}

TEST(Options, BadCommandLinesSayWhy) {
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"--tempo", "0"}, "--tempo: 0 is outside 4 to 1000"},
      {{"--tempo", "fast"}, "'fast' is not a number"},
      {{"--tempo", "120bpm"}, "'120bpm' is not a number"},
      {{"--tempo", "nan"}, "not a number"},
      {{"--tempo"}, "--tempo needs a value"},
      {{"--block-size", "0"}, "--block-size: 0 is outside 1 to 65536"},
      {{"--block-size", "512.5"}, "not a whole number"},
      {{"--sample-rate", "-44100"}, "outside"},
      {{"--time-sig", "4"}, "not of the form N/D"},
      {{"--time-sig", "4/3"}, "not one of 1, 2, 4, 8, 16, 32, 64"},
      {{"--time-sig", "0/4"}, "numerator: 0 is outside"},
      {{"--bars", "0"}, "must be above 0"},
      {{"--bars", "2", "--seconds", "1"}, "give the length once"},
      {{"--note", "60:4"}, "NOTE:START:END"},
      {{"--note", "128:0:1"}, "--note number: 128 is outside 0 to 127"},
      {{"--note", "60:2:2"}, "ends before it starts"},
      {{"--note", "60:0:1:0"}, "velocity: 0 is outside 1 to 127"},
      {{"--note", "60:0:1:100:17"}, "channel: 17 is outside 1 to 16"},
      {{"--param", "Seq1 Active"}, "not of the form NAME=VALUE"},
      {{"--param", "=On"}, "not of the form NAME=VALUE"},
      {{"--param", "Seq1 Active="}, "not of the form NAME=VALUE"},
      {{"--param-normalized", "Seq1 Steps=1.5"}, "1.5 is outside 0 to 1"},
      {{"--param-normalized", "Seq1 Steps=half"}, "not a number"},
      {{"--midi", ""}, "the file name is empty"},
      {{"--ppq", "0"}, "--ppq: 0 is outside"},
      {{"--text=yes"}, "--text takes no value"},
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"a.so", "b.so"}, "more than one plug-in"},
      {{"--screenshot", "e.png", "--skin", "Dusk"},
       "--skin: no skin is called 'Dusk'; the skins are Carbon, Dark (Amakrits), Light, Luna, Smokey (Smokey Quartz "
       "Kamri)"},
      {{"--screenshot", "e.png", "--show", "menu"}, "--show: 'menu' is not one of editor, main-menu, skin-menu"},
      {{"--screenshot", "e.png", "--playing-step", "0"}, "--playing-step: 0 is outside 1 to 64"},
      {{"--skin", "Luna"}, "--skin, --zoom, --show and --playing-step go with --screenshot"},
      {{"--zoom", "200"}, "--skin, --zoom, --show and --playing-step go with --screenshot"},
      {{"--screenshot", "e.png", "--zoom", "133"}, "--zoom: the zooms are 100, 125, 150, 175, 200"},
      {{"--screenshot", "e.png", "--zoom", "300"}, "--zoom: 300 is outside 100 to 200"},
      {{"--screenshot", "e.png", "--zoom", "1.5"}, "--zoom: '1.5' is not a whole number"},
      {{"--screenshot", "e.png", "--info"}, "not both"},
      {{"--screenshot", "e.png", "--midi", "out.mid"}, "plays nothing"},
      {{"--screenshot", "e.png", "--note", "60:0:1"}, "plays nothing"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    try {
      ParseOptions(c.args);
      ADD_FAILURE() << "accepted";
    } catch (const UsageError& e) {
      EXPECT_THAT(e.what(), HasSubstr(c.message));
    }
  }
}

// Menu captions and style names alike, in any case.
TEST(Options, SkinsByCaptionOrStyleName) {
  const struct {
    const char* name;
    int style;
  } cases[] = {{"carbon", 0},
               {"Dark", 1},
               {"AMAKRITS", 1},
               {"light", 2},
               {"Luna", 3},
               {"smokey", 4},
               {"Smokey Quartz Kamri", 4},
               {"smokey quartz kamri", 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseOptions({"--screenshot", "e.png", "--skin", c.name}).skin, c.style);
  }
}

TEST(Options, HelpNamesEveryOption) {
  const std::string help = UsageText();
  for (const char* option : {"--tempo",
                             "--time-sig",
                             "--sample-rate",
                             "--block-size",
                             "--bars",
                             "--seconds",
                             "--start",
                             "--note",
                             "--load",
                             "--param",
                             "--param-normalized",
                             "--midi",
                             "--ppq",
                             "--text",
                             "--text-file",
                             "--save-chunk",
                             "--screenshot",
                             "--skin",
                             "--zoom",
                             "--show",
                             "--playing-step",
                             "--info",
                             "--help"}) {
    // GoogleTest's regular expressions on Windows know no brackets.
    const std::string line = std::string("\n  ") + option;
    EXPECT_THAT(help, ::testing::AnyOf(::testing::HasSubstr(line + " "), ::testing::HasSubstr(line + ","))) << option;
  }
}

}  // namespace
}  // namespace vornix::render
