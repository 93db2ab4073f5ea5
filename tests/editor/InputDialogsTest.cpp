// The text and number questions as the user meets them: placed over the editor, answered with
// the keys and the mouse, the number question coming back for an entry out of range.
#include <gtest/gtest.h>

#include <string>

#include "DialogFixture.h"
#include "editor/dialogs/InputDialogs.h"
#include "editor/dialogs/InputDlg.h"
#include "editor/dialogs/InputDlgNumeric.h"

namespace vornix::editor::test {
namespace {

using platform::kKeyBackspace;
using platform::kKeyEscape;
using platform::kKeyReturn;

// Where FormShow puts the buttons of a client area: Cancel 6 pixels from the lower right corner,
// OK 6 pixels left of it.
struct TButtonPlaces {
  gfx::TRect Ok, Cancel;
};
TButtonPlaces ButtonPlaces(int width, int height, int buttonHeight) {
  const int top = height - buttonHeight - 6;
  const int cancel = width - 80 - 6;
  return {gfx::TRect::FromSize(cancel - 80 - 6, top, 80, buttonHeight),
          gfx::TRect::FromSize(cancel, top, 80, buttonHeight)};
}

// ---- the text question ----

using InputTextTest = TDialogTest;

TEST_F(InputTextTest, ShowsOverTheEditorWithTheCaptionAndItsLayout) {
  TfrmInputDlg dialog(owner);
  dialog.PlaceOverOwner();
  dialog.lblPrompt.SetCaption("Name");
  Then([&] {
    const platform::TMemoryWindow& w = Question();
    EXPECT_EQ(w.Title(), "Save Preset");
    EXPECT_EQ(w.Owner(), owner.Window());
    // left = editor's client origin + (editor width − dialog width) div 2; top likewise.
    EXPECT_EQ(w.ScreenBounds(), gfx::TRect::FromSize(100 + (786 - 300) / 2, 80 + (421 - 102) / 2, 300, 102));
    EXPECT_EQ(dialog.lblPrompt.Left(), 6);
    EXPECT_EQ(dialog.txtValue.BoundsRect(), gfx::TRect::FromSize(6, 23, 288, 23));
    const TButtonPlaces places = ButtonPlaces(300, 102, 26);
    EXPECT_EQ(dialog.btnOK.BoundsRect(), places.Ok);
    EXPECT_EQ(dialog.btnCancel.BoundsRect(), places.Cancel);
    EXPECT_TRUE(dialog.txtValue.Focused());
    Press(kKeyEscape);
  });
  EXPECT_EQ(dialog.Execute("Save Preset"), TModalResult::mrCancel);
}

TEST_F(InputTextTest, OkIsEnabledByNonBlankTextOrByAllowingBlankText) {
  const struct {
    std::string text;
    bool allowEmpty;
    bool enabled;
  } cases[] = {
      {"", true, true},      {"   ", true, true},   {"a", true, true},    {"", false, false},
      {"   ", false, false}, {"\t ", false, false}, {" a ", false, true}, {"Bass", false, true},
  };
  for (const auto& c : cases) {
    TfrmInputDlg dialog(owner);
    dialog.FAllowEmpty = c.allowEmpty;
    dialog.txtValue.SetText(c.text);
    dialog.UpdateOKButton();
    EXPECT_EQ(dialog.btnOK.Enabled(), c.enabled) << '"' << c.text << "\" allowEmpty " << c.allowEmpty;
  }
}

TEST_F(InputTextTest, OkFollowsTheTypingAndEnterWaitsForIt) {
  std::string text;
  Then([&] {
    Press(kKeyReturn);  // OK is disabled: nothing happens
    EXPECT_TRUE(QuestionShown());
    Type(" ");
    Press(kKeyReturn);
    EXPECT_TRUE(QuestionShown());
    Type("x");
    Press(kKeyReturn);
  });
  EXPECT_TRUE(InputText(owner, "Title", "Sequence title", false, 50, text));
  EXPECT_EQ(text, " x");
}

TEST_F(InputTextTest, BlankTextIsAnAnswerWhenAllowed) {
  std::string text = "Old name";
  Then([&] {
    Press(platform::kKeyDelete);  // all was selected when it showed
    Press(kKeyReturn);
  });
  EXPECT_TRUE(InputText(owner, "Save Preset", "Name", true, 50, text));
  EXPECT_EQ(text, "");
}

TEST_F(InputTextTest, TheAnswerIsTheEditedTextUntrimmed) {
  std::string text = "Old";
  Then([&] {
    Type("  New name ");
    ClickIn(ButtonPlaces(300, 102, 26).Ok);
  });
  EXPECT_TRUE(InputText(owner, "Save Preset", "Name", true, 50, text));
  EXPECT_EQ(text, "  New name ");
}

TEST_F(InputTextTest, CancelEscapeAndTheCloseBoxKeepTheText) {
  const std::function<void()> answers[] = {
      [&] { ClickIn(ButtonPlaces(300, 102, 26).Cancel); },
      [&] { Press(kKeyEscape); },
      [&] { system.Send(Question(), platform::TEvent{.Kind = platform::TEventKind::CloseRequest}); },
  };
  for (const auto& answer : answers) {
    std::string text = "Keep";
    Then([&] {
      Type("Changed");
      answer();
    });
    EXPECT_FALSE(InputText(owner, "Save Preset", "Name", true, 50, text));
    EXPECT_EQ(text, "Keep");
    EXPECT_FALSE(QuestionShown());
  }
}

// The limit is on typing: a longer starting text (a title loaded from elsewhere) comes back whole
// unless the user edits it, and editing never makes it longer.
TEST_F(InputTextTest, TypingIsLimitedToTheMaximumLengthButALongerStartingTextIsKept) {
  const std::string loaded(60, 'T');
  std::string text = loaded;
  Then([&] {
    EXPECT_EQ(Question().Title(), "Title");
    Press(kKeyReturn);
  });
  EXPECT_TRUE(InputText(owner, "Title", "Sequence title", true, 50, text));
  EXPECT_EQ(text, loaded);

  Then([&] {
    Press(platform::kKeyEnd);  // all was selected when it showed
    Type("x");
    Press(kKeyBackspace);
    Type("yz");
    Press(kKeyReturn);
  });
  EXPECT_TRUE(InputText(owner, "Title", "Sequence title", true, 50, text));
  EXPECT_EQ(text, std::string(59, 'T'));

  Then([&] {
    Type("0123456789");
    Press(kKeyReturn);
  });
  text = "abcdefgh";
  EXPECT_TRUE(InputText(owner, "Save Preset", "Name", true, 5, text));
  EXPECT_EQ(text, "01234");
}

TEST_F(InputTextTest, TheEditorTakesNoInputWhileTheQuestionIsOpen) {
  std::string text;
  auto filterBefore = owner.OnWindowEvent;
  Then([&] {
    system.Click(EditorWindow(), 50, 50);
    system.MouseWheel(EditorWindow(), 50, 50, 120);
    system.KeyDown(EditorWindow(), 'A');
    Press(kKeyEscape);
  });
  InputText(owner, "Save Preset", "Name", true, 50, text);
  EXPECT_TRUE(log.empty()) << testing::PrintToString(log);
  // Afterwards it does again.
  system.Click(EditorWindow(), 50, 50);
  EXPECT_EQ(log, (Log{"editor:enter", "editor:down L 50,50", "editor:up L 50,50", "editor:click"}));
  EXPECT_EQ(static_cast<bool>(owner.OnWindowEvent), static_cast<bool>(filterBefore));
}

// ---- the number question ----

using InputNumberTest = TDialogTest;

TEST_F(InputNumberTest, LayoutAndPlacement) {
  TfrmInputDlgNumeric dialog(owner, '.');
  dialog.PlaceOverOwner();
  Then([&] {
    EXPECT_EQ(Question().ScreenBounds(), gfx::TRect::FromSize(100 + (786 - 228) / 2, 80 + (421 - 104) / 2, 228, 104));
    EXPECT_EQ(dialog.lblPrompt.Left(), 6);
    EXPECT_EQ(dialog.txtNumeric.Left(), 6);
    EXPECT_EQ(dialog.txtNumeric.Top(), 28);
    EXPECT_EQ(dialog.txtNumeric.Width(), 75);
    EXPECT_GE(dialog.txtNumeric.Height(), 24);
    const TButtonPlaces places = ButtonPlaces(228, 104, 25);
    EXPECT_EQ(dialog.btnOK.BoundsRect(), places.Ok);
    EXPECT_EQ(dialog.btnCancel.BoundsRect(), places.Cancel);
    // The box sits above the buttons.
    EXPECT_LE(dialog.txtNumeric.BoundsRect().Bottom, places.Ok.Top);
    Press(kKeyEscape);
  });
  dialog.Execute("MIDI Set CC: Seq1 CC#");
}

TEST_F(InputNumberTest, AnEntryInRangeIsTheAnswer) {
  double value = 1;
  Then([&] {
    EXPECT_EQ(Question().Title(), "MIDI Set CC: Seq1 CC#");
    Type("74");
    Press(kKeyReturn);
  });
  EXPECT_TRUE(InputNumber(owner, "MIDI Set CC: Seq1 CC#", "CC# (0-127)", 127, 0, 0, value));
  EXPECT_EQ(value, 74);
}

TEST_F(InputNumberTest, AnEntryOutOfRangeBringsTheQuestionBackAfter250Ms) {
  double value = 1;
  Then([&] {
    Type("200");
    Press(kKeyReturn);
  });
  // Between the two: the dialog has gone and the editor's window keeps being served.
  Then([&] {
    EXPECT_FALSE(QuestionShown());
    const int presented = EditorWindow().PresentCount();
    owner.Invalidate();
    system.AdvanceTime(249);
    EXPECT_FALSE(QuestionShown());
    EXPECT_GT(EditorWindow().PresentCount(), presented);
    system.Click(EditorWindow(), 10, 10);  // still no input for the editor
    system.AdvanceTime(1);
  });
  Then([&] {
    ASSERT_TRUE(QuestionShown());
    EXPECT_EQ(Question().Title(), "MIDI Set CC: Seq1 CC#");
    Press(kKeyEscape);
  });
  EXPECT_FALSE(InputNumber(owner, "MIDI Set CC: Seq1 CC#", "CC# (0-127)", 127, 0, 0, value));
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(log.empty()) << testing::PrintToString(log);
  EXPECT_EQ(system.PendingModalActions(), 0u);
}

TEST_F(InputNumberTest, TheReturningQuestionShowsTheEntryReadyToBeTypedOver) {
  double value = 5;
  Then([&] {
    Type("300");
    Press(kKeyReturn);
  });
  Then([&] { system.AdvanceTime(250); });
  Then([&] {
    Type("99");
    Press(kKeyReturn);
  });
  EXPECT_TRUE(InputNumber(owner, "Caption", "CC# (0-127)", 127, 0, 0, value));
  EXPECT_EQ(value, 99);
}

TEST_F(InputNumberTest, WithoutARangeAnyNumberIsTheAnswer) {
  double value = 0;
  Then([&] {
    Type("12345");
    Press(kKeyReturn);
  });
  EXPECT_TRUE(InputNumber(owner, "Caption", "Amount", 0, 0, 0, value));
  EXPECT_EQ(value, 12345);
}

TEST_F(InputNumberTest, DecimalsShowAndTheEntryIsReadWithThem) {
  TfrmInputDlgNumeric dialog(owner, '.');
  dialog.txtNumeric.SetDecimals(2);
  dialog.txtNumeric.SetMinValue(0);
  dialog.txtNumeric.SetMaxValue(10);
  dialog.txtNumeric.SetValue(0.5);
  Then([&] {
    EXPECT_EQ(dialog.txtNumeric.Text(), "0.50");
    EXPECT_EQ(dialog.txtNumeric.SelLength(), 4);  // all selected on showing
    Type("2.75");
    system.KeyDown(Question(), kKeyBackspace);
    Type("\b");
    Press(kKeyReturn);
  });
  EXPECT_EQ(dialog.Execute("Caption"), TModalResult::mrOk);
  EXPECT_EQ(dialog.txtNumeric.Text(), "2.70");
}

TEST_F(InputNumberTest, EnterAndEscapeReachTheDialogFromTheNumberBox) {
  for (const int key : {kKeyReturn, kKeyEscape}) {
    double value = 3;
    Then([&] {
      EXPECT_TRUE(Question().Focused());
      Press(key);
      Type(key == kKeyReturn ? "\r" : "\x1b");  // the key's character goes nowhere
    });
    EXPECT_EQ(InputNumber(owner, "Caption", "Prompt", 10, 0, 0, value), key == kKeyReturn);
    EXPECT_EQ(value, 3);
  }
}

}  // namespace
}  // namespace vornix::editor::test
