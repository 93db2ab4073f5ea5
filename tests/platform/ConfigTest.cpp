#include <gtest/gtest.h>

#include <climits>

#include "TempEnvironment.h"
#include "platform/OrvRegistry.h"
#include "platform/PlatformError.h"

namespace vornix::platform {
namespace {

using test::ReadText;
using test::TScopedEnv;
using test::TTempHome;
using test::WriteText;

#ifndef _WIN32
// A line that is no text at all, with a NUL in it.
std::string Garbage() {
  static const char bytes[] =
      "\x7f"
      "ELF\0\xff garbage\n";
  return {bytes, sizeof bytes - 1};
}
#endif

TEST(ParseDecimalInteger, AcceptsOnlyDecimalIntegersOf32Bits) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> expected;
  };
  const Case cases[] = {
      {"7", 7},
      {"0", 0},
      {"-5", -5},
      {"+4", 4},
      {"  12\t", 12},
      {"007", 7},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {"+-5", std::nullopt},
      {"--5", std::nullopt},
      {"- 5", std::nullopt},
      {"abc", std::nullopt},
      {"12abc", std::nullopt},
      {"1 2", std::nullopt},
      {"1.5", std::nullopt},
      {"0x10", std::nullopt},
      {"$10", std::nullopt},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimalInteger(c.text), c.expected) << '"' << c.text << '"';
}

// The INI file under XDG_CONFIG_HOME is the POSIX configuration; Windows keeps it in the registry
// (WindowsRegistryTest).
#ifndef _WIN32
TEST(ConfigFilePath, FollowsXdgConfigHomeElseHomeConfig) {
  TTempHome temp;
  const auto underHome = temp.Home() / ".config" / "Orvane" / "Vornix.ini";
  struct Case {
    std::optional<std::string> xdg;
    std::filesystem::path expected;
  };
  const Case cases[] = {
      {temp.Config().string(), temp.Config() / "Orvane" / "Vornix.ini"},
      {std::nullopt, underHome},
      {"", underHome},
      {"relative/config", underHome},  // relative values are to be ignored
  };
  for (const auto& c : cases) {
    TScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
    EXPECT_EQ(ConfigFilePath("Vornix"), c.expected) << c.xdg.value_or("(unset)");
  }
}

TEST(OrvIniFile, MissingFileReadsDefaultsAndReadingCreatesNothing) {
  TTempHome temp;
  const auto config = OpenConfigKey("Vornix");
  EXPECT_EQ(config->ReadInteger("Config", "Style", 0), 0);
  EXPECT_EQ(config->ReadInteger("Config", "LowestOctave", -2), -2);
  EXPECT_EQ(config->ReadString("Config", "Style", "none"), "none");
  EXPECT_FALSE(std::filesystem::exists(temp.Config() / "Orvane"));
}

TEST(OrvIniFile, WrittenEntriesReadBackFromANewOpenAndNoTemporaryFileRemains) {
  TTempHome temp;
  {
    const auto config = OpenConfigKey("Vornix");
    config->WriteInteger("Config", "Style", 3);
    config->WriteInteger("Config", "LowestOctave", -1);
    config->WriteInteger("Config", "Style", 4);  // replaces, does not add
    EXPECT_EQ(config->ReadInteger("Config", "Style", 0), 4);
  }
  const auto file = temp.Config() / "Orvane" / "Vornix.ini";
  EXPECT_EQ(ReadText(file), "[Config]\nStyle=4\nLowestOctave=-1\n");
  const auto again = OpenConfigKey("Vornix");
  EXPECT_EQ(again->ReadInteger("Config", "Style", 0), 4);
  EXPECT_EQ(again->ReadInteger("Config", "LowestOctave", -2), -1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1);
}

