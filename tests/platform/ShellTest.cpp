// The plug-in's own file, documents handed to the desktop, and dates as the user writes them.
#include <gtest/gtest.h>

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
