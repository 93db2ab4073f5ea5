#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "TempEnvironment.h"
#include "platform/DialogHost.h"

namespace vornix::platform {
namespace {

using test::TTempFolder;
using test::WriteText;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;

TEST(ScriptedDialogHost, AnswersInOrderAndRecordsEveryQuestion) {
  TScriptedDialogHost host({TDialogAnswer::No(), TDialogAnswer::Ok(), TDialogAnswer::Typed(" a/b:c "),
                            TDialogAnswer::Cancel(), TDialogAnswer::Entered(7)});
  EXPECT_EQ(host.ShowMessageDialog("Overwrite existing preset?", "Preset Exists", TMsgDlgType::mtConfirmation,
                                   TMsgDlgButtons::mbYesNo),
            TModalResult::mrNo);
  EXPECT_EQ(host.ShowMessageDialog("Error saving preset to file.\r\n\r\n\"x\"", "Save Preset", TMsgDlgType::mtWarning,
                                   TMsgDlgButtons::mbOK),
            TModalResult::mrOk);
  EXPECT_EQ(host.InputText("Save Preset", "Name", "Old", true, 50), " a/b:c ");
  EXPECT_EQ(host.InputText("Edit Title", "Title", "Seq 1", true, 50), std::nullopt);
  EXPECT_EQ(host.InputNumber("MIDI Set CC: Seq1 Steps", "CC# (0-127)", 1, 0, 127, 0), 7.0);

  ASSERT_THAT(host.Questions(), SizeIs(5));
  const auto& q = host.Questions();
  EXPECT_EQ(q[0].Kind, TDialogKind::Message);
  EXPECT_EQ(q[0].Text, "Overwrite existing preset?");
  EXPECT_EQ(q[0].Caption, "Preset Exists");
  EXPECT_EQ(q[0].Type, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(q[0].Buttons, TMsgDlgButtons::mbYesNo);
  EXPECT_EQ(q[1].Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(q[2].Kind, TDialogKind::Text);
  EXPECT_EQ(q[2].Prompt, "Name");
  EXPECT_EQ(q[2].Text, "Old");
  EXPECT_TRUE(q[2].AllowEmpty);
  EXPECT_EQ(q[2].MaxLength, 50);
  EXPECT_EQ(q[4].Kind, TDialogKind::Number);
  EXPECT_EQ(q[4].Caption, "MIDI Set CC: Seq1 Steps");
  EXPECT_EQ(q[4].Value, 1.0);
  EXPECT_EQ(q[4].Minimum, 0.0);
  EXPECT_EQ(q[4].Maximum, 127.0);
  EXPECT_EQ(q[4].Decimals, 0);
  EXPECT_THAT(host.Problems(), IsEmpty());
  EXPECT_EQ(host.PendingAnswers(), 0u);
}

TEST(ScriptedDialogHost, ANumberOutOfRangeShowsTheDialogAgain) {
  TScriptedDialogHost host;
  host.Answer(TDialogAnswer::Entered(200)).Answer(TDialogAnswer::Cancel());
  EXPECT_EQ(host.InputNumber("MIDI Set CC: Seq1 CC#", "CC# (0-127)", 1, 0, 127, 0), std::nullopt);
  ASSERT_THAT(host.Questions(), SizeIs(2));
  EXPECT_EQ(host.Questions()[1].Value, 200.0);

  host.Answer(TDialogAnswer::Entered(-1)).Answer(TDialogAnswer::Entered(127));
  EXPECT_EQ(host.InputNumber("c", "p", 1, 0, 127, 0), 127.0);
  // Without a range anything goes.
  host.Answer(TDialogAnswer::Entered(-1000));
  EXPECT_EQ(host.InputNumber("Add Random", "Amount", 0, 0, 0, 0), -1000.0);
  EXPECT_THAT(host.Questions(), SizeIs(5));
  EXPECT_THAT(host.Problems(), IsEmpty());
}

TEST(ScriptedDialogHost, ThePresetBrowserOffersTheFolderAndTheUserMayDeleteMeanwhile) {
  TTempFolder temp;
  const std::string folder = temp.Path().string() + "/";
  for (const char* name : {"b.orvanep", "A.orvanep", "c.txt"}) WriteText(temp.Path() / name, "x");
  TScriptedDialogHost host({TDialogAnswer::Cancel(), TDialogAnswer::Chosen("b")});
  host.OnQuestion = [&](const TDialogQuestion& question) {
    if (question.Kind == TDialogKind::Preset) std::filesystem::remove(temp.Path() / "A.orvanep");
  };
  EXPECT_EQ(host.ChoosePreset(folder, "A"), std::nullopt);
  EXPECT_EQ(host.ChoosePreset(folder, ""), "b");
  ASSERT_THAT(host.Questions(), SizeIs(2));
  EXPECT_EQ(host.Questions()[0].Folder, folder);
  EXPECT_EQ(host.Questions()[0].Text, "A");
  EXPECT_THAT(host.Questions()[0].Choices, ElementsAre("A", "b"));
  EXPECT_THAT(host.Questions()[1].Choices, ElementsAre("b"));
  EXPECT_FALSE(std::filesystem::exists(temp.Path() / "A.orvanep"));
  EXPECT_THAT(host.Problems(), IsEmpty());
}

TEST(ScriptedDialogHost, AnswersNoDialogCouldGiveAreProblemsAndFallBackToNoOrCancel) {
  TTempFolder temp;
  WriteText(temp.Path() / "a.orvanep", "x");
  TScriptedDialogHost host({TDialogAnswer::Yes(),            // an OK box has no Yes
                            TDialogAnswer::Ok(),             // a Yes/No box has no OK
                            TDialogAnswer::Typed("12345"),   // longer than 4
                            TDialogAnswer::Typed("  "),      // OK is disabled for blank text
                            TDialogAnswer::Typed("7"),       // a number dialog takes numbers
                            TDialogAnswer::Chosen("zzz")});  // not in the folder
  EXPECT_EQ(host.ShowMessageDialog("m", "c", TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK), TModalResult::mrOk);
  EXPECT_EQ(host.ShowMessageDialog("q", "c", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo), TModalResult::mrNo);
  EXPECT_EQ(host.InputText("c", "p", "", true, 4), std::nullopt);
  EXPECT_EQ(host.InputText("c", "p", "", false, 50), std::nullopt);
  EXPECT_EQ(host.InputNumber("c", "p", 1, 0, 127, 0), std::nullopt);
  EXPECT_EQ(host.ChoosePreset(temp.Path().string() + "/", ""), std::nullopt);
  EXPECT_EQ(host.ShowMessageDialog("unexpected", "Init", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo),
            TModalResult::mrNo);
  EXPECT_THAT(host.Problems(), SizeIs(7));
  EXPECT_THAT(host.Problems().back(), HasSubstr("Init"));
}

TEST(HeadlessDialogHost, WritesMessagesAnswersNoOrCancelAndPassesMessagesOn) {
  std::ostringstream out;
  std::vector<std::string> passed;
  THeadlessDialogHost host("Vornix", out, [&](const std::string& text) { passed.push_back(text); });
  EXPECT_EQ(host.ShowMessageDialog("Error loading preset.\r\n\r\n\"Stream read error\"", "Load Preset",
                                   TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK),
            TModalResult::mrOk);
  EXPECT_EQ(host.ShowMessageDialog("Initialize preset?", "", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo),
            TModalResult::mrNo);
  EXPECT_EQ(out.str(),
            "Load Preset: Error loading preset.\n\n\"Stream read error\"\n"
            "Vornix: Initialize preset? [No]\n");
  EXPECT_EQ(passed,
            (std::vector<std::string>{"Error loading preset.\r\n\r\n\"Stream read error\"", "Initialize preset?"}));
  EXPECT_EQ(host.InputText("Save Preset", "Name", "x", true, 50), std::nullopt);
  EXPECT_EQ(host.InputNumber("c", "p", 1, 0, 127, 0), std::nullopt);
  EXPECT_EQ(host.ChoosePreset("/nonexistent/", "x"), std::nullopt);
}

}  // namespace
}  // namespace vornix::platform
