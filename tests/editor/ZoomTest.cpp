// The editor's zoom as a host sees it: the size effEditGetRect answers, the resize asked of the host
// when the user zooms (and a host that refuses), the host's scale hint, the choice kept for new
// editors, and input landing where it is drawn.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "EditorPageFixture.h"
#include "host/VendorSpecific.h"
#include "platform/OrvRegistry.h"

namespace vornix::testing {
namespace {

using platform::TDialogAnswer;
using Size = std::pair<int, int>;

constexpr vst::VstInt32 kScaleHint = vst::kVendorScaleIndex;
constexpr vst::VstIntPtr kScaleHintValue = vst::kVendorScaleValue;

class ZoomTest : public EditorPageTest {
 protected:
  Size Rect() {
    vst::ERect* rect = nullptr;
    EXPECT_EQ(plugin->Call(vst::effEditGetRect, 0, 0, &rect), 1);
    return rect != nullptr ? Size{rect->right - rect->left, rect->bottom - rect->top} : Size{};
  }
  Size WindowSize() const { return {window->Width(), window->Height()}; }
  int StoredZoom() const { return platform::OpenConfigKey("Vornix")->ReadInteger("Config", "Zoom", -1); }

  // A point of a control on the editor window's own pixels.
  gfx::TPoint OnWindow(const TControl& control, gfx::TPoint p) const {
    const gfx::TPoint screen = control.ClientToScreen(p);
    return {screen.X - window->ScreenBounds().Left, screen.Y - window->ScreenBounds().Top};
  }
  // Chooses a zoom from the main menu, clicking on the window's own pixels at any zoom.
  void ChooseZoom(int percent) {
    TMenuItem* item = form->ddmMenu.Items.Find("ddmMain_Zoom_" + std::to_string(percent));
    ASSERT_NE(item, nullptr);
    system.QueueModalAction([&] { Choose(form->ddmMenu, *item); });
    const gfx::TPoint p = OnWindow(*form->btnMenu, {13, 13});
    system.Click(*window, p.X, p.Y);
    EXPECT_EQ(system.PendingModalActions(), 0u);
  }
  // Opens the main menu with a click on the window's own pixels and runs `inside` while it shows.
  void WithMainMenu(const std::function<void()>& inside) {
    system.QueueModalAction([&] {
      inside();
      if (platform::TMemoryWindow* popup = system.ActivePopup()) system.KeyDown(*popup, platform::kKeyEscape);
    });
    const gfx::TPoint p = OnWindow(*form->btnMenu, {13, 13});
    system.Click(*window, p.X, p.Y);
    EXPECT_EQ(system.PendingModalActions(), 0u);
  }
  // The screen's size of the main menu's popup.
  Size MainMenuSize() {
    Size size;
    WithMainMenu([&] {
      if (platform::TMemoryWindow* popup = system.ActivePopup()) size = {popup->Width(), popup->Height()};
    });
    return size;
  }
  // What the window shows is what the editor paints now: nothing left over from another size.
  void ExpectTheWindowShowsAFreshPicture() {
    gfx::TBitmap fresh;
    form->PaintTo(fresh);
    ASSERT_EQ(fresh.Width(), window->Width());
    ASSERT_EQ(fresh.Height(), window->Height());
    int differ = 0;
    for (int y = 0; y < fresh.Height(); ++y) {
      for (int x = 0; x < fresh.Width(); ++x) differ += fresh.Pixel(x, y) != window->Pixel(x, y);
    }
    EXPECT_EQ(differ, 0);
  }
};

TEST_F(ZoomTest, TheRectAnswersTheScaledSizeBeforeAndAfterTheEditorOpens) {
  const std::pair<int, Size> cases[] = {
      {100, {786, 421}}, {125, {983, 526}}, {150, {1179, 632}}, {175, {1376, 737}}, {200, {1572, 842}}};
  for (const auto& [zoom, size] : cases) {
    SCOPED_TRACE(zoom);
    plugin->SetZoomChoice(zoom);
    EXPECT_EQ(Rect(), size);
    OpenEditor();
    EXPECT_EQ(WindowSize(), size);
    EXPECT_EQ(Rect(), size);
    EXPECT_EQ(form->Scale().Percent(), zoom);
    CloseEditor();
  }
  EXPECT_TRUE(host.resizes.empty()) << "the host opened each editor at the size it was told";
}

TEST_F(ZoomTest, ChoosingAZoomAsksTheHostToResizeAndThenResizesTheEditor) {
  OpenEditor();
  EXPECT_EQ(WindowSize(), Size(786, 421));
  // The host hears the new size at once, while the editor still shows at the old one.
  Size seenByHost, windowMeanwhile;
  host.duringResize = [&] {
    seenByHost = Rect();
    windowMeanwhile = WindowSize();
  };
  ChooseZoom(200);
  EXPECT_EQ(host.resizes, (std::vector<Size>{{1572, 842}}));
  EXPECT_EQ(seenByHost, Size(1572, 842));
  EXPECT_EQ(windowMeanwhile, Size(786, 421));
  EXPECT_EQ(WindowSize(), Size(1572, 842));
  EXPECT_EQ(Rect(), Size(1572, 842));
  EXPECT_EQ(form->Scale().Percent(), 200);
  ExpectTheWindowShowsAFreshPicture();
  EXPECT_EQ(plugin->ZoomChoice(), 200);
  EXPECT_EQ(StoredZoom(), 200);
  EXPECT_TRUE(dialogs->Questions().empty());

  // The menu checks the zoom; choosing it again asks nothing.
  WithMainMenu([&] {
    for (const auto& item : form->ddmMenu.Items.Find("ddmMain_Zoom")->Items())
      EXPECT_EQ(item->Checked, item->Tag == 200) << item->Caption;
  });
  host.duringResize = nullptr;
  ChooseZoom(200);
  EXPECT_EQ(host.resizes.size(), 1u);

  // Back to 100 %, and a new instance opens at the choice.
  ChooseZoom(100);
  EXPECT_EQ(host.resizes.back(), Size(786, 421));
  EXPECT_EQ(WindowSize(), Size(786, 421));
  ExpectTheWindowShowsAFreshPicture();
  ChooseZoom(175);
  CloseEditor();
  plugin.reset();
  plugin = std::make_unique<TestPlugin>();
  plugin->SetDialogHost(dialogs);
  plugin->AfterConstruction();
  plugin->SetAudioMaster(&Host::Callback);
  plugin->Call(vst::effOpen);
  EXPECT_EQ(Rect(), Size(1376, 737));
  OpenEditor();
  EXPECT_EQ(WindowSize(), Size(1376, 737));
}

TEST_F(ZoomTest, AHostThatRefusesKeepsTheOldSizeWithNothingCutAndTheNextEditorOpensAtTheChoice) {
  OpenEditor();
  host.takesResize = false;
  dialogs->Answer(TDialogAnswer::Ok());
  ChooseZoom(150);
  EXPECT_EQ(host.resizes, (std::vector<Size>{{1179, 632}}));
  EXPECT_EQ(WindowSize(), Size(786, 421));
  EXPECT_EQ(Rect(), Size(786, 421));
  EXPECT_EQ(form->Scale().Percent(), 100);
  ExpectTheWindowShowsAFreshPicture();
  ASSERT_EQ(dialogs->Questions().size(), 1u);
  EXPECT_EQ(dialogs->Questions()[0].Caption, "Zoom");
  EXPECT_EQ(dialogs->Questions()[0].Type, platform::TMsgDlgType::mtInformation);
  EXPECT_EQ(plugin->ZoomChoice(), 150);
  EXPECT_EQ(StoredZoom(), 150);

  CloseEditor();
  EXPECT_EQ(Rect(), Size(1179, 632));
  OpenEditor();
  EXPECT_EQ(WindowSize(), Size(1179, 632));
}

TEST_F(ZoomTest, TheHostsScaleHintSetsTheZoomUntilTheUserChoosesOne) {
  EXPECT_EQ(plugin->Call(vst::effVendorSpecific, kScaleHint, kScaleHintValue, nullptr, 1.5f), 1);
  EXPECT_EQ(plugin->Call(vst::effVendorSpecific, kScaleHint, kScaleHintValue, nullptr, -1.0f), 0);
  EXPECT_EQ(Rect(), Size(1179, 632));
  OpenEditor();
  EXPECT_EQ(form->Scale().Percent(), 150);
  EXPECT_TRUE(host.resizes.empty());
  // A new hint while the editor is open (moved to another screen): it follows at the next idle
  // call, rounded to the nearest step.
  plugin->Call(vst::effVendorSpecific, kScaleHint, kScaleHintValue, nullptr, 1.9f);
  Idle();
  EXPECT_EQ(host.resizes, (std::vector<Size>{{1572, 842}}));
  EXPECT_EQ(form->Scale().Percent(), 200);
  EXPECT_EQ(StoredZoom(), -1) << "a hint is no choice of the user's";
  // The user's choice wins over later hints.
  ChooseZoom(125);
  plugin->Call(vst::effVendorSpecific, kScaleHint, kScaleHintValue, nullptr, 1.0f);
  Idle();
  EXPECT_EQ(form->Scale().Percent(), 125);
  EXPECT_EQ(host.resizes.back(), Size(983, 526));
}

// Popups take the editor's zoom.
TEST_F(ZoomTest, MenusOpenAtTheEditorsZoom) {
  OpenEditor();
  const Size normal = MainMenuSize();
  ChooseZoom(200);
  const Size zoomed = MainMenuSize();
  EXPECT_NEAR(zoomed.first, 2 * normal.first, 2);
  EXPECT_EQ(zoomed.second, 2 * normal.second);
}

class ZoomedInput : public ZoomTest, public ::testing::WithParamInterface<int> {
 protected:
  std::vector<float> Steps() const {
    std::vector<float> values;
    for (int i = 0; i < 8; ++i) values.push_back(plugin->Sequencer().Items(0).Steps()[i].Value());
    return values;
  }
  // A press on step 3 near its top, then a fine (Shift) drag over to step 6, 40 pixels of the
  // design further down; on the window's pixels at the zoom. Answers the steps it leaves.
  std::vector<float> Stroke(int zoom) {
    plugin->SetZoomChoice(zoom);
    OpenEditor();
    const auto& grid = *form->CCSequencer;
    const auto point = [&](int step, int y) { return OnWindow(grid, {grid.Layout().ColumnLeft(step) + 1, y}); };
    const gfx::TPoint press = point(3, 60), fine = point(3, 61), to = point(6, 100);
    system.MouseDown(*window, press.X, press.Y);
    system.MouseMove(*window, fine.X, fine.Y, platform::ssLeft | platform::ssShift);
    system.MouseMove(*window, to.X, to.Y, platform::ssLeft | platform::ssShift);
    system.MouseUp(*window, to.X, to.Y);
    const std::vector<float> values = Steps();
    CloseEditor();
    return values;
  }
};

// Where a press lands, which step it hits and how far a drag moves a value are the same at every
// zoom: the design's pixels, however many screen pixels each one takes.
TEST_P(ZoomedInput, APressAndAFineDragDoWhatTheyDoAt100Percent) {
  const std::vector<float> before = Steps();
  const std::vector<float> normal = Stroke(100);
  plugin->ResetState();
  ASSERT_EQ(Steps(), before);
  const std::vector<float> zoomed = Stroke(GetParam());
  EXPECT_EQ(zoomed, normal);
  for (int i : {3, 4, 5, 6}) EXPECT_NE(normal[i], before[i]) << "step " << i;
  for (int i : {0, 1, 2, 7}) EXPECT_EQ(normal[i], before[i]) << "step " << i;
}

INSTANTIATE_TEST_SUITE_P(Zoom, ZoomedInput, ::testing::Values(125, 150, 175, 200),
                         [](const auto& info) { return std::to_string(info.param); });

}  // namespace
}  // namespace vornix::testing
