// A temporary folder and environment variables that are restored when the test ends, so that
// the per-user services run against a home folder of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <atomic>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

namespace vornix::platform::test {

class TScopedEnv {
 public:
  TScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
    if (const char* old = ::getenv(name_.c_str())) old_ = old;
    Set(value);
  }
  ~TScopedEnv() { Set(old_); }
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;

 private:
  void Set(const std::optional<std::string>& value) {
#ifdef _WIN32
    // An empty value removes the variable on Windows.
    ::_putenv_s(name_.c_str(), value ? value->c_str() : "");
#else
    if (value)
      ::setenv(name_.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
#endif
  }

  std::string name_;
  std::optional<std::string> old_;
};

class TTempFolder {
 public:
  TTempFolder() {
#ifdef _WIN32
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      auto candidate = std::filesystem::temp_directory_path() /
                       ("vornix-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                        std::to_string(counter.fetch_add(1)) + "-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate)) path_ = candidate;
    }
    if (path_.empty()) throw std::runtime_error("cannot create a temporary folder");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "vornix-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
#endif
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

#ifdef _WIN32
// HKEY_CURRENT_USER of this process is a fresh key of its own while the object lives, so the
// configuration and the shell's folders of the test never touch the user's. The key is deleted
// afterwards.
class TScopedUserRegistry {
 public:
  TScopedUserRegistry() {
    static std::atomic<unsigned> counter{0};
    path_ = L"Software\\Orvane\\VornixTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter.fetch_add(1));
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, key_) != ERROR_SUCCESS)
      throw std::runtime_error("cannot redirect HKEY_CURRENT_USER");
  }
  ~TScopedUserRegistry() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
  }
  TScopedUserRegistry(const TScopedUserRegistry&) = delete;
  TScopedUserRegistry& operator=(const TScopedUserRegistry&) = delete;

  // The shell's personal (documents) folder, as the user's shell folder settings name it.
  void SetPersonalFolder(const std::filesystem::path& folder) {
    HKEY shellFolders = nullptr;
    const std::wstring value = folder.wstring();
    if (RegCreateKeyExW(HKEY_CURRENT_USER,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &shellFolders, nullptr) != ERROR_SUCCESS)
      throw std::runtime_error("cannot set the personal folder");
    RegSetValueExW(shellFolders, L"Personal", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(shellFolders);
  }

 private:
  std::wstring path_;
  HKEY key_ = nullptr;
};
#endif

// The per-user services of the plug-in see `home` as the user's: its Documents folder is the
// documents folder. POSIX: HOME is `home` and XDG_CONFIG_HOME `config`. Windows:
// HKEY_CURRENT_USER is a key of the test's own (so the configuration starts empty) and its shell
// folders name <home>\Documents (created, as the shell only names folders that exist).
class TScopedUserFolders {
 public:
  TScopedUserFolders(const std::filesystem::path& home, [[maybe_unused]] const std::filesystem::path& config)
#ifdef _WIN32
  {
    std::filesystem::create_directories(home / "Documents");
    registry_.SetPersonalFolder(home / "Documents");
  }
#else
      : home_("HOME", home.string()), config_("XDG_CONFIG_HOME", config.string()) {
  }
#endif

 private:
#ifdef _WIN32
  TScopedUserRegistry registry_;
#else
  TScopedEnv home_;
  TScopedEnv config_;
#endif
};

// HOME is <temp>/home and XDG_CONFIG_HOME <temp>/config (both created); on Windows the user's
// folders are redirected in the same way.
class TTempHome {
 public:
  TTempHome() : user_(Home(), Config()) {
    std::filesystem::create_directories(Home());
    std::filesystem::create_directories(Config());
  }

  std::filesystem::path Root() const { return root_.Path(); }
  std::filesystem::path Home() const { return root_.Path() / "home"; }
  std::filesystem::path Config() const { return root_.Path() / "config"; }

 private:
  TTempFolder root_;
  TScopedUserFolders user_;
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

#ifndef _WIN32
// An executable shell script.
inline void WriteScript(const std::filesystem::path& path, const std::string& body) {
  WriteText(path, "#!/bin/sh\n" + body + "\n");
  ::chmod(path.c_str(), 0755);
}
#endif

}  // namespace vornix::platform::test
