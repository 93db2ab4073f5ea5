#include <windows.h>

#include <filesystem>
#include <stdexcept>

#include "hostkit/PluginLibrary.h"

namespace vornix::hostkit {

namespace {

std::string Utf8(const std::wstring& wide) {
  const auto text = std::filesystem::path(wide).u8string();
  return std::string(text.begin(), text.end());
}

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD n =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n > 0 && text ? std::wstring(text, n) : L"error " + std::to_wstring(error);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  return Utf8(message);
}

}  // namespace

PluginLibrary::PluginLibrary(const std::string& path) {
  // An absolute path loads exactly the named file, never a namesake found on the search path, and
  // lets the plug-in's own dependencies be found beside it.
  std::error_code ec;
  auto file = std::filesystem::absolute(std::filesystem::path(std::u8string(path.begin(), path.end())), ec);
  if (ec) file = std::filesystem::path(std::u8string(path.begin(), path.end()));
  file.make_preferred();
  handle_ = LoadLibraryExW(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (handle_ == nullptr)
    throw std::runtime_error("cannot load plug-in: " + path + ": " + SystemMessage(GetLastError()));
}

PluginLibrary::~PluginLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* PluginLibrary::Symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace vornix::hostkit
