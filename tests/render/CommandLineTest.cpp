// The vornix-render program itself: its files, its standard output and its exit status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "gfx/Png.h"
#include "gfx/Scale.h"
#include "gfx/Skin.h"

namespace {

using ::testing::HasSubstr;
namespace gfx = vornix::gfx;

struct Outcome {
  int status;
  std::string out, err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Files of this test process alone: ctest runs several test processes at once.
std::string ScratchFile(const std::string& name) {
  return ::testing::TempDir() + "vornix-render-" + std::to_string(::getpid()) + "-" + name;
}

// The program runs in an empty home folder, so no user's init preset or configuration counts.
Outcome Render(const std::string& args, bool withPlugin = true) {
  const std::string out = ScratchFile("render.out"), err = ScratchFile("render.err");
  const std::string home = ScratchFile("home");
  const std::string command = "HOME='" + home + "' XDG_CONFIG_HOME='" + home + "/config' '" + VORNIX_RENDER_PATH +
                              "' " + (withPlugin ? std::string("'") + VORNIX_PLUGIN_PATH + "' " : "") + args + " >'" +
                              out + "' 2>'" + err + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(CommandLine, WritesTheSameEventsAsMidiFileAndText) {
  const std::string midiFile = ScratchFile("one.mid"), textFile = ScratchFile("one.txt");
  const Outcome r =
      Render("--bars 1 --block-size 1000 --midi '" + midiFile + "' --text-file '" + textFile + "' --text");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");

  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 128u);  // a bar of 1/128 notes
  EXPECT_EQ(lines[0], "         0     0.000000  B0 14 3F");
  EXPECT_EQ(lines[1], "       689     0.031247  B0 14 3F");
  EXPECT_EQ(lines[16], "     11025     0.500000  B0 14 3F");
  EXPECT_EQ(Slurp(textFile), r.out);

  // At 960 per quarter note a 1/128 note is exactly 30 ticks.
  const std::string midi = Slurp(midiFile);
  std::string expected("MThd\0\0\0\6\0\0\0\1\x03\xC0MTrk\0\0\x02\x13", 22);  // 15 + 128 * 4 + 4 bytes
  expected += std::string("\0\xFF\x51\x03\x07\xA1\x20\0\xFF\x58\x04\x04\x02\x18\x08", 15);
  expected += std::string("\0\xB0\x14\x3F", 4);
  for (int i = 1; i < 128; ++i) expected += "\x1E\xB0\x14\x3F";
  expected += std::string("\x1E\xFF\x2F\0", 4);  // the end of the bar
  EXPECT_EQ(midi, expected);
}

TEST(CommandLine, HelpAndErrors) {
  const Outcome help = Render("--help", false);
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out, HasSubstr("usage: vornix-render"));

