#include "render/Screenshot.h"

#include <functional>
#include <memory>
#include <stdexcept>

#include "editor/forms/EmbeddedEditor.h"
#include "gfx/Canvas.h"
#include "gfx/Png.h"
#include "host/VSTModule.h"
#include "platform/MemoryWindowSystem.h"
#include "plugin/Plugin.h"
#include "render/FileNames.h"
#include "render/PictureModule.h"

namespace vornix::render {

using namespace vst;

namespace {

using platform::TMemoryWindow;
using platform::TMouseButton;
using platform::TWindowKind;

constexpr gfx::TColor kDesktop = gfx::Rgb(70, 70, 76);
constexpr int kTitleBar = 24;

// The area a window takes on the screen; a dialog's includes the title bar a window manager adds.
gfx::TRect Frame(const TMemoryWindow& w) {
  const gfx::TRect b = w.ScreenBounds();
  return w.Kind() == TWindowKind::Dialog ? gfx::TRect{b.Left - 1, b.Top - kTitleBar, b.Right + 1, b.Bottom + 1} : b;
}

class TEditorScene {
 public:
  TEditorScene(const std::vector<unsigned char>& chunk, int style, int zoom)
      : host_([this, style, zoom](audioMasterCallback master) {
          return host::CreateEffect(
              [this, style, zoom] {
                auto module = std::make_unique<TPictureModule>(style, zoom);
                editor::InstallEmbeddedEditor(*module, &system_);
                module_ = module.get();
                return module;
              },
              master);
        }) {
    if (host_.Create() == nullptr) throw std::runtime_error("the editor's module did not start");
    host_.Dispatch(effOpen);
    if (host_.SetChunk(chunk) == 0) throw std::runtime_error("the editor's module did not take the plug-in's state");
    int parent = 0;  // windows in memory only keep the host window's handle
    if (host_.Dispatch(effEditOpen, 0, 0, &parent) == 0) throw std::runtime_error("the editor did not open");
    form_ = static_cast<editor::TEmbeddedEditor*>(module_->EditorForm())->Form();
    window_ = system_.Find(*form_->Window());
    system_.AdvanceTime(200);  // the first timer turns
  }
  ~TEditorScene() { host_.Dispatch(effEditClose); }
  TEditorScene(const TEditorScene&) = delete;
  TEditorScene& operator=(const TEditorScene&) = delete;

  gfx::TBitmap Draw(const Options& o) {
    if (o.playingStep > 0) form_->SetGridStepNo(o.playingStep - 1);
    form_->Update();
    switch (o.show) {
      case EditorView::Editor: return Photograph();
      case EditorView::MainMenu: return WithMenuOpen(*form_->btnMenu);
      case EditorView::SkinMenu:
        return WithMenuOpen(*form_->btnMenu, [this] { Hover(form_->ddmMenu, "ddmMain_Skin"); });
      case EditorView::SequenceMenu: return WithMenuOpen(*form_->btnSeqMenu);
      case EditorView::RateMenu: return WithMenuOpen(*form_->btnRate);
      case EditorView::TypeMenu: return WithMenuOpen(*form_->btnRateType);
      case EditorView::OrderMenu: return WithMenuOpen(*form_->btnOrder);
      case EditorView::TriggerMenu: return WithMenuOpen(*form_->btnTrigger);
      case EditorView::CCMenu: return WithMenuOpen(*form_->inputCC, {}, TMouseButton::Right);
      case EditorView::About:
        return WithDialogOpen([this] { Click(*form_->btnMenu); }, [this] { Click(form_->ddmMenu, "ddmMenu_About"); });
      case EditorView::Title: return WithDialogOpen([this] { form_->EditSequenceTitle(); });
    }
    throw std::logic_error("unknown view");
  }

 private:
  // Every shown window where it lies on the screen, dialogs under a plain title bar.
  gfx::TBitmap Photograph() {
    system_.AdvanceTime(1);  // pending paints
    const auto windows = system_.Windows();
    gfx::TRect area = window_->ScreenBounds();
    for (const TMemoryWindow* w : windows) {
      if (w->Visible()) area = area.Union(Frame(*w));
    }
    gfx::TBitmap shot(area.Width(), area.Height(), kDesktop);
    gfx::TCanvas canvas(shot);
    for (const TMemoryWindow* w : windows) {
      if (!w->Visible()) continue;
      const gfx::TRect b = w->ScreenBounds().Offset(-area.Left, -area.Top);
      if (w->Kind() == TWindowKind::Dialog) {
        const gfx::TRect frame = Frame(*w).Offset(-area.Left, -area.Top);
        canvas.FillRect(frame, gfx::Rgb(48, 52, 58));
        canvas.DrawText({b.Left + 8, frame.Top, b.Right - 8, b.Top}, w->Title(),
                        gfx::TFont::SegoeUI(12, true, gfx::Rgb(235, 235, 235)));
      }
      canvas.DrawBitmap(b.Left, b.Top, w->Screen());
    }
    return shot;
  }

