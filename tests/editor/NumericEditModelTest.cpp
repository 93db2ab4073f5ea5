#include "editor/logic/NumericEditModel.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

namespace vornix::editor {
namespace {

using platform::kKeyDelete;
using platform::kKeyEnd;
using platform::kKeyHome;
using platform::kKeyLeft;
using platform::kKeyRight;
using platform::ssCtrl;
using platform::ssShift;

// Keys as a string: '\b' Backspace, '#' Delete, '~' Ctrl+A (key and character), '<' '>' Left and
// Right, '{' '}' the same with Shift, '^' Home, '$' End; any other character is typed.
void Keys(TNumericEditModel& m, const std::string& keys) {
  for (const char k : keys) {
    switch (k) {
      case '#': m.KeyDown(kKeyDelete); break;
      case '~':
        m.KeyDown('A', ssCtrl);
        m.KeyPress(1);
        break;
      case '<': m.KeyDown(kKeyLeft); break;
      case '>': m.KeyDown(kKeyRight); break;
      case '{': m.KeyDown(kKeyLeft, ssShift); break;
      case '}': m.KeyDown(kKeyRight, ssShift); break;
      case '^': m.KeyDown(kKeyHome); break;
      case '$': m.KeyDown(kKeyEnd); break;
      default: m.KeyPress(static_cast<unsigned char>(k)); break;
    }
  }
}

struct TEditCase {
  std::string Name;
  int Decimals;
  double MinValue, MaxValue;
  std::string Text;
  int SelStart, SelLength;
  std::string Keys;
  std::string ExpectedText;
  int ExpectedCaret;
};

void ExpectEdit(const TEditCase& c) {
  SCOPED_TRACE(c.Name);
  TNumericEditModel m;
  m.SetDecimals(c.Decimals);
  m.SetMinValue(c.MinValue);
  m.SetMaxValue(c.MaxValue);
  m.SetText(c.Text);
  m.SetSelection(c.SelStart, c.SelLength);
  Keys(m, c.Keys);
  EXPECT_EQ(m.Text(), c.ExpectedText);
  EXPECT_EQ(m.Caret(), c.ExpectedCaret);
  EXPECT_EQ(m.SelLength(), 0);
}

TEST(NumericEditModel, TypingOverASelectionAndIntoTheDecimals) {
  const TEditCase cases[] = {
      {"a digit replaces everything", 2, 0, 0, "0.00", 0, 4, "5", "5.00", 1},
      {"the separator jumps to the decimals", 2, 0, 0, "0.00", 0, 4, "5.2", "5.20", 3},
      {"Backspace after a decimal shifts the rest left", 2, 0, 0, "5.20", 3, 0, "\b", "5.00", 2},
      {"Backspace at the end removes a trailing zero", 2, 0, 0, "5.20", 4, 0, "\b", "5.20", 3},
      {"nothing is typed after the last decimal", 2, 0, 0, "5.20", 4, 0, "7", "5.20", 4},
      {"a decimal is overwritten", 2, 0, 0, "5.20", 2, 0, "9", "5.90", 3},
      {"the separator from the integer part", 2, 0, 0, "12.34", 1, 0, ".", "12.34", 3},
      {"Delete on a decimal", 2, 0, 0, "12.34", 3, 0, "#", "12.40", 3},
      {"a digit before the whole number", 2, 0, 0, "5.20", 0, 0, "3", "35.20", 1},
      {"a digit before the separator", 2, 0, 0, "5.20", 1, 0, "3", "53.20", 2},
      {"0 in front is dropped", 2, 0, 0, "5.20", 0, 0, "0", "5.20", 0},
      {"0 after the first digit is typed", 2, 0, 0, "5.20", 1, 0, "0", "50.20", 2},
      {"a lone 0 is replaced", 2, 0, 0, "0.00", 1, 0, "7", "7.00", 1},
      {"then digits follow it", 2, 0, 0, "0.00", 1, 0, "78", "78.00", 2},
  };
  for (const TEditCase& c : cases) ExpectEdit(c);
}

TEST(NumericEditModel, DeletingKeepsANumber) {
  const TEditCase cases[] = {
      {"Backspace on the only integer digit", 2, 0, 0, "7.50", 1, 0, "\b", "0.50", 1},
      {"Delete on the only integer digit", 2, 0, 0, "7.50", 0, 0, "#", "0.50", 1},
      {"Backspace behind the separator keeps it", 2, 0, 0, "5.20", 2, 0, "\b", "5.20", 1},
      {"Delete before the separator steps over it", 2, 0, 0, "5.20", 1, 0, "#", "5.20", 2},
      {"Backspace at the start", 2, 0, 0, "5.20", 0, 0, "\b", "5.20", 0},
      {"Delete at the end", 2, 0, 0, "5.20", 4, 0, "#", "5.20", 4},
      {"Backspace in a longer integer part", 2, 0, 0, "123.00", 2, 0, "\b", "13.00", 1},
      {"a selection across the separator", 2, 0, 0, "12.50", 1, 3, "#", "1.00", 1},
      {"Backspace removes just the selection", 2, 0, 0, "123.00", 2, 1, "\b", "12.00", 2},
      {"a whole number", 0, 0, 0, "5", 1, 0, "\b", "0", 1},
      {"a whole number, Delete", 0, 0, 0, "5", 0, 0, "#", "0", 1},
      {"a digit of a whole number", 0, 0, 0, "123", 2, 0, "\b", "13", 1},
      {"a whole number all selected", 0, 0, 0, "123", 0, 3, "#", "0", 1},
  };
  for (const TEditCase& c : cases) ExpectEdit(c);
}

TEST(NumericEditModel, TheSignTogglesOnlyWhenNegativeNumbersAreAllowed) {
  for (const int caret : {0, 1, 2, 3, 4}) {
    TNumericEditModel m;
    m.SetMinValue(0);
    m.SetMaxValue(100);
    m.SetText("5.00");
    m.SetCaret(caret);
    Keys(m, "-");
    EXPECT_EQ(m.Text(), "5.00");
    EXPECT_EQ(m.Caret(), caret);

    m.SetMinValue(-10);
    Keys(m, "-");
    EXPECT_EQ(m.Text(), "-5.00") << "from caret " << caret;
    EXPECT_EQ(m.Caret(), caret + 1);
    Keys(m, "-");
    EXPECT_EQ(m.Text(), "5.00") << "from caret " << caret;
    EXPECT_EQ(m.Caret(), caret);
  }
  const TEditCase cases[] = {
      {"a digit replaces the 0 after the sign", 2, -10, 10, "-0.00", 2, 0, "7", "-7.00", 2},
      {"digits go behind the sign", 2, -10, 10, "-5.00", 0, 0, "3", "-35.00", 2},
      {"the only digit after the sign", 2, -10, 10, "-5.00", 2, 0, "\b", "-0.00", 1},
      {"Backspace in front of the sign", 2, -10, 10, "-5.00", 0, 0, "\b", "-5.00", 0},
      {"the sign itself", 2, -10, 10, "-5.00", 1, 0, "\b", "5.00", 0},
      {"a whole number after the sign", 0, -10, 10, "-5", 2, 0, "\b", "-0", 1},
      {"a digit replaces it", 0, -10, 10, "-0", 2, 0, "4", "-4", 2},
      {"a sign over a selection", 2, -10, 10, "5.00", 0, 4, "-7", "-7.00", 2},
  };
  for (const TEditCase& c : cases) ExpectEdit(c);
}

TEST(NumericEditModel, OtherCharactersChangeNothing) {
  const TEditCase cases[] = {
      {"a letter", 2, 0, 0, "12.50", 2, 0, "x", "12.50", 2},
      {"a space", 2, 0, 0, "12.50", 2, 0, " ", "12.50", 2},
      {"the other separator", 2, 0, 0, "12.50", 1, 0, ",", "12.50", 1},
      {"a separator without decimals", 0, 0, 0, "12", 1, 0, ".", "12", 1},
      {"a separator drops the selection", 0, 0, 0, "123", 1, 1, ".", "123", 1},
  };
  for (const TEditCase& c : cases) ExpectEdit(c);

  // A character that cannot be typed leaves the selection as it was.
  TNumericEditModel m;
  m.SetText("12.50");
  m.SelectAll();
  for (const char32_t ch : {U'x', U'+', U'\t', U'\u00E9'}) m.KeyPress(ch);
  EXPECT_EQ(m.Text(), "12.50");
  EXPECT_EQ(m.SelLength(), 5);
}

TEST(NumericEditModel, WholeNumbers) {
  const TEditCase cases[] = {
      {"a digit replaces 0", 0, 0, 127, "0", 1, 0, "5", "5", 1},
      {"then digits are appended", 0, 0, 127, "0", 1, 0, "55", "55", 2},
      {"typed over the selected 0", 0, 0, 127, "0", 0, 1, "200", "200", 3},
      {"a leading 0 is replaced, the rest kept", 0, 0, 127, "05", 0, 0, "7", "75", 1},
      {"the same after the sign", 0, -10, 10, "-05", 1, 0, "7", "-75", 2},
  };
  for (const TEditCase& c : cases) ExpectEdit(c);
}

TEST(NumericEditModel, CaretKeysAndSelectAll) {
  TNumericEditModel m;
  m.SetText("12.34");
  Keys(m, ">>{");
  EXPECT_EQ(m.SelStart(), 1);
  EXPECT_EQ(m.SelLength(), 1);
  EXPECT_EQ(m.Caret(), 1);
  Keys(m, "}}}");
  EXPECT_EQ(m.SelStart(), 2);
  EXPECT_EQ(m.SelLength(), 2);
  EXPECT_EQ(m.SelectedText(), ".3");
  Keys(m, "<");  // collapses to the start
  EXPECT_EQ(m.Caret(), 2);
  EXPECT_EQ(m.SelLength(), 0);
  Keys(m, "$<<<<<<<<");
  EXPECT_EQ(m.Caret(), 0);
  Keys(m, "^}}$");
  EXPECT_EQ(m.Caret(), 5);

  // Ctrl+A marks; the character that follows it selects all and is dropped.
  m.SetText("0.00");
  m.KeyDown('A', ssCtrl);
  EXPECT_EQ(m.SelLength(), 0);
  m.KeyPress(1);
  EXPECT_EQ(m.SelLength(), 4);
  Keys(m, "5");
  EXPECT_EQ(m.Text(), "5.00");
  // Only with Ctrl.
  EXPECT_FALSE(m.KeyDown('A'));
  // Without Ctrl+A's own character the next one is the one dropped.
  m.KeyDown('A', ssCtrl);
  Keys(m, "7");
  EXPECT_EQ(m.Text(), "5.00");
  EXPECT_EQ(m.SelLength(), 4);
}

TEST(NumericEditModel, DialogKeysActAndLeaveTheText) {
  TNumericEditModel m;
  m.SetText("12.50");
  m.SelectAll();
  EXPECT_EQ(m.KeyPress(13), TNumericKeyAction::DefaultButton);
  EXPECT_EQ(m.KeyPress(27), TNumericKeyAction::CancelButton);
  EXPECT_EQ(m.Text(), "12.50");
  EXPECT_EQ(m.SelLength(), 5);
  EXPECT_EQ(m.KeyPress(3), TNumericKeyAction::Copy);
  EXPECT_EQ(m.KeyPress(24), TNumericKeyAction::Cut);
  EXPECT_EQ(m.KeyPress(22), TNumericKeyAction::Paste);
  EXPECT_EQ(m.KeyPress(0), TNumericKeyAction::None);
  EXPECT_EQ(m.Text(), "12.50");
  EXPECT_EQ(m.SelLength(), 5);
}

TEST(NumericEditModel, CutAndPaste) {
  TNumericEditModel m;
  m.SetText("12.50");
  EXPECT_EQ(m.Cut(), std::nullopt);  // nothing selected
  m.SetSelection(0, 2);
  EXPECT_EQ(m.Cut(), "12");
  EXPECT_EQ(m.Text(), "0.50");

  m.SelectAll();
  m.Paste("3.75");
  EXPECT_EQ(m.Text(), "3.75");
  EXPECT_EQ(m.Caret(), 4);

  // Enter in pasted text does not press the default button; it is dropped like any stranger.
  m.SelectAll();
  m.Paste("\r9\x1B\t1");
  EXPECT_EQ(m.Text(), "91.00");

  TNumericEditModel whole;
  whole.SetDecimals(0);
  whole.SelectAll();
  whole.Paste("12a3");
  EXPECT_EQ(whole.Text(), "123");
  whole.SetCaret(1);
  whole.Paste(
      "\xC3\xA9"
      "4");  // "é4": the letter is dropped
  EXPECT_EQ(whole.Text(), "1423");

  TNumericEditModel comma(',');
  comma.SelectAll();
  comma.Paste("3,75");
  EXPECT_EQ(comma.Text(), "3,75");
  EXPECT_EQ(comma.Value(), 3.75);
}

TEST(NumericEditModel, ReadOnlyAllowsSelectingAndCopyingOnly) {
  TNumericEditModel m;
  m.SetText("12.50");
  m.SetReadOnly(true);
  m.SetSelection(0, 2);
  for (const char32_t ch : {U'5', U'-', U'.', U'\b'}) EXPECT_EQ(m.KeyPress(ch), TNumericKeyAction::None);
  EXPECT_FALSE(m.KeyDown(kKeyDelete));
  EXPECT_EQ(m.KeyPress(3), TNumericKeyAction::Copy);
  EXPECT_EQ(m.KeyPress(22), TNumericKeyAction::None);
  EXPECT_EQ(m.KeyPress(24), TNumericKeyAction::None);
  EXPECT_EQ(m.Cut(), std::nullopt);
  m.Paste("7");
  EXPECT_EQ(m.Text(), "12.50");
  EXPECT_EQ(m.SelectedText(), "12");
  Keys(m, "~");
  EXPECT_EQ(m.SelLength(), 5);
}

TEST(NumericEditModel, ValueIsReadAndWrittenInTheDisplayFormat) {
  TNumericEditModel m;
  EXPECT_EQ(m.Text(), "0.00");  // Decimals 2, Value 0
  m.SetValue(5.254);
  EXPECT_EQ(m.Text(), "5.25");
  EXPECT_EQ(m.Value(), 5.25);
  m.SetText("");
  EXPECT_EQ(m.Value(), 0);
  m.SetText("-");
  EXPECT_EQ(m.Value(), 0);

  // Decimals: limited, the value limited to the range and shown again.
  m.SetValue(5.25);
  m.SetDecimals(0);
  EXPECT_EQ(m.Text(), "5");
  m.SetDecimals(3);
  EXPECT_EQ(m.Text(), "5.000");
  m.SetDecimals(-3);
  EXPECT_EQ(m.Decimals(), 0);
  m.SetDecimals(12);
  EXPECT_EQ(m.Decimals(), 9);
  m.SetMinValue(0);
  m.SetMaxValue(10);
  m.SetText("20");
  m.SetDecimals(1);
  EXPECT_EQ(m.Text(), "10.0");

  TNumericEditModel comma(',');
  comma.SetValue(1.5);
  EXPECT_EQ(comma.Text(), "1,50");
  comma.SetCaret(0);
  Keys(comma, "3,7");
  EXPECT_EQ(comma.Text(), "31,70");
}

struct TEvents {
  int Changes = 0;
  int ValidChanges = 0;
  int InvalidEntries = 0;
};

TEvents& Count(TNumericEditModel& m, TEvents& e) {
  m.OnChange = [&e] { ++e.Changes; };
  m.OnValidChange = [&e] { ++e.ValidChanges; };
  m.OnInvalidEntry = [&e] { ++e.InvalidEntries; };
  return e;
}

TEST(NumericEditModel, ChangeEvents) {
  // The controller number of "MIDI Set CC": 0..127, no decimals.
  TNumericEditModel m;
  m.SetDecimals(0);
  m.SetMinValue(0);
  m.SetMaxValue(127);
  m.SetValue(64);
  TEvents e;
  Count(m, e);
  m.SelectAll();
  Keys(m, "200");
  EXPECT_EQ(m.Text(), "200");
  // Removing the selection is one change, then 2, 20 and 200; only 200 is out of range.
  EXPECT_EQ(e.Changes, 4);
  EXPECT_EQ(e.ValidChanges, 3);

  // Leaving brings it into range.
  m.Exit();
  EXPECT_EQ(m.Text(), "127");
  EXPECT_EQ(e.Changes, 5);
  EXPECT_EQ(e.ValidChanges, 4);
  EXPECT_EQ(e.InvalidEntries, 1);
  m.Exit();
  EXPECT_EQ(e.InvalidEntries, 1);

  // Caret moves, rejected characters, equal values and new decimals are no changes.
  e = {};
  Keys(m, "<^$x");
  m.SetValue(127);
  m.SetDecimals(1);
  EXPECT_EQ(e.Changes, 0);
  // Delete with a selection reports twice.
  m.SelectAll();
  Keys(m, "#");
  EXPECT_EQ(m.Text(), "0.0");
  EXPECT_EQ(e.Changes, 2);
  // A value written differently is one.
  m.SetValue(3);
  EXPECT_EQ(e.Changes, 3);
}

TEST(NumericEditModel, WithoutARangeEveryChangeIsValidAndLeavingKeepsTheValue) {
  TNumericEditModel m;
  TEvents e;
  Count(m, e);
  m.SetValue(500);
  EXPECT_EQ(e.Changes, 1);
  EXPECT_EQ(e.ValidChanges, 1);
  m.Exit();
  EXPECT_EQ(m.Text(), "500.00");
  EXPECT_EQ(e.InvalidEntries, 0);
}

TEST(NumericEditModel, FocusSelectsAllUnlessTakenByTheMouse) {
  TNumericEditModel m;
  m.SetText("12.50");
  m.Enter(true);
  EXPECT_EQ(m.SelLength(), 0);
  m.Enter(false);
  EXPECT_EQ(m.SelLength(), 5);
  m.SetCaret(0);
  m.AutoSelect = false;
  m.Enter(false);
  EXPECT_EQ(m.SelLength(), 0);
}

TEST(NumericEditModel, TheLengthLimitStopsTyping) {
  TNumericEditModel m;
  m.SetMaxLength(5);
  m.SetText("12.34");
  m.SetCaret(0);
  Keys(m, "9");
  EXPECT_EQ(m.Text(), "12.34");
  m.SetCaret(2);
  Keys(m, "9");
  EXPECT_EQ(m.Text(), "12.34");
  m.SetCaret(3);
  Keys(m, "9");  // decimals are overwritten, the length stays
  EXPECT_EQ(m.Text(), "12.94");
}

// Any keys on any start keep the text a number in the display format, and caret and selection
// inside it.
TEST(NumericEditModel, RandomKeysKeepTheTextANumber) {
  std::mt19937 random(20240611);
  const std::string alphabet = "0123456789-.,\bx#~<>{}^$";
  for (int run = 0; run < 400; ++run) {
    const int decimals = static_cast<int>(random() % 4);
    TNumericEditModel m;
    m.SetDecimals(decimals);
    m.SetMinValue(run % 2 == 0 ? -100.0 : 0.0);
    m.SetMaxValue(100.0);
    if (run % 3 == 0) m.SetMaxLength(6);
    m.SetValue(static_cast<double>(random() % 2000) / 10.0 - 100.0);
    const std::regex shape(decimals == 0 ? "-?[0-9]+" : "-?[0-9]+\\.[0-9]{" + std::to_string(decimals) + "}");
    std::string keys;
    for (int i = 0; i < 40; ++i) {
      const char k = alphabet[random() % alphabet.size()];
      keys += k;
      if (random() % 10 == 0) {
        const int start = static_cast<int>(random() % 8);
        m.SetSelection(start, static_cast<int>(random() % 8));
      }
      Keys(m, std::string(1, k));
      if (k == 'x' && random() % 2 == 0) m.Paste(std::to_string(random() % 1000) + "." + std::to_string(random() % 10));
      ASSERT_TRUE(std::regex_match(m.Text(), shape)) << "\"" << m.Text() << "\" after keys \"" << keys << "\"";
      ASSERT_LE(m.SelStart() + m.SelLength(), static_cast<int>(m.Text().size()));
      ASSERT_GE(m.SelStart(), 0);
    }
  }
}

}  // namespace
}  // namespace vornix::editor
