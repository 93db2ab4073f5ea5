// The configuration in the registry, under HKEY_CURRENT_USER.
#include <windows.h>

#include <stdexcept>
#include <vector>

#include "platform/OrvRegistry.h"
#include "platform/PlatformError.h"
#include "platform/WinText.h"

namespace vornix::platform {

namespace {

// A damaged value can be anything; only this much of it is read.
constexpr DWORD kMaxValueBytes = 1 << 20;

bool HasNul(std::string_view s) { return s.find('\0') != std::string_view::npos; }

class TKey {
 public:
  TKey() = default;
  ~TKey() {
    if (key_) RegCloseKey(key_);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

TOrvRegistryIniFile::TOrvRegistryIniFile(std::string keyPath) : keyPath_(std::move(keyPath)) {}

std::string TOrvRegistryIniFile::ReadString(std::string_view section, std::string_view ident,
                                            std::string_view defaultValue) const {
  const std::string fallback(defaultValue);
  if (section.empty() || HasNul(section) || HasNul(ident)) return fallback;
  TKey key;
  const std::wstring path = WideFromUtf8(keyPath_ + "\\" + std::string(section));
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS) return fallback;
  const std::wstring name = WideFromUtf8(ident);
  // The value may change between asking for its size and reading it.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return fallback;
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > kMaxValueBytes) return fallback;
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = size;
    const LONG result =
        RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &read);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return fallback;
    // Stored strings need not end in NUL, and may carry more than one.
    std::wstring_view value(text.data(), read / sizeof(wchar_t));
    if (const auto nul = value.find(L'\0'); nul != std::wstring_view::npos) value = value.substr(0, nul);
    return Utf8FromWide(value);
  }
  return fallback;
}

void TOrvRegistryIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value) {
  if (section.empty() || HasNul(section) || section.find('\\') != std::string_view::npos)
    throw std::invalid_argument("Invalid configuration section name: " + std::string(section));
  if (ident.empty() || HasNul(ident))
    throw std::invalid_argument("Invalid configuration entry name: " + std::string(ident));
  if (HasNul(value)) throw std::invalid_argument("Invalid configuration value for " + std::string(ident));

  const std::string path = keyPath_ + "\\" + std::string(section);
  TKey key;
  const LONG created = RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(path).c_str(), 0, nullptr,
                                       REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Out(), nullptr);
  if (created != ERROR_SUCCESS)
    RaiseWindowsError("Cannot open registry key", "HKEY_CURRENT_USER\\" + path, static_cast<DWORD>(created));
  const std::wstring text = WideFromUtf8(value);
  const LONG written =
      RegSetValueExW(key.Get(), WideFromUtf8(ident).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (written != ERROR_SUCCESS)
    RaiseWindowsError("Cannot write registry value " + std::string(ident) + " of", "HKEY_CURRENT_USER\\" + path,
                      static_cast<DWORD>(written));
}

std::string ConfigKeyPath(std::string_view productName) { return "Software\\Orvane\\" + std::string(productName); }

std::unique_ptr<TOrvRegIniFile> OpenConfigKey(std::string_view productName) {
  return std::make_unique<TOrvRegistryIniFile>(ConfigKeyPath(productName));
}

}  // namespace vornix::platform
