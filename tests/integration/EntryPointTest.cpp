// Creating, identifying and closing the plug-in through its exported entry points.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "PluginFixture.h"
#include "hostkit/PluginLibrary.h"

namespace vornix::testing {
namespace {

using namespace vst;

TEST_F(PluginTest, RecordShowsTheIdentityOfVornix) {
  const AEffect& e = effect();
  EXPECT_EQ(e.magic, 0x56737450);
  EXPECT_EQ(e.numPrograms, 1);
  EXPECT_EQ(e.numParams, 72);
  EXPECT_EQ(e.numInputs, 0);
  EXPECT_EQ(e.numOutputs, 2);
  EXPECT_EQ(e.flags, 0x131);
  EXPECT_EQ(e.version, 1000);
  EXPECT_EQ(e.ioRatio, 1.0f);
  EXPECT_EQ(static_cast<std::uint32_t>(e.uniqueID), 0x6F763033u);  // 'o' in the top byte
  EXPECT_EQ(e.resvd1, 0);
  EXPECT_EQ(e.resvd2, 0);
  EXPECT_EQ(e.initialDelay, 0);
  EXPECT_EQ(e.realQualities, 0);
  EXPECT_EQ(e.offQualities, 0);
  EXPECT_EQ(e.object, nullptr);
  EXPECT_NE(e.user, nullptr);
  const char zeros[sizeof e.future] = {};
  EXPECT_EQ(std::memcmp(e.future, zeros, sizeof zeros), 0);
  // Some hosts only believe in replacing processing when the two entries differ.
  EXPECT_NE(reinterpret_cast<void*>(e.process), reinterpret_cast<void*>(e.processReplacing));
  EXPECT_NE(e.processDoubleReplacing, nullptr);
}

TEST(EntryPoint, MainCreatesTheSamePlugin) {
  hostkit::PluginHost host(VORNIX_PLUGIN_PATH);
  ASSERT_NE(host.Create(/*viaMain=*/true), nullptr);
  EXPECT_EQ(host.DispatchText(effGetEffectName), "Vornix");
  EXPECT_EQ(host.Close(), 1);
}

// A scanner's callback: 0 to every request, and a note of the record's user field at each one.
// Some scanners take a non-null user field for an instance of their own and answer 0 from then on.
struct ScannerHost {
  static inline std::vector<void*> usersSeen;
  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32, VstInt32, VstIntPtr, void*, float) {
    usersSeen.push_back(effect != nullptr ? effect->user : &usersSeen);
    return 0;
  }
};

class EntryPointForScanners : public ::testing::TestWithParam<const char*> {};

TEST_P(EntryPointForScanners, AHostThatAnswersZeroToEverythingGetsAWorkingEffect) {
  hostkit::PluginLibrary library(VORNIX_PLUGIN_PATH);
  using Entry = AEffect*(VSTCALLBACK*)(audioMasterCallback);
  const auto entry = reinterpret_cast<Entry>(library.Symbol(GetParam()));
  ASSERT_NE(entry, nullptr);
  ScannerHost::usersSeen.clear();
  AEffect* e = entry(&ScannerHost::Callback);
  ASSERT_NE(e, nullptr);
  ASSERT_FALSE(ScannerHost::usersSeen.empty()) << "the host is asked for its version";
  for (void* user : ScannerHost::usersSeen) EXPECT_EQ(user, nullptr);
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_EQ(e->numParams, 72);
  EXPECT_EQ(e->flags, 0x131);
  EXPECT_EQ(e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f), 0);
  std::array<char, 256> name{};
  e->dispatcher(e, effGetEffectName, 0, 0, name.data(), 0.0f);
  EXPECT_STREQ(name.data(), "Vornix");
  ERect* rect = nullptr;
  EXPECT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0.0f), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, 786);
  std::array<float, 64> left, right;
  left.fill(1.0f);
  right.fill(1.0f);
  float* outputs[2] = {left.data(), right.data()};
  e->processReplacing(e, nullptr, outputs, 64);  // no time from the host: silence
  EXPECT_EQ(left[0], 0.0f);
  EXPECT_EQ(right[63], 0.0f);
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

INSTANTIATE_TEST_SUITE_P(Entries, EntryPointForScanners, ::testing::Values("VSTPluginMain", "main"));

TEST(EntryPoint, WithoutAHostCallbackThereIsNoEffect) {
  using Entry = AEffect*(VSTCALLBACK*)(audioMasterCallback);
  hostkit::PluginLibrary library(VORNIX_PLUGIN_PATH);
  for (const char* name : {"VSTPluginMain", "main"}) {
    const auto entry = reinterpret_cast<Entry>(library.Symbol(name));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(nullptr), nullptr) << name;
  }
}

