// The plug-in's own file, documents handed to the desktop, and dates as the user writes them.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "TempEnvironment.h"
#include "platform/DateText.h"
#include "platform/Folders.h"
#include "platform/Shell.h"

namespace vornix::platform {
namespace {

TEST(ModuleFile, IsTheFileThisCodeRunsFromAndItsFolderEndsInTheSeparator) {
  const std::string file = ModuleFileName();
  ASSERT_FALSE(file.empty());
  const std::filesystem::path path(file);
  EXPECT_TRUE(path.is_absolute()) << file;
  EXPECT_TRUE(std::filesystem::is_regular_file(path)) << file;
  EXPECT_NE(path.filename().string().find("platform_tests"), std::string::npos) << file;
  const std::string folder = ModuleFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), PathDelim);
  EXPECT_EQ(folder + path.filename().string(), file);
}

#ifndef _WIN32
using test::TScopedEnv;
using test::TTempHome;
using test::WriteScript;

TEST(Shell, ADocumentGoesToXdgOpenWhichRunsOnItsOwn) {
  TTempHome temp;
  const auto bin = temp.Root() / "bin";
  std::filesystem::create_directories(bin);
  const auto opened = temp.Root() / "opened";
  WriteScript(bin / "xdg-open", "printf '%s' \"$1\" > '" + opened.string() + ".part'; mv '" + opened.string() +
                                    ".part' '" + opened.string() + "'");
  TScopedEnv path("PATH", bin.string() + ":/usr/bin:/bin");
  const std::string document = temp.Root().string() + "/A Guide (v2).pdf";
  ASSERT_TRUE(OpenDocument(document));
  // The opener runs detached; give it a generous while to write its answer.
  for (int i = 0; i < 500 && !std::filesystem::exists(opened); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(std::filesystem::exists(opened));
  EXPECT_EQ(test::ReadText(opened), document) << "passed whole, without a shell between";
}

// The editor shows "Error opening file." when the opener fails soon enough to tell; one that goes
// on running has opened the document. Either way no child of ours is left behind.
TEST(Shell, AnOpenerThatFailsIsReportedAndNoneIsLeftBehind) {
  const struct {
    std::string Name;
    std::string Script;  // after "#!/bin/sh"; empty: a script whose interpreter does not exist
    bool Opened;
  } cases[] = {
      {"no program for the kind", "exit 3", false},
      {"the viewer fails after a moment", "sleep 0.2; exit 4", false},
      {"killed", "kill -9 $$", false},
      {"cannot start at all", "", false},
      {"opened and returned", "exit 0", true},
      {"stays with the viewer", "sleep 3", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTempHome temp;
    const auto bin = temp.Root() / "bin";
    std::filesystem::create_directories(bin);
    if (c.Script.empty()) {
      test::WriteText(bin / "xdg-open", "#!/nonexistent/interpreter\n");
      std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
    } else {
      WriteScript(bin / "xdg-open", c.Script);
    }
    TScopedEnv path("PATH", bin.string() + ":/usr/bin:/bin");
    EXPECT_EQ(OpenDocument(temp.Root().string() + "/guide.pdf"), c.Opened);
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
  }
}

TEST(Shell, WithoutXdgOpenNothingStartsAndTheCallSaysSo) {
  TTempHome temp;
  TScopedEnv path("PATH", temp.Root().string());
  EXPECT_FALSE(OpenDocument("/tmp/x.pdf"));
  EXPECT_FALSE(OpenDocument(""));
}

TEST(DateText, TheShortDateFollowsTheUsersTimeLocale) {
  TScopedEnv all("LC_ALL", "C");
  TScopedEnv time("LC_TIME", "C");
  // Noon, so that any time zone keeps the day.
  const auto noon = std::chrono::sys_days{std::chrono::year{2026} / 1 / 2} + std::chrono::hours{12};
  EXPECT_EQ(ShortDateText(noon), "01/02/26");
}
#endif

}  // namespace
}  // namespace vornix::platform
