// The built plug-in's editor against what a host may let happen to it: the X server it shows on goes
// away, or the host unloads the library with the editor open and never closes it. Each test runs
// an X server of its own (Xvfb), so none needs DISPLAY.
//
// A connection of the process that finds its server gone calls Xlib's process-wide I/O error
// handler, whose default exits; the tests keep that default, as most hosts do, and hold no
// connection of their own when the server goes (the host's frame stays, RetainedFrame.h).
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "../platform/TempEnvironment.h"
#include "../platform/XvfbServer.h"
#include "host/VstAbi.h"
#include "hostkit/PluginHost.h"

#include "../platform/RetainedFrame.h"  // last

namespace vornix::testing {
namespace {

using namespace vst;
using platform::test::MakeRetainedFrame;
using platform::test::TScopedEnv;
using platform::test::TScopedUserFolders;
using platform::test::TTempFolder;
using platform::test::TXvfbServer;

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
  const ::Window frame = MakeRetainedFrame(server.Name(), rect->right, rect->bottom);
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

VstIntPtr VSTCALLBACK Answer(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

// What the child process reports as its exit status.
enum TOutcome : int { kLeft = 0, kLoadedBefore = 2, kNoFrame = 3, kNoEditor = 4, kStillLoaded = 5 };

const char* Describe(int outcome) {
  switch (outcome) {
    case kLeft: return "left the editor open as planned";
    case kLoadedBefore: return "the library was loaded before the test loaded it: nothing would unload";
    case kNoFrame: return "no frame window";
    case kNoEditor: return "effEditOpen failed";
    case kStillLoaded: return "dlclose left the library loaded: nothing was unloaded";
    default: return "an unexpected exit status (a sanitizer's report?)";
  }
}

// Loads the plug-in as a host does, opens the editor in a frame and leaves it open, without
// effEditClose or effClose: then `unload` unloads the library; otherwise the process ends with
// it loaded, which runs the library's exit code as well.
int OpenTheEditorAndLeave(const std::string& display, bool unload) {
  if (void* loaded = dlopen(VORNIX_PLUGIN_PATH, RTLD_NOW | RTLD_NOLOAD)) {
    dlclose(loaded);
    return kLoadedBefore;
  }
  void* library = dlopen(VORNIX_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return kNoEditor;
  using TMain = AEffect*(VSTCALLBACK*)(audioMasterCallback);
  AEffect* effect = reinterpret_cast<TMain>(dlsym(library, "VSTPluginMain"))(&Answer);
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  ERect* rect = nullptr;
  effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f);
  const ::Window frame = MakeRetainedFrame(display, rect->right, rect->bottom);
  if (frame == 0) return kNoFrame;
  if (effect->dispatcher(effect, effEditOpen, 0, 0, Handle(frame), 0.0f) != 1) return kNoEditor;
  for (int i = 0; i < 3; ++i) effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
  if (!unload) return kLeft;
  dlclose(library);
  if (void* still = dlopen(VORNIX_PLUGIN_PATH, RTLD_NOW | RTLD_NOLOAD)) {
    dlclose(still);
    return kStillLoaded;
  }
  return kLeft;
}

// In a child process, so that a crash is this test's failure.
TEST_F(EditorLifetime, UnloadingWithTheEditorOpenAndNeverClosedIsSafe) {
  for (const bool unload : {true, false}) {
    SCOPED_TRACE(unload ? "dlclose with the editor open" : "the process ends with the editor open");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) std::exit(OpenTheEditorAndLeave(server.Name(), unload));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "the child died of " << strsignal(WTERMSIG(status));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kLeft) << Describe(WEXITSTATUS(status));
  }
}

}  // namespace
}  // namespace vornix::testing