  // A left click in the middle; a right click near the lower left corner, so that the context menu,
  // which opens at the pointer, leaves the control's value in sight.
  void Click(const editor::TControl& control, TMouseButton button = TMouseButton::Left) {
    const gfx::TPoint inside = button == TMouseButton::Right ? gfx::TPoint{3, control.Height() - 3}
                                                             : gfx::TPoint{control.Width() / 2, control.Height() / 2};
    const gfx::TPoint p = control.ClientToScreen(inside);
    const gfx::TRect window = window_->ScreenBounds();
    system_.Click(*window_, p.X - window.Left, p.Y - window.Top, button);
  }

  // The middle of a menu item that shows, in the popup window that shows it.
  std::pair<TMemoryWindow*, gfx::TPoint> ItemPoint(editor::TPopupMenu& menu, const std::string& name) {
    const editor::TMenuItem* item = menu.Items.Find(name);
    const auto rect = item != nullptr ? menu.ItemScreenRect(*item) : std::nullopt;
    if (!rect) throw std::logic_error("no menu item " + name + " shows");
    const gfx::TPoint p{(rect->Left + rect->Right) / 2, (rect->Top + rect->Bottom) / 2};
    const auto windows = system_.Windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      TMemoryWindow* w = *it;
      if (w->Visible() && w->Kind() == TWindowKind::Popup && w->ScreenBounds().Contains(p))
        return {w, {p.X - w->ScreenBounds().Left, p.Y - w->ScreenBounds().Top}};
    }
    throw std::logic_error("no popup shows menu item " + name);
  }
  void Hover(editor::TPopupMenu& menu, const std::string& name) {
    const auto [popup, p] = ItemPoint(menu, name);
    system_.MouseMove(*popup, p.X, p.Y);
  }
  void Click(editor::TPopupMenu& menu, const std::string& name) {
    const auto [popup, p] = ItemPoint(menu, name);
    system_.Click(*popup, p.X, p.Y);
  }

  // Opens a menu with a press on `opener`; photographs it once `inside` has run, then closes it.
  gfx::TBitmap WithMenuOpen(const editor::TControl& opener, const std::function<void()>& inside = {},
                            TMouseButton button = TMouseButton::Left) {
    gfx::TBitmap shot;
    system_.QueueModalAction([&] {
      if (inside) inside();
      shot = Photograph();
      for (int i = 0; i < 3 && system_.ActivePopup() != nullptr; ++i)
        system_.KeyDown(*system_.ActivePopup(), platform::kKeyEscape);
    });
    Click(opener, button);
    if (shot.Empty() || system_.PendingModalActions() != 0) throw std::runtime_error("the menu did not open");
    return shot;
  }

  // Runs `open`, which shows a dialog, perhaps through a menu whose turn `inMenu` takes;
  // photographs the dialog on top, then cancels it.
  gfx::TBitmap WithDialogOpen(const std::function<void()>& open, const std::function<void()>& inMenu = {}) {
    gfx::TBitmap shot;
    if (inMenu) system_.QueueModalAction(inMenu);
    system_.QueueModalAction([&] {
      shot = Photograph();
      if (TMemoryWindow* dialog = TopDialog()) system_.KeyDown(*dialog, platform::kKeyEscape);
    });
    open();
    if (shot.Empty() || system_.PendingModalActions() != 0) throw std::runtime_error("the dialog did not open");
    return shot;
  }
  TMemoryWindow* TopDialog() const {
    const auto windows = system_.Windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      if ((*it)->Visible() && (*it)->Kind() == TWindowKind::Dialog) return *it;
    }
    return nullptr;
  }

  // Goes after everything that lives on its windows.
  platform::TMemoryWindowSystem system_;
  plugin::TVSTPlugin* module_ = nullptr;
  hostkit::PluginHost host_;
  editor::TfrmEditor* form_ = nullptr;
  TMemoryWindow* window_ = nullptr;
};

}  // namespace

gfx::TBitmap DrawEditor(const std::vector<unsigned char>& chunk, const Options& options) {
  TEditorScene scene(chunk, options.skin, options.zoom);
  return scene.Draw(options);
}

void WriteScreenshot(hostkit::PluginHost& loaded, const Options& options) {
  const auto chunk = loaded.GetChunk();
  if (chunk.empty()) throw std::runtime_error("the plug-in gave no chunk to draw its editor from");
  const gfx::TBitmap picture = DrawEditor(chunk, options);
  try {
    gfx::SavePng(picture, FileName(options.screenshotFile));
  } catch (const gfx::TPngError&) {
    throw std::runtime_error("cannot write " + options.screenshotFile);
  }
}

}  // namespace vornix::render