  const struct {
    std::string args;
    std::string message;
  } cases[] = {
      {"--tempo 0", "vornix-render: --tempo: 0 is outside 4 to 1000\n"},
      {"--param 'Seq1 Rate=fast'", "never shows \"fast\""},
      {"--param 'Sequence 1=On'", "no parameter is called \"Sequence 1\""},
      {"--load /nonexistent/preset.fxp", "cannot read /nonexistent/preset.fxp"},
      {"--midi /nonexistent/out.mid", "cannot write /nonexistent/out.mid"},
      {"--screenshot /nonexistent/editor.png", "cannot write /nonexistent/editor.png"},
  };
  for (const auto& c : cases) {
    const Outcome r = Render(c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_THAT(r.err, HasSubstr(c.message)) << c.args;
    EXPECT_EQ(r.out, "") << c.args;
  }
  const Outcome missing = Render("/nonexistent/Vornix.so", false);
  EXPECT_EQ(missing.status, 2);
  EXPECT_THAT(missing.err, HasSubstr("cannot load plug-in"));
}

TEST(CommandLine, InfoShowsParametersAfterTheyAreSet) {
  const Outcome r = Render("--info --param 'Seq4 Rate=1/8' --param-normalized 'Seq4 Active=1'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.out, HasSubstr("Effect:      Vornix"));
  EXPECT_THAT(r.out, ::testing::ContainsRegex("Seq4 Active +On "));
  EXPECT_THAT(r.out, ::testing::ContainsRegex("Seq4 Rate +1/8 "));
}

// A saved chunk loaded into a fresh instance plays the same.
TEST(CommandLine, SavedChunkLoadsBack) {
  const std::string state = ScratchFile("state.bin");
  const Outcome saved =
      Render("--bars 0.25 --param 'Seq2 Active=On' --param 'Seq1 Active=Off' --save-chunk '" + state + "'");
  ASSERT_EQ(saved.status, 0) << saved.err;
  const Outcome loaded = Render("--bars 0.25 --load '" + state + "'");
  ASSERT_EQ(loaded.status, 0) << loaded.err;
  const auto lines = Lines(loaded.out);
  ASSERT_EQ(lines.size(), 32u);  // a quarter note of 1/128 notes from sequence 2 alone
  for (const auto& line : lines) EXPECT_THAT(line, HasSubstr("B0 15 3F"));
}

// A script must learn that its state was not loaded, instead of getting a render of the defaults.
TEST(CommandLine, RefusesAFileThatIsNoVornixState) {
  const std::string state = ScratchFile("good.bin");
  ASSERT_EQ(Render("--bars 0.25 --save-chunk '" + state + "'").status, 0);
  std::string damaged = Slurp(state);
  damaged.resize(damaged.size() - 20);
  damaged.replace(4, 4, std::string{static_cast<char>(damaged.size() - 8), 0, 0, 0});  // a consistent length
  struct Case {
    const char* name;
    std::string bytes;
    const char* reason;
  };
  for (const Case& c : {Case{"text.txt", "8 bytes!", "too short"}, Case{"other.bin", "RIFF\x10\0\0\0WAVEfmt data", ""},
                        Case{"cut.orvanep", damaged, ""}}) {
    SCOPED_TRACE(c.name);
    const std::string path = ScratchFile(c.name), midiFile = ScratchFile("refused.mid");
    std::ofstream(path, std::ios::binary) << c.bytes;
    std::remove(midiFile.c_str());
    const Outcome r = Render("--bars 1 --load '" + path + "' --midi '" + midiFile + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr(path + " is not a Vornix preset or state: "));
    EXPECT_THAT(r.err, HasSubstr(c.reason));
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(std::ifstream(midiFile).good()) << "nothing is written";
  }
}

// --screenshot: the editor's pictures, read back.

// A point high in the grid's fifth column: above the bars of the default steps, in a column of the
// plain shade, which is the skin's window colour.
constexpr int kBackgroundX = 140, kBackgroundY = 100;
const gfx::TRect kGrid = {40, 82, 745, 354};
const gfx::TRect kSettingsRow = {0, 360, 786, 421};

// True when the two pictures have the same pixels inside `area`.
bool SameIn(const gfx::TBitmap& a, const gfx::TBitmap& b, const gfx::TRect& area) {
  for (int y = area.Top; y < area.Bottom; ++y) {
    for (int x = area.Left; x < area.Right; ++x) {
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    }
  }
  return true;
}

gfx::TBitmap Screenshot(const std::string& name, const std::string& args) {
  const std::string path = ScratchFile(name);
  std::remove(path.c_str());
  const Outcome r = Render("--screenshot '" + path + "' " + args);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out + r.err, "");
  return r.status == 0 ? gfx::LoadPngFile(path) : gfx::TBitmap();
}

TEST(Screenshot, DrawsTheWholeEditorInTheSkinAskedFor) {
  const struct {
    const char* name;
    const char* style;
  } skins[] = {{"Carbon", "Carbon"},
               {"dark", "Amakrits"},
               {"LIGHT", "Light"},
               {"Luna", "Luna"},
               {"smokey quartz kamri", "Smokey Quartz Kamri"}};
  std::set<std::vector<gfx::TColor>> looks;
  for (const auto& skin : skins) {
    SCOPED_TRACE(skin.name);
    const gfx::TBitmap picture = Screenshot("skin.png", std::string("--skin '") + skin.name + "'");
    ASSERT_EQ(picture.Width(), 786);
    ASSERT_EQ(picture.Height(), 421);
    EXPECT_EQ(picture.Pixel(kBackgroundX, kBackgroundY), gfx::SkinByName(skin.style).scWindow);
    looks.emplace(picture.Data(), picture.Data() + 786 * 421);
  }
  EXPECT_EQ(looks.size(), 5u) << "two skins look the same";
}

// The picture shows the loaded plug-in's state: its steps in the grid, its parameters below it.
TEST(Screenshot, ShowsTheStateThatLoadAndParamGive) {
  const gfx::TBitmap defaults = Screenshot("defaults.png", "");
  const gfx::TBitmap loaded = Screenshot("loaded.png", "--load '" VORNIX_PRESETS_DIR "/Demo Motion.orvanep'");
  const gfx::TBitmap rate = Screenshot("rate.png", "--param 'Seq1 Rate=1/32'");
  ASSERT_FALSE(defaults.Empty() || loaded.Empty() || rate.Empty());
  EXPECT_FALSE(SameIn(defaults, loaded, kGrid));
  EXPECT_TRUE(SameIn(defaults, rate, kGrid));
  EXPECT_FALSE(SameIn(defaults, rate, kSettingsRow));
}

// What is open shows over the editor; the picture grows to hold a menu that reaches below it.
TEST(Screenshot, ShowsAMenuOrDialogOpen) {
  const gfx::TBitmap editor = Screenshot("editor.png", "");
  const struct {
    const char* view;
    int height;
  } views[] = {{"main-menu", 421}, {"rate-menu", 733}, {"about", 421}};
  for (const auto& v : views) {
    SCOPED_TRACE(v.view);
    const gfx::TBitmap picture = Screenshot("view.png", std::string("--show ") + v.view);
    ASSERT_EQ(picture.Width(), 786);
    ASSERT_EQ(picture.Height(), v.height);
    EXPECT_FALSE(SameIn(editor, picture, {0, 0, 786, 421}));
  }
}

// --zoom draws the editor at any of its zoom steps: the scaled size, the same things where they
// were, and a menu at the zoom too.
TEST(Screenshot, DrawsTheEditorAtTheZoomAskedFor) {
  const gfx::TBitmap normal = Screenshot("normal.png", "--skin Luna");
  ASSERT_FALSE(normal.Empty());
  for (const auto& [zoom, size] :
       {std::pair{125, std::pair{983, 526}}, {150, {1179, 632}}, {175, {1376, 737}}, {200, {1572, 842}}}) {
    SCOPED_TRACE(zoom);
    const gfx::TBitmap picture = Screenshot("zoom.png", "--skin Luna --zoom " + std::to_string(zoom));
    ASSERT_EQ(picture.Width(), size.first);
    ASSERT_EQ(picture.Height(), size.second);
    const gfx::TScale scale(zoom);
    EXPECT_EQ(picture.Pixel(scale.Px(kBackgroundX), scale.Px(kBackgroundY)), normal.Pixel(kBackgroundX, kBackgroundY));
  }
  // Twice as tall, the rate menu no longer fits below its button on the tool's 1920 × 1080 screen:
  // it opens above it, over the editor.
  const gfx::TBitmap zoomed = Screenshot("zoomed.png", "--zoom 200");
  const gfx::TBitmap menu = Screenshot("menu.png", "--zoom 200 --show rate-menu");
  ASSERT_EQ(menu.Width(), 1572);
  ASSERT_EQ(menu.Height(), 842);
  EXPECT_FALSE(SameIn(zoomed, menu, {0, 0, 1572, 842}));
}

TEST(Screenshot, AnUnknownSkinIsAUsageErrorAndWritesNothing) {
  const std::string path = ScratchFile("dusk.png");
  std::remove(path.c_str());
  const Outcome r = Render("--screenshot '" + path + "' --skin Dusk");
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("no skin is called 'Dusk'; the skins are Carbon, Dark (Amakrits), Light"));
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(std::ifstream(path).good());
}

}  // namespace
