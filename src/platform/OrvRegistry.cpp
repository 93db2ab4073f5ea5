#include "platform/OrvRegistry.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/Files.h"
#include "platform/PlatformError.h"

namespace vornix::platform {

namespace {

// A damaged configuration file can be anything; only this much of it is read.
constexpr std::uintmax_t kMaxFileSize = 1 << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = TrimBlanks(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
  line = TrimBlanks(line);
  return !line.empty() && (line.front() == ';' || line.front() == '#');
}

struct TEntry {
  std::string_view Name;
  std::string_view Value;
};

std::optional<TEntry> EntryOf(std::string_view line) {
  if (IsComment(line) || SectionOf(line)) return std::nullopt;
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const auto name = TrimBlanks(line.substr(0, eq));
  if (name.empty()) return std::nullopt;
  return TEntry{name, TrimBlanks(line.substr(eq + 1))};
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::optional<std::int32_t> ParseDecimalInteger(std::string_view text) {
  text = TrimBlanks(text);
  // from_chars takes a minus but no plus.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::int32_t TOrvRegIniFile::ReadInteger(std::string_view section, std::string_view ident,
                                         std::int32_t defaultValue) const {
  return ParseDecimalInteger(ReadString(section, ident, {})).value_or(defaultValue);
}

void TOrvRegIniFile::WriteInteger(std::string_view section, std::string_view ident, std::int32_t value) {
  WriteString(section, ident, std::to_string(value));
}

TOrvIniFile::TOrvIniFile(std::filesystem::path fileName) : fileName_(std::move(fileName)) { Load(); }

void TOrvIniFile::Load() {
  lines_.clear();
  std::error_code ec;
  // A fifo or a folder in its place would block or fail; neither is a configuration.
  if (fileName_.empty() || !std::filesystem::is_regular_file(fileName_, ec)) return;
  const auto size = std::filesystem::file_size(fileName_, ec);
  if (ec || size > kMaxFileSize) return;
  std::ifstream in(fileName_, std::ios::binary);
  if (!in) return;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return;
  lines_ = SplitLines(text);
}

std::string TOrvIniFile::ReadString(std::string_view section, std::string_view ident,
                                    std::string_view defaultValue) const {
  bool inSection = false;
  for (const auto& line : lines_) {
    if (const auto name = SectionOf(line)) {
      inSection = SameName(*name, section);
    } else if (inSection) {
      const auto entry = EntryOf(line);
      if (entry && SameName(entry->Name, ident)) return std::string(entry->Value);
    }
  }
  return std::string(defaultValue);
}

void TOrvIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value) {
  if (section.empty() || TrimBlanks(section) != section || HasLineBreak(section) ||
      section.find(']') != std::string_view::npos)
    throw std::invalid_argument("Invalid configuration section name: " + std::string(section));
  if (ident.empty() || TrimBlanks(ident) != ident || HasLineBreak(ident) || ident.find('=') != std::string_view::npos ||
      ident.front() == '[' || ident.front() == ';' || ident.front() == '#')
    throw std::invalid_argument("Invalid configuration entry name: " + std::string(ident));
  if (HasLineBreak(value)) throw std::invalid_argument("Invalid configuration value for " + std::string(ident));
  if (fileName_.empty()) throw EOSError("Cannot write the configuration: no home folder");

  // Another instance may have written since this one was read.
  Load();
  std::vector<std::string> lines = lines_;
  const std::string newLine = std::string(ident) + "=" + std::string(value);

  bool inSection = false;
  std::optional<std::size_t> sectionEnd;  // where a new entry of the section goes
  bool written = false;
  for (std::size_t i = 0; i < lines.size() && !written; ++i) {
    if (const auto name = SectionOf(lines[i])) {
      inSection = SameName(*name, section);
      if (inSection && !sectionEnd) sectionEnd = i + 1;
    } else if (inSection) {
      const auto entry = EntryOf(lines[i]);
      if (entry && SameName(entry->Name, ident)) {
        lines[i] = newLine;
        written = true;
      } else if (entry && sectionEnd) {
        sectionEnd = i + 1;
      }
    }
  }
  if (!written) {
    if (sectionEnd) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), newLine);
    } else {
      if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
      lines.push_back("[" + std::string(section) + "]");
      lines.push_back(newLine);
    }
  }

  std::string text;
  for (const auto& line : lines) text += line + "\n";
  ForceDirectories(fileName_.parent_path());
  WriteFileAtomically(fileName_, text);
  lines_ = std::move(lines);
}

}  // namespace vornix::platform
