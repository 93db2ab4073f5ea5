// Undo and redo of the editor's edits: every gesture is one step that takes the state back to the
// exact chunk it had and forward again; what the host changed meanwhile stays; the keys, the menu
// and the info line; the history's bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "EditorPageFixture.h"
#include "editor/logic/StepClipboard.h"
#include "plugin/EditHistory.h"

namespace vornix::testing {
namespace {

using platform::TDialogAnswer;

class UndoTest : public EditorPageTest {
 protected:
  std::vector<unsigned char> Chunk() {
    void* data = nullptr;
    const auto size = plugin->Call(vst::effGetChunk, 1, 0, &data);
    return {static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size};
  }
  void Undo() { system.KeyDown(*window, 'Z', platform::ssCtrl); }
  void Redo() { system.KeyDown(*window, 'Y', platform::ssCtrl); }
  // A stroke across the grid from step 0 to step 10.
  void Draw() {
    const auto& grid = *form->CCSequencer;
    const gfx::TPoint from = grid.ClientToForm({grid.Layout().ColumnLeft(0) + 2, 10});
    const gfx::TPoint to = grid.ClientToForm({grid.Layout().ColumnLeft(10) + 2, 200});
    system.MouseDown(*window, from.X, from.Y);
    for (int x = from.X; x <= to.X; x += 5) system.MouseMove(*window, x, from.Y + (x - from.X) / 2);
    system.MouseUp(*window, to.X, to.Y);
  }
};

// Each kind of edit, undone to the exact chunk before it and redone to the exact chunk after it.
TEST_F(UndoTest, EveryKindOfEditUndoesAndRedoesToTheExactChunks) {
  std::filesystem::create_directories(plugin->PresetsFolder());
  plugin->SetParameterByName("Seq2 Active", 1.0f);
  plugin->SetParameterByName("Seq1 Rate", 9.0f);
  plugin->Sequencer().Items(0).SetTitle("Lead");
  {
    TMemoryStreamChunk preset;
    ASSERT_TRUE(plugin->SaveStateToChunk(preset));
    preset.SaveToFile(std::filesystem::path(plugin->PresetsFolder()) / "Other.orvanep");
  }
  plugin->Sequencer().Items(0).SetTitle("Bass");
  OpenEditor(true);
  struct TCase {
    const char* name;
    std::function<void()> prepare;  // edits of their own before the one under test
    std::function<void()> edit;
  };
  const auto nothing = [] {};
  const TCase cases[] = {
      {"Draw", nothing, [&] { Draw(); }},
      {"Ramp", nothing, [&] { ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_Ramp"); }},
      {"Paste Steps",
       [&] {
         ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_Random");
         ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_Copy");
         Click(Control("btnSeq2"));
       },
       [&] { ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_Paste"); }},
      {"Init", nothing,
       [&] {
         dialogs->Answer(TDialogAnswer::Yes());
         ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_Init");
       }},
      {"Load Preset", nothing,
       [&] {
         dialogs->Answer(TDialogAnswer::Chosen("Other"));
         Click(*form->btnPresets);
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    c.prepare();
    const auto before = Chunk();
    c.edit();
    const auto after = Chunk();
    ASSERT_NE(before, after);
    EXPECT_EQ(form->UndoName(), c.name);
    Undo();
    EXPECT_EQ(Chunk(), before);
    EXPECT_EQ(Info(), std::string("Undo: ") + c.name);
    Redo();
    EXPECT_EQ(Chunk(), after);
    EXPECT_EQ(form->RedoName(), "");
  }
  EXPECT_TRUE(dialogs->Problems().empty());
}

// The host is no editor: what it automated between two edits stays when either is undone.
TEST_F(UndoTest, HostChangesBetweenEditsSurviveUndo) {
  OpenEditor();
  Draw();
  HostAutomates("Seq1 Rate", 1.0f);  // "32/1"
  Idle();
  ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_Invert");
  const float steps = plugin->Sequencer().Items(0).Steps()[20].Value();
  Undo();
  EXPECT_EQ(Parameter("Seq1 Rate"), 12.0f) << "the host's automation stays";
  EXPECT_NE(plugin->Sequencer().Items(0).Steps()[20].Value(), steps);
  EXPECT_EQ(form->btnRate->Caption(), "32/1");
  Undo();  // the stroke
  EXPECT_EQ(Parameter("Seq1 Rate"), 12.0f);
  EXPECT_EQ(form->UndoName(), "");
}

// The main menu names what undo and redo would take back, greyed when there is nothing; a wheel run
// on one control is one edit; undoing reports the parameters to the host once and marks the project
// modified.
TEST_F(UndoTest, TheMenuNamesTheStepsAndAWheelRunIsOneEdit) {
  OpenEditor();
  WithMenu(*form->btnMenu, [&] {
    EXPECT_EQ(form->ddmMenu.Items.Find("ddmMenu_Undo")->Caption, "Undo");
    EXPECT_FALSE(form->ddmMenu.Items.Find("ddmMenu_Undo")->Enabled);
    EXPECT_FALSE(form->ddmMenu.Items.Find("ddmMenu_Redo")->Enabled);
    EXPECT_TRUE(form->ddmMenu.Items.Item(2).IsSeparator());
  });
  const float start = Parameter("Seq1 Steps");
  const gfx::TPoint p = Center(*form->inputSteps);
  for (int notch = 0; notch < 8; ++notch) system.MouseWheel(*window, p.X, p.Y, 120);
  ASSERT_NE(Parameter("Seq1 Steps"), start);
  EXPECT_EQ(form->UndoName(), "Seq1 Steps");
  host.requests.clear();
  host.automated.clear();
  WithMenu(*form->btnMenu, [&] {
    EXPECT_EQ(form->ddmMenu.Items.Find("ddmMenu_Undo")->Caption, "Undo Seq1 Steps");
    Choose(form->ddmMenu, *form->ddmMenu.Items.Find("ddmMenu_Undo"));
  });
  EXPECT_EQ(Parameter("Seq1 Steps"), start) << "the whole run at once";
  EXPECT_EQ(host.automated.size(), 72u);
  EXPECT_EQ(std::count_if(host.requests.begin(), host.requests.end(),
                          [](const auto& r) { return r.first == vst::audioMasterUpdateDisplay; }),
            1);
  EXPECT_EQ(form->RedoName(), "Seq1 Steps");
  system.KeyDown(*window, 'Z', platform::ssCtrl | platform::ssShift);
  EXPECT_NE(Parameter("Seq1 Steps"), start);
  EXPECT_TRUE(system.KeysForTheHost().empty()) << "the editor's own keys stay with it";
  // Showing another sequence alone is nothing to take back.
  Click(Control("btnSeq4"));
  EXPECT_EQ(form->UndoName(), "Seq1 Steps");
}

// The history outlives the editor and stays within its bounds however much is edited.
TEST_F(UndoTest, TheHistoryOutlivesTheEditorAndKeepsItsBounds) {
  OpenEditor();
  Draw();
  CloseEditor();
  OpenEditor();
  EXPECT_EQ(form->UndoName(), "Draw");

  plugin::TEditHistory history;
  plugin::TEditableState state = plugin->CaptureEditableState();
  for (int i = 0; i < 10000; ++i) {
    plugin::TEditableState next = state;
    next.State.Sequences[static_cast<std::size_t>(i % 8)].Steps[static_cast<std::size_t>(i % 64)].Value =
        static_cast<float>(i % 128);
    next.State.Sequences[static_cast<std::size_t>(i % 8)].Title = std::string(static_cast<std::size_t>(i % 300), 't');
    plugin::TEdit edit = plugin::DiffStates(state, next);
    edit.Name = "Draw";
    history.Push(std::move(edit));
    state = std::move(next);
  }
  EXPECT_GE(history.Count(), 200u);
  EXPECT_LE(history.Count(), plugin::TEditHistory::kMaxEdits);
  EXPECT_LE(history.Bytes(), plugin::TEditHistory::kMaxBytes);
  std::size_t undone = 0;
  while (history.Undo() != nullptr) ++undone;
  EXPECT_EQ(undone, history.Count());
}

}  // namespace
}  // namespace vornix::testing
