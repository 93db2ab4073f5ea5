// A host that calls the editor from under one of the editor's modal questions (on Windows its
// timers and sent messages run inside the question's loop): an idle call there does nothing, and a
// close ends every question as cancelled, takes the editor's window away at once and lets the
// editor go once its handlers have returned. Windows in memory; the Win32 editor test does the same
// with the built DLL.
#include <vector>

#include "EditorPageFixture.h"

namespace vornix::testing {
namespace {

using platform::TWindowKind;

class ClosingUnderAQuestion : public EditorPageTest {
 protected:
  std::size_t Count(TWindowKind kind) const {
    std::size_t n = 0;
    for (const platform::TMemoryWindow* w : system.Windows()) n += w->Kind() == kind;
    return n;
  }
  // Queues what the host does from under the question titled `title` (empty: an open menu): an
  // idle call after a change (which must not refresh the page beneath the question), then the close.
  void HostClosesUnder(const std::string& title) {
    system.QueueModalAction([this, title] {
      if (title.empty()) {
        ASSERT_NE(system.ActivePopup(), nullptr) << "no menu open";
      } else {
        ASSERT_NE(system.FindDialog(title), nullptr) << "no question " << title;
      }
      const auto shown = form->inputSteps->Value();
      HostAutomates("Seq1 Steps", 1.0f);
      Idle();
      EXPECT_EQ(form->inputSteps->Value(), shown) << "the idle call refreshed the page under its question";
      CloseEditor();
      EXPECT_EQ(plugin->EditorForm(), nullptr);
      EXPECT_EQ(Count(TWindowKind::Child), 0u) << "the editor's window stays until its handlers return";
      EXPECT_EQ(plugin->DialogHost().get(), dialogs.get()) << "the module's questions still go to the editor";
    });
  }
};

TEST_F(ClosingUnderAQuestion, EndsTheQuestionAndTheEditorGoesOnceItsHandlersHaveReturned) {
  struct TCase {
    const char* how;
    std::function<void()> ask;
  };
  const std::vector<TCase> cases = {
      // A command of the main menu asks (the editor's own handler runs the question).
      {"the editor's Init command",
       [this] {
         system.QueueModalAction([this] { Choose(form->ddmMenu, *form->ddmMenu.Items.Find("ddmMenu_Init")); });
         HostClosesUnder("Init");
         Click(*form->btnMenu);
       }},
      // The module asks on the editor's thread from outside the editor: the host loads a chunk
      // that cannot be read.
      {"a chunk the host loads",
       [this] {
         HostClosesUnder("Load Preset");
         std::vector<char> broken(40, 'x');
         plugin->Call(vst::effSetChunk, 1, static_cast<vst::VstIntPtr>(broken.size()), broken.data());
       }},
      // A text question the editor asks itself.
      {"the sequence title",
       [this] {
         HostClosesUnder("Edit Sequence Title");
         const gfx::TPoint p = Center(*form->lblSeqHeading);
         system.DoubleClick(*window, p.X, p.Y);
       }},
      // A menu runs a loop of its own.
      {"the main menu",
       [this] {
         HostClosesUnder("");
         Click(*form->btnMenu);
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.how);
    OpenEditor(false);
    plugin->SetParameterByName("Seq3 Active", 1);
    const std::string title = plugin->Sequencer().Items(0).Title();
    c.ask();
    EXPECT_EQ(system.PendingModalActions(), 0u);
    EXPECT_TRUE(system.Windows().empty()) << "windows left after the handlers returned";
    EXPECT_EQ(plugin->EditorForm(), nullptr);
    EXPECT_EQ(Parameter("Seq3 Active"), 1) << "the state changed: the question was not cancelled";
    EXPECT_EQ(plugin->Sequencer().Items(0).Title(), title);
    // The host idles on and opens the editor again: it works as before, questions included.
    plugin->Call(vst::effEditIdle);
    OpenEditor(false);
    system.QueueModalAction(
        [this] { system.KeyDown(*system.FindDialog("Edit Sequence Title"), platform::kKeyEscape); });
    const gfx::TPoint p = Center(*form->lblSeqHeading);
    system.DoubleClick(*window, p.X, p.Y);
    EXPECT_EQ(system.PendingModalActions(), 0u);
    CloseEditor();
  }
}

}  // namespace
}  // namespace vornix::testing
