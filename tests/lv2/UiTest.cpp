// The editor as an LV2 UI, through the library's own entry points, as a host
// opens it inside its window on an X server (the test command runs Xvfb): the
// editor is the UI's widget at its size; what the user changes reaches the host
// as port writes, a drawing as a notification that the state changed; without
// instance access or the host's window there is no UI.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "../platform/TempEnvironment.h"
#include "Atoms.h"
#include "formats/lv2/Ports.h"
#include "plugin/ParameterTable.h"

// Last: Xlib defines macros (None, Bool, Status) that clash with names in the
// headers above.
#include "../integration/XUser.h"

namespace vornix::testing::lv2 {
namespace {

class Lv2Ui : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) {
      if (std::getenv("VORNIX_HEADLESS") != nullptr) GTEST_SKIP() << "deliberately without an X server";
      FAIL() << "no DISPLAY: run under an X server (the test command uses "
                "xvfb-run)";
    }
    library = dlopen(VORNIX_LV2_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using PluginEntry = const LV2_Descriptor* (*)(uint32_t);
    using UiEntry = const LV2UI_Descriptor* (*)(uint32_t);
    plugin = reinterpret_cast<PluginEntry>(dlsym(library, "lv2_descriptor"))(0);
    ui = reinterpret_cast<UiEntry>(dlsym(library, "lv2ui_descriptor"))(0);
    ASSERT_NE(plugin, nullptr);
    ASSERT_NE(ui, nullptr);
    MakeInstance();
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    frame = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 786, 421, 0, 0, 0);
    XMapWindow(display, frame);
    XSync(display, False);
  }
  void MakeInstance() {
    if (instance != nullptr) {
      plugin->deactivate(instance);
      plugin->cleanup(instance);
    }
    instance = plugin->instantiate(plugin, 48000.0, VORNIX_LV2_BUNDLE, pluginFeatures.data());
    ASSERT_NE(instance, nullptr);
    plugin->connect_port(instance, formats::lv2::kEventsIn, in.Sequence());
    plugin->connect_port(instance, formats::lv2::kEventsOut, out.Sequence());
    for (int i = 0; i < plugin::kParameterCount; ++i) {
      ports[static_cast<std::size_t>(i)] = plugin::ParameterDefault(plugin::SequenceOf(i), plugin::SettingOf(i));
      plugin->connect_port(instance, formats::lv2::kFirstControl + static_cast<std::uint32_t>(i),
                           &ports[static_cast<std::size_t>(i)]);
    }
    plugin->activate(instance);
  }
  void TearDown() override {
    if (instance != nullptr) {
      plugin->deactivate(instance);
      plugin->cleanup(instance);
    }
    if (display != nullptr) {
      XDestroyWindow(display, frame);
      XCloseDisplay(display);
    }
    if (library != nullptr) dlclose(library);
  }

  // The UI with the features a host offers: instance access, its window, touch,
  // resize and idle.
  LV2UI_Handle OpenUi(bool instanceAccess = true, bool parent = true) {
    std::vector<const LV2_Feature*> features = {&mapFeature, &idleFeature, &touchFeature, &resizeFeature};
    accessFeature.data = instance;
    parentFeature.data = reinterpret_cast<void*>(static_cast<std::uintptr_t>(frame));
    if (instanceAccess) features.push_back(&accessFeature);
    if (parent) features.push_back(&parentFeature);
    features.push_back(nullptr);
    widget = nullptr;
    return ui->instantiate(ui, formats::lv2::kPluginUri, VORNIX_LV2_BUNDLE, &Lv2Ui::Write, this, &widget,
                           features.data());
  }
  int Idle(LV2UI_Handle handle) {
    const auto* idle = static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
    return idle->idle(handle);
  }
  // The host's side (idle calls every few milliseconds) until the user's
  // actions are done.
  void IdleWhile(LV2UI_Handle handle, const std::function<void()>& user) {
    std::atomic<bool> done{false};
    std::thread acting([&] {
      user();
      done = true;
    });
    while (!done) {
      Idle(handle);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    acting.join();
    for (int i = 0; i < 5; ++i) Idle(handle);
  }
  std::vector<TOut> Run() {
    out.Prepare();
    plugin->run(instance, 256);
    in.Clear();
    return out.Events(map);
  }
  std::vector<Window> ChildrenOf(Window w) {
    Window root = 0, parentWindow = 0, *children = nullptr;
    unsigned count = 0;
    XSync(display, False);
    XQueryTree(display, w, &root, &parentWindow, &children, &count);
    std::vector<Window> list(children, children + count);
    if (children != nullptr) XFree(children);
    return list;
  }

  static void Write(LV2UI_Controller self, uint32_t port, uint32_t size, uint32_t protocol, const void* value) {
    auto& test = *static_cast<Lv2Ui*>(self);
    ASSERT_EQ(protocol, 0u);
    ASSERT_EQ(size, sizeof(float));
    test.writes.emplace_back(port, *static_cast<const float*>(value));
  }

  platform::test::TTempHome home;
  TUridMap map;
  LV2_Feature mapFeature{LV2_URID__map, map.MapFeature()};
  std::vector<const LV2_Feature*> pluginFeatures{&mapFeature, nullptr};
  LV2UI_Resize resize{this, [](LV2UI_Feature_Handle self, int width, int height) {
                        static_cast<Lv2Ui*>(self)->size = {width, height};
                        return 0;
                      }};
  LV2UI_Touch touch{this, [](LV2UI_Feature_Handle, uint32_t, bool) {}};
  LV2_Feature idleFeature{LV2_UI__idleInterface, nullptr};
  LV2_Feature touchFeature{LV2_UI__touch, &touch};
  LV2_Feature resizeFeature{LV2_UI__resize, &resize};
  LV2_Feature accessFeature{LV2_INSTANCE_ACCESS_URI, nullptr};
  LV2_Feature parentFeature{LV2_UI__parent, nullptr};

  void* library = nullptr;
  const LV2_Descriptor* plugin = nullptr;
  const LV2UI_Descriptor* ui = nullptr;
  LV2_Handle instance = nullptr;
  TInput in{map};
  TOutput out;
  std::array<float, plugin::kParameterCount> ports{};
  Display* display = nullptr;
  Window frame = 0;
  LV2UI_Widget widget = nullptr;
  std::pair<int, int> size{0, 0};
  std::vector<std::pair<std::uint32_t, float>> writes;
};

