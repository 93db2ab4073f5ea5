// The built plug-in's editor against what a host may let happen to it: the X server it shows on goes
// away, or the host unloads the library with the editor open and never closes it. Each test runs
// an X server of its own (Xvfb), so none needs DISPLAY.
//
// A connection of the process that finds its server gone calls Xlib's process-wide I/O error
// handler, whose default exits; the tests keep that default, as most hosts do. The host's frame is
// therefore made on a connection that is closed again at once (the window stays, RetainPermanent),
// and the test holds no connection of its own when the server goes.
#include <gtest/gtest.h>

#include <string>

#include "../platform/TempEnvironment.h"
#include "../platform/XvfbServer.h"
#include "host/VstAbi.h"
#include "hostkit/PluginHost.h"

// Last: Xlib defines macros (None, Bool, Status) that clash with names in the headers above.
#include <X11/Xlib.h>

namespace vornix::testing {
namespace {

using namespace vst;
using platform::test::TScopedEnv;
using platform::test::TScopedUserFolders;
using platform::test::TTempFolder;
using platform::test::TXvfbServer;

::Window MakeFrame(const std::string& display, int width, int height) {
  Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return 0;
  const ::Window frame = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, static_cast<unsigned>(width),
                                             static_cast<unsigned>(height), 0, 0, 0);
  XMapWindow(d, frame);
  XSetCloseDownMode(d, RetainPermanent);
  XCloseDisplay(d);
  return frame;
}

void* Handle(::Window w) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(w)); }

// A home folder of the test's own and an X server, the one DISPLAY names.
class EditorLifetime : public ::testing::Test {
 protected:
  TTempFolder home;
  TScopedUserFolders user{home.Path(), home.Path() / "config"};
  TXvfbServer server;
  TScopedEnv display{"DISPLAY", server.Name()};
};

TEST_F(EditorLifetime, LosingTheXServerEndsTheEditorAndNeverTheHost) {
  hostkit::PluginHost host(VORNIX_PLUGIN_PATH);
  ASSERT_NE(host.Create(), nullptr);
  host.Dispatch(effOpen);
  ERect* rect = nullptr;
  ASSERT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  const ::Window frame = MakeFrame(server.Name(), rect->right, rect->bottom);
  ASSERT_NE(frame, 0u);
  ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0, Handle(frame)), 1);
  for (int i = 0; i < 3; ++i) host.Dispatch(effEditIdle);

  server.Stop();
  for (int i = 0; i < 5; ++i) host.Dispatch(effEditIdle);
  // The module goes on; the editor, which would show the change, shows nothing.
  host.Effect()->setParameter(host.Effect(), 18, 1.0f);
  host.Dispatch(effEditIdle);
  EXPECT_EQ(host.DispatchText(effGetParamDisplay, 18), "On");
  host.Dispatch(effEditClose);
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, Handle(frame)), 0) << "no server, no editor";
  EXPECT_EQ(host.Close(), 1);
}

}  // namespace
}  // namespace vornix::testing
