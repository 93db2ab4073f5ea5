// A host with the built plug-in created and opened.
#pragma once

#include <gtest/gtest.h>

#include <memory>

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

  std::unique_ptr<hostkit::PluginHost> host;
};

}  // namespace vornix::testing
