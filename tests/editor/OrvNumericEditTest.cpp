// The number box as the platform drives it: key and character events through its form's window,
// the clipboard of the window system, the mouse, the focus, and what the box shows. The key rules
// themselves are the model's and tested there; here it is the wiring between box and model.
#include <gtest/gtest.h>

#include <string>

#include "EditorFixture.h"
#include "editor/dialogs/OrvNumericEdit.h"

namespace vornix::editor::test {
namespace {

using platform::kKeyBackspace;
using platform::kKeyDelete;
using platform::kKeyEnd;

class NumericEditTest : public ::testing::Test {
 protected:
  NumericEditTest() : f(&gfx::SkinByName("Light"), 200, 80) {
    edit = &f.form.Add<TOrvNumericEdit>('.');
    edit->SetBounds(10, 10, 100, 24);
    other = &f.form.Add<TEdit>();
    other->SetBounds(10, 45, 100, 24);
  }
  platform::TMemoryWindow& Show(int decimals, double minimum, double maximum, double value) {
    edit->SetDecimals(decimals);
    edit->SetMinValue(minimum);
    edit->SetMaxValue(maximum);
    edit->SetValue(value);
    platform::TMemoryWindow& w = f.Show();
    f.form.FocusControl(edit);
    return w;
  }
  // Backspace as a platform sends it: the key, then its character.
  void Backspace(platform::TMemoryWindow& w) {
    f.system.KeyDown(w, kKeyBackspace);
    f.system.Type(w, "\b");
  }
  void Ctrl(platform::TMemoryWindow& w, char letter) {
    f.system.KeyDown(w, letter, platform::ssCtrl);
    f.system.Type(w, std::string(1, static_cast<char>(letter - 'A' + 1)), platform::ssCtrl);
  }

