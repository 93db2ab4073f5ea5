#include "platform/NameOrder.h"

#include <algorithm>
#include <array>

#include "platform/WindowSupport.h"

namespace vornix::platform {

namespace {

// Latin letters with accents (Latin-1 Supplement and Latin Extended-A) and the letters they are
// sorted with; ligatures and sharp s spell out their letters.
struct TFold {
  char32_t First, Last;
  std::u32string_view Letters;
};
constexpr std::array<TFold, 48> kFolds{{
    {0xC0, 0xC5, U"a"},   {0xC6, 0xC6, U"ae"},  {0xC7, 0xC7, U"c"},   {0xC8, 0xCB, U"e"},    {0xCC, 0xCF, U"i"},
    {0xD0, 0xD0, U"d"},   {0xD1, 0xD1, U"n"},   {0xD2, 0xD6, U"o"},   {0xD8, 0xD8, U"o"},    {0xD9, 0xDC, U"u"},
    {0xDD, 0xDD, U"y"},   {0xDE, 0xDE, U"th"},  {0xDF, 0xDF, U"ss"},  {0xE0, 0xE5, U"a"},    {0xE6, 0xE6, U"ae"},
    {0xE7, 0xE7, U"c"},   {0xE8, 0xEB, U"e"},   {0xEC, 0xEF, U"i"},   {0xF0, 0xF0, U"d"},    {0xF1, 0xF1, U"n"},
    {0xF2, 0xF6, U"o"},   {0xF8, 0xF8, U"o"},   {0xF9, 0xFC, U"u"},   {0xFD, 0xFD, U"y"},    {0xFE, 0xFE, U"th"},
    {0xFF, 0xFF, U"y"},   {0x100, 0x105, U"a"}, {0x106, 0x10D, U"c"}, {0x10E, 0x111, U"d"},  {0x112, 0x11B, U"e"},
    {0x11C, 0x123, U"g"}, {0x124, 0x127, U"h"}, {0x128, 0x131, U"i"}, {0x132, 0x133, U"ij"}, {0x134, 0x135, U"j"},
    {0x136, 0x138, U"k"}, {0x139, 0x142, U"l"}, {0x143, 0x14B, U"n"}, {0x14C, 0x151, U"o"},  {0x152, 0x153, U"oe"},
    {0x154, 0x159, U"r"}, {0x15A, 0x161, U"s"}, {0x162, 0x167, U"t"}, {0x168, 0x173, U"u"},  {0x174, 0x175, U"w"},
    {0x176, 0x178, U"y"}, {0x179, 0x17E, U"z"}, {0x17F, 0x17F, U"s"},
}};

}  // namespace

std::u32string FoldedLetters(std::string_view utf8) {
  std::u32string folded;
  for (char32_t c : detail::DecodeUtf8(utf8)) {
    if (c >= U'A' && c <= U'Z') {
      folded.push_back(c - U'A' + U'a');
      continue;
    }
    const auto fold = std::find_if(kFolds.begin(), kFolds.end(), [c](const TFold& f) { return c <= f.Last; });
    if (fold != kFolds.end() && c >= fold->First)
      folded += fold->Letters;
    else
      folded.push_back(c);
  }
  return folded;
}

int TNameOrder::Compare(std::string_view a, std::string_view b) const {
  const int order = collation_ != nullptr ? Collate(*collation_, a, b) : FoldedLetters(a).compare(FoldedLetters(b));
  if (order != 0) return order < 0 ? -1 : 1;
  const int bytes = a.compare(b);
  return bytes < 0 ? -1 : bytes > 0 ? 1 : 0;
}

}  // namespace vornix::platform