TEST_F(Lv2Ui, TheEditorIsTheWidgetInsideTheHostsWindowAtItsSize) {
  LV2UI_Handle handle = OpenUi();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(Idle(handle), 0);
  const auto children = ChildrenOf(frame);
  ASSERT_EQ(children.size(), 1u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(widget), children[0]);
  XWindowAttributes a{};
  XGetWindowAttributes(display, children[0], &a);
  EXPECT_EQ(a.width, 786);
  EXPECT_EQ(a.height, 421);
  EXPECT_EQ(a.map_state, IsViewable);
  EXPECT_EQ(size, (std::pair<int, int>{786, 421}));
  EXPECT_EQ(OpenUi(), nullptr) << "one editor per instance";
  ui->cleanup(handle);
  EXPECT_TRUE(ChildrenOf(frame).empty());
  // Opened again after it closed.
  handle = OpenUi();
  ASSERT_NE(handle, nullptr);
  ui->cleanup(handle);
}

TEST_F(Lv2Ui, NoUiWithoutInstanceAccessOrTheHostsWindow) {
  EXPECT_EQ(OpenUi(false, true), nullptr);
  EXPECT_EQ(OpenUi(true, false), nullptr);
  EXPECT_TRUE(ChildrenOf(frame).empty());
}

// A click on sequence 1's Active switch turns it off: the host hears it as a
// write of its port, and sequence 1 falls silent.
TEST_F(Lv2Ui, AControlTheUserChangesIsWrittenToItsPort) {
  // Whether sequence 1 (controller 20) plays at the start of bar 1.
  const auto playsSequence1 = [this] {
    in.Position(0, TReport{});
    bool plays = false;
    for (const auto& e : Run()) plays = plays || (e.Midi.size() == 3 && e.Midi[0] == 0xB0 && e.Midi[1] == 20);
    return plays;
  };
  ASSERT_TRUE(playsSequence1());
  LV2UI_Handle handle = OpenUi();
  ASSERT_NE(handle, nullptr);
  TUser user;
  IdleWhile(handle, [&] { user.Click(52, 65); });
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.back(), (std::pair<std::uint32_t, float>{formats::lv2::kFirstControl + 0, 0.0f}));
  ports[0] = writes.back().second;  // the host takes the write
  EXPECT_FALSE(playsSequence1());
  ui->cleanup(handle);
}

// The module starts from the user's init preset, the host's ports from the defaults: the first
// idle call writes the settings that differ, once.
TEST_F(Lv2Ui, AnInitPresetsSettingsAreWrittenAtTheFirstIdleCall) {
  const auto presets = home.Home() / "Documents" / "Orvane" / "Vornix" / "Presets";
  std::filesystem::create_directories(presets);
  std::filesystem::copy_file(std::filesystem::path(VORNIX_PRESETS_DIR) / "Demo Motion.orvanep",
                             presets / "init.orvanep");
  MakeInstance();
  LV2UI_Handle handle = OpenUi();
  ASSERT_NE(handle, nullptr);
  EXPECT_TRUE(writes.empty()) << "nothing before the UI is made";
  Idle(handle);
  ASSERT_FALSE(writes.empty());
  for (const auto& [port, value] : writes) {
    const int parameter = static_cast<int>(port - formats::lv2::kFirstControl);
    EXPECT_NE(value, plugin::ParameterDefault(plugin::SequenceOf(parameter), plugin::SettingOf(parameter))) << port;
  }
  const auto first = writes.size();
  Idle(handle);
  EXPECT_EQ(writes.size(), first);
  ui->cleanup(handle);
}

// A stroke over the step grid changes steps, which no parameter shows: once it
// ends, the next block tells the host that the state changed, once.
TEST_F(Lv2Ui, ADrawingIsNotifiedAsAChangeOfTheState) {
  LV2UI_Handle handle = OpenUi();
  ASSERT_NE(handle, nullptr);
  Run();
  TUser user;
  IdleWhile(handle, [&] {
    const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(40)); };
    user.Press(50, 84);
    pause();
    user.MoveTo(72, 200);
    pause();
    user.Release();
    pause();
  });
  const auto events = Run();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].Object, LV2_STATE__StateChanged);
  for (const auto& e : Run()) EXPECT_TRUE(e.Object.empty());
  ui->cleanup(handle);
}

}  // namespace
}  // namespace vornix::testing::lv2