  TFormFixture f;
  TOrvNumericEdit* edit = nullptr;
  TEdit* other = nullptr;
};

TEST_F(NumericEditTest, StartsRightAlignedWithTwoDecimalsAtLeastAsTallAsItsFont) {
  TOrvNumericEdit fresh('.');
  EXPECT_EQ(fresh.Alignment, gfx::THAlign::Right);
  EXPECT_EQ(fresh.Decimals(), 2);
  EXPECT_EQ(fresh.Text(), "0.00");
  EXPECT_EQ(fresh.Width(), 73);
  EXPECT_EQ(fresh.Height(), fresh.MinimumHeight());
  fresh.SetBounds(0, 0, 75, 10);
  EXPECT_EQ(fresh.Height(), fresh.MinimumHeight());
  // 4 × border + line height + a quarter of it + 2, for the Segoe UI 12 px of both fonts.
  const int line = gfx::FontMetrics(fresh.Font).LineHeight;
  EXPECT_EQ(fresh.MinimumHeight(), 4 + line + line / 4 + 2);
}

TEST_F(NumericEditTest, TypedDigitsSeparatorAndBackspaceGoThroughTheModel) {
  platform::TMemoryWindow& w = Show(2, 0, 0, 0);
  // Focus given by the program selects all: the first digit replaces the text.
  EXPECT_EQ(edit->SelLength(), 4);
  f.system.Type(w, "5");
  EXPECT_EQ(edit->Text(), "5.00");
  EXPECT_EQ(edit->CaretPos(), 1);
  f.system.Type(w, ".2");
  EXPECT_EQ(edit->Text(), "5.20");
  EXPECT_EQ(edit->CaretPos(), 3);
  // At the end a Backspace only moves the caret; after the 2 it takes the 2 (key and character
  // count once).
  f.system.KeyDown(w, kKeyEnd);
  Backspace(w);
  EXPECT_EQ(edit->Text(), "5.20");
  EXPECT_EQ(edit->CaretPos(), 3);
  Backspace(w);
  EXPECT_EQ(edit->Text(), "5.00");
  EXPECT_EQ(edit->CaretPos(), 2);
  EXPECT_DOUBLE_EQ(edit->Value(), 5.0);
  // Letters never reach the text.
  f.system.Type(w, "x");
  EXPECT_EQ(edit->Text(), "5.00");
}

TEST_F(NumericEditTest, DeleteKeyAndSelectAllWithCtrlA) {
  platform::TMemoryWindow& w = Show(2, 0, 0, 7.5);
  f.system.KeyDown(w, platform::kKeyHome);
  f.system.KeyDown(w, kKeyDelete);
  EXPECT_EQ(edit->Text(), "0.50");  // the only integer digit becomes 0
  f.system.KeyDown(w, kKeyEnd);
  Ctrl(w, 'A');
  EXPECT_EQ(edit->SelStart(), 0);
  EXPECT_EQ(edit->SelLength(), 4);
  f.system.Type(w, "3");
  EXPECT_EQ(edit->Text(), "3.00");
}

TEST_F(NumericEditTest, MinusTogglesTheSignOnlyWhenTheRangeGoesBelowZero) {
  const struct {
    double minimum;
    const char* once;
    const char* twice;
  } cases[] = {{0, "5.00", "5.00"}, {-10, "-5.00", "5.00"}};
  for (const auto& c : cases) {
    platform::TMemoryWindow& w = Show(2, c.minimum, 10, 5);
    f.system.KeyDown(w, platform::kKeyHome);
    f.system.Type(w, "-");
    EXPECT_EQ(edit->Text(), c.once) << c.minimum;
    f.system.KeyDown(w, kKeyEnd);
    f.system.Type(w, "-");
    EXPECT_EQ(edit->Text(), c.twice) << c.minimum;
    f.form.Close();
  }
}

TEST_F(NumericEditTest, ClipboardCharactersUseTheWindowSystemsClipboard) {
  platform::TMemoryWindow& w = Show(0, 0, 0, 0);
  f.system.SetClipboardText("12a3");
  Ctrl(w, 'V');
  EXPECT_EQ(edit->Text(), "123");
  Ctrl(w, 'A');
  Ctrl(w, 'C');
  EXPECT_EQ(f.system.GetClipboardText(), "123");
  f.system.SetClipboardText("");
  Ctrl(w, 'X');
  EXPECT_EQ(f.system.GetClipboardText(), "123");
  EXPECT_EQ(edit->Text(), "0");
}

TEST_F(NumericEditTest, AClickPlacesTheCaretForTheModelToo) {
  platform::TMemoryWindow& w = Show(2, 0, 0, 12.5);
  f.form.FocusControl(other);
  // Far left of the right-aligned text: the caret goes before the first digit, nothing selected.
  f.system.Click(w, 16, 22);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->CaretPos(), 0);
  EXPECT_EQ(edit->SelLength(), 0);
  f.system.Type(w, "3");
  EXPECT_EQ(edit->Text(), "312.50");
}

TEST_F(NumericEditTest, ChangeEventsSeeTheNewTextAndValidChangesOnlyInRange) {
  platform::TMemoryWindow& w = Show(0, 0, 127, 0);
  f.system.KeyDown(w, kKeyEnd);
  std::vector<std::string> changes;
  int valid = 0;
  edit->OnChange = [&](TControl& sender) {
    EXPECT_EQ(&sender, edit);
    changes.push_back(edit->Text());
  };
  edit->OnValidChange = [&](TControl& sender) {
    EXPECT_EQ(&sender, edit);
    ++valid;
  };
  f.system.Type(w, "200");
  EXPECT_EQ(changes, (std::vector<std::string>{"2", "20", "200"}));
  EXPECT_EQ(valid, 2);
}

TEST_F(NumericEditTest, LeavingClampsIntoTheRangeAndReportsTheInvalidEntry) {
  platform::TMemoryWindow& w = Show(0, 0, 127, 0);
  int invalid = 0;
  edit->OnInvalidEntry = [&](TControl&) { ++invalid; };
  f.system.Type(w, "200");
  EXPECT_EQ(invalid, 0);
  f.system.Click(w, 20, 55);  // the other box takes the focus
  EXPECT_EQ(edit->Text(), "127");
  EXPECT_EQ(invalid, 1);
}

TEST_F(NumericEditTest, ReadOnlyTakesNoEditsAndShowsTheButtonFace) {
  platform::TMemoryWindow& w = Show(0, 0, 0, 42);
  edit->ReadOnly = true;
  f.system.Type(w, "5");
  f.system.KeyDown(w, kKeyDelete);
  Backspace(w);
  EXPECT_EQ(edit->Text(), "42");
  f.form.Update();
  EXPECT_EQ(w.Pixel(15, 14), gfx::SkinByName("Light").ButtonFace);
  edit->ReadOnly = false;
  f.form.FocusControl(other);
  f.form.Update();
  EXPECT_EQ(w.Pixel(15, 14), gfx::SkinByName("Light").TextBoxBackground);
}

TEST_F(NumericEditTest, TextSetThroughThePlainTextBoxReachesTheModel) {
  Show(1, 0, 0, 0);
  static_cast<TEdit&>(*edit).SetText("42.5");
  EXPECT_DOUBLE_EQ(edit->Value(), 42.5);
  edit->SetDecimals(0);
  EXPECT_EQ(edit->Text(), "43");
}

}  // namespace
}  // namespace vornix::editor::test
