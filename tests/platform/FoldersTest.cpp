#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "TempEnvironment.h"
#include "platform/Folders.h"

namespace vornix::platform {
namespace {

#ifndef _WIN32
using test::TScopedEnv;
using test::TTempHome;
using test::WriteScript;
using test::WriteText;
#endif

#ifdef _WIN32
TEST(Folders, DataAndPresetsFoldersEndInTheSeparator) {
  EXPECT_EQ(DataFolder("C:\\Users\\u\\Documents", "Vornix"), "C:\\Users\\u\\Documents\\Orvane\\Vornix\\");
  EXPECT_EQ(DataFolder("C:\\Users\\u\\Documents\\", "Vornix"), "C:\\Users\\u\\Documents\\Orvane\\Vornix\\");
  EXPECT_EQ(DataFolder("D:\\", "Vornix"), "D:\\Orvane\\Vornix\\");
  EXPECT_EQ(PresetsFolder(DataFolder("C:\\Users\\u\\Documents", "Vornix")),
            "C:\\Users\\u\\Documents\\Orvane\\Vornix\\Presets\\");
  // Without a documents folder the data folder must not land under a drive's root.
  EXPECT_EQ(DataFolder("", "Vornix"), "Orvane\\Vornix\\");
}
#else
TEST(Folders, DataAndPresetsFoldersEndInTheSeparator) {
  EXPECT_EQ(DataFolder("/home/u/Documents", "Vornix"), "/home/u/Documents/Orvane/Vornix/");
  EXPECT_EQ(DataFolder("/home/u/Documents/", "Vornix"), "/home/u/Documents/Orvane/Vornix/");
  EXPECT_EQ(PresetsFolder(DataFolder("/home/u/Documents", "Vornix")), "/home/u/Documents/Orvane/Vornix/Presets/");
  // Without a documents folder the data folder must not land under the file-system root.
  EXPECT_EQ(DataFolder("", "Vornix"), "Orvane/Vornix/");
}

// HOME and xdg-user-dir exist on POSIX systems only; Windows asks the shell (WindowsFoldersTest).

TEST(Folders, HomeFolderIsHomeWhenAbsoluteElseTheAccountsHome) {
  TTempHome temp;
  EXPECT_EQ(HomeFolder(), temp.Home().string());
  {
    TScopedEnv home("HOME", temp.Home().string() + "//");
    EXPECT_EQ(HomeFolder(), temp.Home().string());
  }
  for (const std::optional<std::string>& value :
       {std::optional<std::string>{}, std::optional<std::string>{""}, std::optional<std::string>{"relative"}}) {
    TScopedEnv home("HOME", value);
    const auto folder = HomeFolder();
    EXPECT_TRUE(folder.empty() || folder.front() == '/') << folder;
    EXPECT_NE(folder, "relative");
  }
}

// The documents folder with a stand-in for xdg-user-dir as the only program on PATH.
TEST(Folders, DocumentsFolderTakesXdgUserDirsAnswerOnlyWhenItNamesAFolderOfItsOwn) {
  TTempHome temp;
  const auto bin = temp.Root() / "bin";
  std::filesystem::create_directories(bin);
  const std::string home = temp.Home().string();
  const std::string fallback = home + "/Documents";
  struct Case {
    const char* name;
    std::optional<std::string> script;  // nothing: no such program
    std::string expected;
  };
  const Case cases[] = {
      {"own folder", "echo /data/My Docs", "/data/My Docs"},
      {"trailing separator", "echo /data/docs/", "/data/docs"},
      {"checks its argument", "[ \"$1\" = DOCUMENTS ] && echo /data/docs", "/data/docs"},
      {"not set up: answers home", "echo \"$HOME\"", fallback},
      {"fails", "echo /data/docs; exit 1", fallback},
      {"relative answer", "echo docs", fallback},
      {"no answer", "true", fallback},
      {"missing", std::nullopt, fallback},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(bin / "xdg-user-dir");
    if (c.script) WriteScript(bin / "xdg-user-dir", *c.script);
    TScopedEnv pathOnlyBin("PATH", c.script ? bin.string() + ":/usr/bin:/bin" : bin.string());
    EXPECT_EQ(PersonalDocumentsFolder(), c.expected) << c.name;
  }
}

TEST(Folders, DocumentsFolderFromTheRealXdgUserDir) {
  if (::access("/usr/bin/xdg-user-dir", X_OK) != 0) GTEST_SKIP() << "xdg-user-dir is not installed";
  TTempHome temp;
  TScopedEnv path("PATH", "/usr/bin:/bin");
  EXPECT_EQ(PersonalDocumentsFolder(), temp.Home().string() + "/Documents");
  WriteText(temp.Config() / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  EXPECT_EQ(PersonalDocumentsFolder(), temp.Home().string() + "/Dokumente");
}

#endif

}  // namespace
}  // namespace vornix::platform
