// The message box: its answers to the keys, the buttons and the close box, its title, its size
// and place, its text broken into lines, and the message that has no window to go to.
#include <gtest/gtest.h>

#include <string>

#include "DialogFixture.h"
#include "editor/dialogs/MessageDialog.h"
#include "editor/dialogs/TextLines.h"

namespace vornix::editor::test {
namespace {

using platform::kKeyEscape;
using platform::kKeyReturn;
using platform::TModalResult;

using MessageDialogTest = TDialogTest;

TEST_F(MessageDialogTest, AnswersTheButtonsKeysAndCloseBox) {
  const TMessageLayout yesNo =
      LayoutMessage("Initialize preset?", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo);
  const TMessageLayout ok = LayoutMessage("Done.", TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
  const struct {
    const char* what;
    TMsgDlgButtons buttons;
    std::function<void()> act;
    TModalResult answer;
  } cases[] = {
      {"Enter", TMsgDlgButtons::mbYesNo, [&] { Press(kKeyReturn); }, TModalResult::mrYes},
      {"Escape", TMsgDlgButtons::mbYesNo, [&] { Press(kKeyEscape); }, TModalResult::mrNo},
      {"Yes", TMsgDlgButtons::mbYesNo, [&] { ClickIn(yesNo.Buttons[0]); }, TModalResult::mrYes},
      {"No", TMsgDlgButtons::mbYesNo, [&] { ClickIn(yesNo.Buttons[1]); }, TModalResult::mrNo},
      {"close box", TMsgDlgButtons::mbYesNo,
       [&] { system.Send(Question(), platform::TEvent{.Kind = platform::TEventKind::CloseRequest}); },
       TModalResult::mrNo},
      {"Enter", TMsgDlgButtons::mbOK, [&] { Press(kKeyReturn); }, TModalResult::mrOk},
      {"Escape", TMsgDlgButtons::mbOK, [&] { Press(kKeyEscape); }, TModalResult::mrOk},
      {"OK", TMsgDlgButtons::mbOK, [&] { ClickIn(ok.Buttons[0]); }, TModalResult::mrOk},
      {"close box", TMsgDlgButtons::mbOK,
       [&] { system.Send(Question(), platform::TEvent{.Kind = platform::TEventKind::CloseRequest}); },
       TModalResult::mrOk},
  };
  for (const auto& c : cases) {
    const bool question = c.buttons == TMsgDlgButtons::mbYesNo;
    Then(c.act);
    const TModalResult answer =
        ShowMessageDialog(&owner, question ? "Initialize preset?" : "Done.", "Init",
                          question ? TMsgDlgType::mtConfirmation : TMsgDlgType::mtInformation, c.buttons);
    EXPECT_EQ(answer, c.answer) << c.what;
    EXPECT_FALSE(QuestionShown()) << c.what;
  }
}

TEST_F(MessageDialogTest, TitledWithTheCaptionOrTheApplicationTitle) {
  for (const std::string caption : {"Load Preset", ""}) {
    Then([&] {
      EXPECT_EQ(Question().Title(), caption.empty() ? "Vornix" : caption);
      EXPECT_EQ(Question().Kind(), platform::TWindowKind::Dialog);
      Press(kKeyReturn);
    });
    ShowMessageDialog(&owner, "Text", caption, TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
  }
}

TEST_F(MessageDialogTest, CentredOverTheEditorAndKeptOnTheScreen) {
  const TMessageLayout layout = LayoutMessage("Text", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
  Then([&] {
    EXPECT_EQ(Question().ScreenBounds(),
              gfx::TRect::FromSize(100 + (786 - layout.Width) / 2, 80 + (421 - layout.Height) / 2, layout.Width,
                                   layout.Height));
    Press(kKeyReturn);
  });
  ShowMessageDialog(&owner, "Text", "", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);

  // An editor mostly off the lower right corner of the screen still gets its message on it.
  system.SetParentOrigin({1400, 900});
  Then([&] {
    const gfx::TRect r = Question().ScreenBounds();
    EXPECT_EQ(r.Right, kScreen.Right);
    EXPECT_EQ(r.Bottom, kScreen.Bottom);
    Press(kKeyReturn);
  });
  ShowMessageDialog(&owner, "Text", "", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

TEST_F(MessageDialogTest, TheEditorTakesNoInputWhileTheMessageIsOpen) {
  Then([&] {
    system.Click(EditorWindow(), 300, 200);
    Press(kKeyReturn);
  });
  ShowMessageDialog(&owner, "Text", "", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
  EXPECT_TRUE(log.empty()) << testing::PrintToString(log);
}

TEST_F(MessageDialogTest, WithoutAWindowToGoOverTheMessageGoesToStandardError) {
  TForm closed(system, nullptr);
  for (TForm* form : {static_cast<TForm*>(nullptr), &closed}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageDialog(form, "Overwrite existing preset?", "Preset Exists", TMsgDlgType::mtConfirmation,
                                TMsgDlgButtons::mbYesNo),
              TModalResult::mrNo);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Preset Exists: Overwrite existing preset? [No]\n");
  }
}

TEST_F(MessageDialogTest, LayoutFollowsTheTextIconAndButtons) {
  const TMessageLayout error = LayoutMessage(platform::ErrorText("Error saving preset.", "Disk full"),
                                             TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
  // CR LF ends lines; the empty line stays.
  EXPECT_EQ(error.Lines, (std::vector<std::string>{"Error saving preset.", "", "\"Disk full\""}));
  EXPECT_EQ(error.Text.Height(), 3 * error.LineHeight);
  EXPECT_FALSE(error.Icon.Empty());
  EXPECT_LE(error.Icon.Right, error.Text.Left);
  ASSERT_EQ(error.Buttons.size(), 1u);
  // Everything lies inside, the buttons below the text and the icon.
  const gfx::TRect client = {0, 0, error.Width, error.Height};
  for (const gfx::TRect& r : {error.Icon, error.Text, error.Buttons[0]}) EXPECT_EQ(r.Intersect(client), r);
  EXPECT_GE(error.Buttons[0].Top, std::max(error.Text.Bottom, error.Icon.Bottom));

  const TMessageLayout question = LayoutMessage("Delete \"A\"?", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo);
  ASSERT_EQ(question.Buttons.size(), 2u);
  EXPECT_LT(question.Buttons[0].Right, question.Buttons[1].Left);  // Yes, then No
  EXPECT_EQ(question.Buttons[1].Top, question.Buttons[0].Top);

  const TMessageLayout plain = LayoutMessage("No icon", TMsgDlgType::mtCustom, TMsgDlgButtons::mbOK);
  EXPECT_TRUE(plain.Icon.Empty());
  EXPECT_LT(plain.Text.Left, question.Text.Left);

  // A long message wraps at the text width and grows downwards, not sideways.
  std::string words;
  for (int i = 0; i < 30; ++i) words += "word" + std::to_string(i) + " ";
  const TMessageLayout wrapped = LayoutMessage(words, TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
  EXPECT_GT(wrapped.Lines.size(), 2u);
  EXPECT_LE(wrapped.Text.Width(), kMessageTextWidth);
  EXPECT_GT(wrapped.Height, error.Height);
}

TEST_F(MessageDialogTest, EachTypeShowsItsIcon) {
  const gfx::TSkin& skin = gfx::SkinByName("Carbon");
  const struct {
    TMsgDlgType type;
    bool blue;  // information and confirmation blue, the warning amber
  } cases[] = {
      {TMsgDlgType::mtWarning, false}, {TMsgDlgType::mtInformation, true}, {TMsgDlgType::mtConfirmation, true}};
  for (const auto& c : cases) {
    const TMessageLayout layout = LayoutMessage("Text", c.type, TMsgDlgButtons::mbOK);
    Then([&] {
      // Below the middle of the icon, beside its glyph: the icon's own colour.
      const gfx::TColor p = Question().Pixel(layout.Icon.Left + 9, layout.Icon.Top + 21);
      EXPECT_NE(p, skin.DialogBackground);
      if (c.blue) {
        EXPECT_GT(gfx::BlueOf(p), gfx::RedOf(p) + 60);
      } else {
        EXPECT_GT(gfx::RedOf(p), gfx::BlueOf(p) + 100);
      }
      Press(kKeyReturn);
    });
    ShowMessageDialog(&owner, "Text", "", c.type, TMsgDlgButtons::mbOK);
  }
}

// ---- text broken into lines ----

TEST(WrapTextTest, LineEndsAndWidths) {
  const gfx::TFont font = MessageFont();
  const auto wrap = [&](const std::string& text, int width) { return WrapText(font, text, width); };
  EXPECT_EQ(wrap("", 100), (std::vector<std::string>{""}));
  EXPECT_EQ(wrap("a\r\nb\nc\rd", 100), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(wrap("a\r\n\r\nb", 100), (std::vector<std::string>{"a", "", "b"}));
  const int word = gfx::TextWidth(font, "word");
  // Two words fit on a line of their width and a blank; the blanks at a break go.
  EXPECT_EQ(wrap("word word   word", 2 * word + gfx::TextWidth(font, " ")),
            (std::vector<std::string>{"word word", "word"}));
  // A word wider than the line breaks between characters.
  const std::vector<std::string> broken = wrap("abcdefghijklmnop", gfx::TextWidth(font, "abcde"));
  EXPECT_EQ(broken.front(), "abcde");
  std::string joined;
  for (const std::string& line : broken) {
    EXPECT_LE(gfx::TextWidth(font, line), gfx::TextWidth(font, "abcde"));
    joined += line;
  }
  EXPECT_EQ(joined, "abcdefghijklmnop");
  // Even a width narrower than one character makes progress.
  EXPECT_EQ(wrap("ab", 1), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace vornix::editor::test
