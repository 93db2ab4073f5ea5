// The user's default locale through the Windows API, which always has one.
#include <windows.h>

#include "platform/NameOrder.h"
#include "platform/WinText.h"

namespace vornix::platform {

struct TNameOrder::TCollation {};

TNameOrder::TNameOrder() : collation_(std::make_shared<const TCollation>()) {}

int TNameOrder::Collate(const TCollation&, std::string_view a, std::string_view b) {
  const std::wstring x = WideFromUtf8(a), y = WideFromUtf8(b);
  const int result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.c_str(), static_cast<int>(x.size()),
                                    y.c_str(), static_cast<int>(y.size()));
  if (result == 0) return FoldedLetters(a).compare(FoldedLetters(b));  // refused: never for valid text
  return result - CSTR_EQUAL;
}

}  // namespace vornix::platform