TEST(EntryPoint, InstancesAreIndependent) {
  hostkit::PluginHost a(VORNIX_PLUGIN_PATH), b(VORNIX_PLUGIN_PATH);
  ASSERT_NE(a.Create(), nullptr);
  ASSERT_NE(b.Create(), nullptr);
  EXPECT_NE(a.Effect(), b.Effect());
  a.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Mine"));
  EXPECT_EQ(a.DispatchText(effGetProgramName), "Mine");
  EXPECT_EQ(b.DispatchText(effGetProgramName), "Default");
  EXPECT_EQ(a.Close(), 1);
  EXPECT_EQ(b.DispatchText(effGetEffectName), "Vornix");
}

struct ProductCase {
  const char* product;
  bool objectField;
};

class ObjectFieldMode : public ::testing::TestWithParam<ProductCase> {};

// The host's text is searched for inside the two host names, not the other way round.
TEST_P(ObjectFieldMode, FollowsTheHostProduct) {
  hostkit::PluginHost host(VORNIX_PLUGIN_PATH);
  host.productString = GetParam().product;
  ASSERT_NE(host.Create(), nullptr);
  const AEffect& e = *host.Effect();
  if (GetParam().objectField) {
    EXPECT_NE(e.object, nullptr);
    EXPECT_EQ(e.user, nullptr);
  } else {
    EXPECT_EQ(e.object, nullptr);
    EXPECT_NE(e.user, nullptr);
  }
  // Either way every entry reaches the module: the dispatcher, the parameters and processing.
  host.Dispatch(effOpen);
  EXPECT_EQ(host.DispatchText(effGetVendorString), "Orvane");
  host.Effect()->setParameter(host.Effect(), 4, 0.25f);
  EXPECT_FLOAT_EQ(host.Effect()->getParameter(host.Effect(), 4), 0.25f);
  EXPECT_EQ(host.DispatchText(effGetParamDisplay, 4), "1/16");
  VstTimeInfo t{};
  t.sampleRate = 44100.0;
  t.tempo = 120.0;
  t.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
  host.timeInfo = t;
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  host.ProcessBlock(512);
  ASSERT_FALSE(host.midi.empty());
  EXPECT_EQ(host.midi[0].status, 0xB0);
  EXPECT_EQ(host.midi[0].data1, 20);
  EXPECT_EQ(host.Close(), 1);
}

INSTANTIATE_TEST_SUITE_P(Hosts, ObjectFieldMode,
                         ::testing::Values(ProductCase{"energyXT", true}, ProductCase{"XT", true},
                                           ProductCase{"Sound Forge Pro 10.0", true}, ProductCase{"energyXT2", false},
                                           ProductCase{"", false}, ProductCase{"Vornix Host", false}));

// Some hosts keep their own pointer in the user field once the entry point has returned.
TEST_F(PluginTest, KeepsWorkingWhenTheHostOverwritesTheUserField) {
  int hostOwnData = 0;
  effect().user = &hostOwnData;
  EXPECT_EQ(host->DispatchText(effGetEffectName), "Vornix");
  EXPECT_EQ(host->Dispatch(effGetVendorVersion), 1000);
  EXPECT_EQ(host->Dispatch(effGetProgram), 0);
}

TEST_F(PluginTest, ARecordThatIsNotALiveModuleAnswersZero) {
  AEffect copy;
  std::memcpy(&copy, &effect(), sizeof copy);
  EXPECT_EQ(copy.dispatcher(&copy, effGetVendorVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(copy.dispatcher(nullptr, effGetVendorVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(copy.getParameter(&copy, 0), 0.0f);
  copy.setParameter(&copy, 0, 0.0f);
  EXPECT_EQ(effect().getParameter(&effect(), 0), 1.0f);  // Seq1 Active keeps its default
}

TEST(EntryPoint, ProcessingBeforeOpenDoesNothing) {
  hostkit::PluginHost host(VORNIX_PLUGIN_PATH);
  ASSERT_NE(host.Create(), nullptr);
  host.requests.clear();
  host.ProcessBlock(512);
  EXPECT_TRUE(host.requests.empty());
  EXPECT_EQ(host.outputs[0][0], 1.0f);  // the guard does not even touch the buffers
}

TEST(EntryPoint, CloseAnswersOneAndFreesTheInstance) {
  for (int i = 0; i < 3; ++i) {
    hostkit::PluginHost host(VORNIX_PLUGIN_PATH);
    ASSERT_NE(host.Create(), nullptr);
    host.Dispatch(effOpen);
    EXPECT_EQ(host.Close(), 1);
  }
}

}  // namespace
}  // namespace vornix::testing