TEST(OrvIniFile, DamagedFileReadsWhatItCanAndAWriteKeepsTheRest) {
  TTempHome temp;
  const auto file = temp.Config() / "Orvane" / "Vornix.ini";
  std::filesystem::create_directories(file.parent_path());
  WriteText(file, Garbage() +
                      "; kept comment\r\n"
                      "[Config\n"
                      "Style=9\n"
                      "[config]\r\n"
                      "style = 4 \r\n"
                      "LowestOctave=abc\r\n"
                      "Empty=\r\n"
                      "\n"
                      "[Other]\n"
                      "LowestOctave=-1\n");
  TOrvIniFile config(file);
  // "[Config" is no section header, so Style=9 belongs to no section; names ignore case.
  EXPECT_EQ(config.ReadInteger("Config", "Style", 0), 4);
  EXPECT_EQ(config.ReadInteger("Config", "LowestOctave", -2), -2);
  EXPECT_EQ(config.ReadInteger("Config", "Empty", 5), 5);
  EXPECT_EQ(config.ReadInteger("Other", "LowestOctave", 0), -1);

  config.WriteInteger("Config", "LowestOctave", 0);
  config.WriteInteger("Config", "Added", 1);
  config.WriteInteger("New", "Entry", 2);
  EXPECT_EQ(ReadText(file), Garbage() +
                                "; kept comment\n"
                                "[Config\n"
                                "Style=9\n"
                                "[config]\n"
                                "style = 4 \n"
                                "LowestOctave=0\n"
                                "Empty=\n"
                                "Added=1\n"
                                "\n"
                                "[Other]\n"
                                "LowestOctave=-1\n"
                                "\n"
                                "[New]\n"
                                "Entry=2\n");
}

TEST(OrvIniFile, AWriteMergesWithWhatAnotherInstanceWroteMeanwhile) {
  TTempHome temp;
  const auto first = OpenConfigKey("Vornix");
  const auto second = OpenConfigKey("Vornix");
  first->WriteInteger("Config", "Style", 2);
  second->WriteInteger("Config", "LowestOctave", 0);
  const auto third = OpenConfigKey("Vornix");
  EXPECT_EQ(third->ReadInteger("Config", "Style", 0), 2);
  EXPECT_EQ(third->ReadInteger("Config", "LowestOctave", -2), 0);
}

TEST(OrvIniFile, UnwritableLocationsReadDefaultsAndRaiseOnWrite) {
  TTempHome temp;
  // Permissions do not stop root, so the obstacles are things that are not folders.
  WriteText(temp.Root() / "plain-file", "x");
  std::filesystem::create_directories(temp.Root() / "folder-config" / "Orvane" / "Vornix.ini");
  for (const auto& xdg : {temp.Root() / "plain-file", temp.Root() / "folder-config"}) {
    TScopedEnv env("XDG_CONFIG_HOME", xdg.string());
    const auto config = OpenConfigKey("Vornix");
    EXPECT_EQ(config->ReadInteger("Config", "Style", 7), 7) << xdg;
    EXPECT_THROW(config->WriteInteger("Config", "Style", 1), EOSError) << xdg;
  }
  EXPECT_EQ(ReadText(temp.Root() / "plain-file"), "x");
}

TEST(OrvIniFile, RefusesNamesAndValuesThatWouldBreakTheFile) {
  TTempHome temp;
  const auto config = OpenConfigKey("Vornix");
  EXPECT_THROW(config->WriteString("Config", "A=B", "1"), std::invalid_argument);
  EXPECT_THROW(config->WriteString("Config", "", "1"), std::invalid_argument);
  EXPECT_THROW(config->WriteString("Config", "[X]", "1"), std::invalid_argument);
  EXPECT_THROW(config->WriteString("Con]fig", "A", "1"), std::invalid_argument);
  EXPECT_THROW(config->WriteString("Config", "A\nB", "1"), std::invalid_argument);
  EXPECT_THROW(config->WriteString("Config", "A", "1\n[Other]"), std::invalid_argument);
  EXPECT_FALSE(std::filesystem::exists(temp.Config() / "Orvane" / "Vornix.ini"));
  config->WriteString("Config", "Title", "a=b ; c");
  EXPECT_EQ(OpenConfigKey("Vornix")->ReadString("Config", "Title", ""), "a=b ; c");
}

#endif

}  // namespace
}  // namespace vornix::platform
