// Showing a folder: the desktop's program is started with the folder and not waited for.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "TempEnvironment.h"
#include "platform/FileBrowser.h"
#include "platform/PlatformError.h"

namespace vornix::platform::test {
namespace {

#ifndef _WIN32
namespace fs = std::filesystem;

// A stand-in for xdg-open in a folder of its own that writes its argument to a file.
class FileBrowserTest : public ::testing::Test {
 protected:
  FileBrowserTest() {
    fs::create_directories(bin());
    const fs::path script = bin() / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nPATH=/usr/bin:/bin\nprintf '%s' \"$1\" > '"
                          << (temp.Path() / "opened").string() << ".tmp'\nmv '" << (temp.Path() / "opened").string()
                          << ".tmp' '" << (temp.Path() / "opened").string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);
  }
  fs::path bin() const { return temp.Path() / "bin"; }

  TTempFolder temp;
};

TEST_F(FileBrowserTest, StartsXdgOpenWithTheFolder) {
  const TScopedEnv path("PATH", bin().string());
  const fs::path folder = temp.Path() / "My Presets";
  OpenInFileBrowser(folder);
  // It runs on its own: wait for its answer, however long the machine takes.
  const fs::path opened = temp.Path() / "opened";
  for (int i = 0; i < 1000 && !fs::exists(opened); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(fs::exists(opened));
  std::ostringstream text;
  text << std::ifstream(opened).rdbuf();
  EXPECT_EQ(text.str(), folder.string());
}

TEST_F(FileBrowserTest, WithoutXdgOpenItSaysSo) {
  const TScopedEnv path("PATH", (temp.Path() / "empty").string());
  try {
    OpenInFileBrowser(temp.Path());
    FAIL() << "no error";
  } catch (const EOSError& e) {
    EXPECT_NE(std::string(e.what()).find("xdg-open"), std::string::npos) << e.what();
  }
}
#endif

}  // namespace
}  // namespace vornix::platform::test
