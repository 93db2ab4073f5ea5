// A host with the built plug-in created and opened, in a home folder of its own so that no
// user's init preset or configuration changes what it starts from.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "../platform/TempEnvironment.h"
#include "hostkit/PluginHost.h"

namespace vornix::testing {

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<hostkit::PluginHost>(VORNIX_PLUGIN_PATH);
    ASSERT_NE(host->Create(), nullptr);
    host->Dispatch(vst::effOpen);
  }
  vst::AEffect& effect() { return *host->Effect(); }

  platform::test::TTempFolder home;
  platform::test::TScopedUserFolders user{home.Path(), home.Path() / "config"};
  std::unique_ptr<hostkit::PluginHost> host;
};

}  // namespace vornix::testing
