// The per-user configuration: sections of named entries, each a text that usually holds the
// decimal text of an integer. Windows keeps it in the registry under HKEY_CURRENT_USER
// "Software\Orvane\<product>"; POSIX systems in an INI file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornix::platform {

// The decimal text of a 32-bit signed integer: optional blanks around, an optional sign and at
// least one digit. Anything else (empty, hex, trailing text, out of range) gives nothing.
std::optional<std::int32_t> ParseDecimalInteger(std::string_view text);

// One open configuration key. Section and entry names compare ignoring ASCII case, like registry
// names. Reads never fail: what cannot be read gives the default. Writes that fail raise EOSError.
class TOrvRegIniFile {
 public:
  virtual ~TOrvRegIniFile() = default;

  virtual std::string ReadString(std::string_view section, std::string_view ident,
                                 std::string_view defaultValue) const = 0;
  // Creates the section when it is missing.
  virtual void WriteString(std::string_view section, std::string_view ident, std::string_view value) = 0;

  // A missing, empty or non-decimal entry reads as the default.
  std::int32_t ReadInteger(std::string_view section, std::string_view ident, std::int32_t defaultValue) const;
  void WriteInteger(std::string_view section, std::string_view ident, std::int32_t value);
};

// The INI file stand-in for the registry key. The file is read when the object is made; every
// write merges into the file's current content and replaces the whole file at once (a temporary
// file renamed over it), so other instances' entries and the user's comments survive and a crash
// never leaves half a file. A missing, unreadable or damaged file reads as empty; lines that are
// neither "[section]" nor "name=value" are kept but ignored.
class TOrvIniFile final : public TOrvRegIniFile {
 public:
  explicit TOrvIniFile(std::filesystem::path fileName);

  std::string ReadString(std::string_view section, std::string_view ident,
                         std::string_view defaultValue) const override;
  // Names that cannot be written into one INI line (line breaks, "=" in an entry name, "]" in a
  // section name, empty names) and values with line breaks raise std::invalid_argument.
  void WriteString(std::string_view section, std::string_view ident, std::string_view value) override;

  const std::filesystem::path& FileName() const { return fileName_; }

 private:
  void Load();

  std::filesystem::path fileName_;
  std::vector<std::string> lines_;
};

#ifdef _WIN32
// The registry key HKEY_CURRENT_USER\<keyPath>: a section is a subkey, an entry a string value.
// Reading creates nothing (a missing key reads as defaults, exactly as an empty one would);
// writing creates the key and the section's subkey when they are missing. Values of other types
// read as missing. Empty names, a "\" in a section name and NUL characters raise
// std::invalid_argument.
class TOrvRegistryIniFile final : public TOrvRegIniFile {
 public:
  explicit TOrvRegistryIniFile(std::string keyPath);

  std::string ReadString(std::string_view section, std::string_view ident,
                         std::string_view defaultValue) const override;
  void WriteString(std::string_view section, std::string_view ident, std::string_view value) override;

  const std::string& KeyPath() const { return keyPath_; }

 private:
  std::string keyPath_;
};

// "Software\Orvane\<product>", under HKEY_CURRENT_USER.
std::string ConfigKeyPath(std::string_view productName);
#else
// $XDG_CONFIG_HOME/Orvane/<product>.ini, with ~/.config when XDG_CONFIG_HOME is unset, empty or
// relative. Empty when no home folder can be found either.
std::filesystem::path ConfigFilePath(std::string_view productName);
#endif

// Opens the configuration key of the product ("Software\Orvane\<product>" on Windows).
std::unique_ptr<TOrvRegIniFile> OpenConfigKey(std::string_view productName);

}  // namespace vornix::platform
