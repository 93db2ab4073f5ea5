// The order in which the user's language sorts names (UTF-8), ignoring letter case: "Élan" comes
// between "e" and "f". Names that this order finds equal ("A" and "a") follow by their bytes, so
// the order is total and the same on every run.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vornix::platform {

class TNameOrder {
 public:
  // The user's order as the environment names it now: on POSIX systems the collation of LC_ALL,
  // LC_COLLATE or LANG, read without touching the process's own locale; on Windows the user's
  // default locale. Where the environment names no language, or one this system lacks (many
  // machines carry no generated locales), names compare by their letters without case and
  // accents, so the order still reads naturally.
  TNameOrder();

  bool operator()(std::string_view a, std::string_view b) const { return Compare(a, b) < 0; }
  // Negative, zero or positive, as a comes before, equals or comes after b.
  int Compare(std::string_view a, std::string_view b) const;

 private:
  struct TCollation;  // the platform's: a locale
  // The language's order with case ignored: negative, zero or positive.
  static int Collate(const TCollation& collation, std::string_view a, std::string_view b);

  std::shared_ptr<const TCollation> collation_;  // null: the letters without case and accents
};

// The letters of a name without case and accents, as the order without a language compares
// them: "Élan" gives "elan", "Straße" "strasse".
std::u32string FoldedLetters(std::string_view utf8);

}  // namespace vornix::platform
