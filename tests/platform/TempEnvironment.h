// A temporary folder and environment variables that are restored when the test ends, so that
// the per-user services run against a home folder of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace vornix::platform::test {

class TScopedEnv {
 public:
  TScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
    if (const char* old = ::getenv(name_.c_str())) old_ = old;
    if (value)
      ::setenv(name_.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  ~TScopedEnv() {
    if (old_)
      ::setenv(name_.c_str(), old_->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vornix-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TTempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// HOME is <temp>/home and XDG_CONFIG_HOME <temp>/config (both created).
class TTempHome {
 public:
  TTempHome()
      : home_("HOME", (root_.Path() / "home").string()),
        config_("XDG_CONFIG_HOME", (root_.Path() / "config").string()) {
    std::filesystem::create_directories(Home());
    std::filesystem::create_directories(Config());
  }

  std::filesystem::path Root() const { return root_.Path(); }
  std::filesystem::path Home() const { return root_.Path() / "home"; }
  std::filesystem::path Config() const { return root_.Path() / "config"; }

 private:
  TTempFolder root_;
  TScopedEnv home_;
  TScopedEnv config_;
};

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An executable shell script.
inline void WriteScript(const std::filesystem::path& path, const std::string& body) {
  WriteText(path, "#!/bin/sh\n" + body + "\n");
  ::chmod(path.c_str(), 0755);
}

}  // namespace vornix::platform::test
