// The user's collation from the environment, as a std::locale of its own: the process's global
// locale (usually "C" in a host) is neither read nor changed.
#include <cstdlib>
#include <locale>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/NameOrder.h"
#include "platform/WindowSupport.h"

namespace vornix::platform {

struct TNameOrder::TCollation {
  std::locale Locale;
};

namespace {

// The locale that names the collation, by POSIX's precedence.
std::string CollationName() {
  for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

// These order by code point, which puts every accented letter after "z".
bool OrdersByCodePoint(std::string_view name) {
  return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

std::wstring LowerCase(const std::locale& locale, std::string_view utf8) {
  const std::u32string points = detail::DecodeUtf8(utf8);
  std::wstring text(points.begin(), points.end());
  std::use_facet<std::ctype<wchar_t>>(locale).tolower(text.data(), text.data() + text.size());
  return text;
}

}  // namespace

TNameOrder::TNameOrder() {
  const std::string name = CollationName();
  if (OrdersByCodePoint(name)) return;
  // Each locale is loaded once per process: loading reads its files, and glibc keeps a little
  // memory from every load when LOCPATH is set.
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<const TCollation>> loaded;  // null: not on this machine
  const std::lock_guard lock(mutex);
  const auto [known, added] = loaded.try_emplace(name);
  if (added) {
    try {
      known->second = std::make_shared<const TCollation>(TCollation{std::locale(name)});
    } catch (const std::exception&) {
      // Not generated on this machine: the letters without case and accents serve.
    }
  }
  collation_ = known->second;
}

int TNameOrder::Collate(const TCollation& collation, std::string_view a, std::string_view b) {
  const std::wstring x = LowerCase(collation.Locale, a), y = LowerCase(collation.Locale, b);
  return std::use_facet<std::collate<wchar_t>>(collation.Locale)
      .compare(x.data(), x.data() + x.size(), y.data(), y.data() + y.size());
}

}  // namespace vornix::platform
