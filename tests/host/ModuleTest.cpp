// The module class chain without a plug-in file: creation order, identity packing, editor hosting
// and the answers that depend on assigned events.
#include <gtest/gtest.h>

#include <memory>

#include "TestModule.h"

namespace vornix::testing {

RecordingHost* RecordingHost::current = nullptr;

namespace {

using namespace vst;
using host::TEffFlag;

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingHost::current = &recorder;
    module = std::make_unique<TestModule>();
  }
  void Create() {
    module->AfterConstruction();
    module->SetAudioMaster(&RecordingHost::Callback);
  }
  RecordingHost recorder;
  std::unique_ptr<TestModule> module;
};

TEST_F(ModuleTest, RecordDefaultsBeforeDeclaredValues) {
  const AEffect& e = module->Effect();
  EXPECT_EQ(e.magic, kEffectMagic);
  EXPECT_EQ(e.flags, effFlagsCanReplacing);
  EXPECT_EQ(e.numInputs, 2);
  EXPECT_EQ(e.numOutputs, 2);
  EXPECT_EQ(e.ioRatio, 1.0f);
  EXPECT_EQ(e.uniqueID, 0x4E6F4566);
  EXPECT_EQ(e.numPrograms, 0);
  EXPECT_EQ(e.numParams, 0);
  // Both pointer fields stay null until the module is complete.
  EXPECT_EQ(e.user, nullptr);
  EXPECT_EQ(e.object, nullptr);
  EXPECT_EQ(module->CurrentProgram(), -1);
  EXPECT_EQ(module->Version, "1.0");
  EXPECT_EQ(module->SampleRate(), 44100.0f);
  EXPECT_EQ(module->BlockSize(), 1024);
}

TEST_F(ModuleTest, DeclaredValuesInClassOrderThenInitializeThenCreate) {
  module->AddDeclaredValues([this] { module->log.push_back("derived values"); });
  Create();
  EXPECT_EQ(module->log, (std::vector<std::string>{"values", "initialize", "derived values", "initialize", "create"}));
  EXPECT_EQ(module->CurrentProgram(), 0);
  EXPECT_EQ(module->Effect().numPrograms, 1);
  EXPECT_EQ(module->Effect().numParams, 1);
}

TEST_F(ModuleTest, VersionPacking) {
  module->SetVersionMajor(2);
  module->SetVersionMinor(1);
  module->SetVersionRelease(3);
  EXPECT_EQ(module->Effect().version, 2103);
  module->SetVersionRelease(100);
  EXPECT_EQ(module->Effect().version, 0x20164);
}

TEST_F(ModuleTest, UniqueIdPacksFirstCharacterHighest) {
  module->SetUniqueID("ov03");
  EXPECT_EQ(static_cast<std::uint32_t>(module->Effect().uniqueID), 0x6F763033u);
  EXPECT_EQ(module->UniqueID(), "ov03");
  module->SetUniqueID("abc");
  EXPECT_EQ(static_cast<std::uint32_t>(module->Effect().uniqueID), 0x61626300u);
}

// A host that answers 0 to the version is an old one, not an error; without a callback there is
// no host at all.
TEST_F(ModuleTest, AnyHostVersionIsAcceptedButNoCallbackIsRefused) {
  recorder.version = 0;
  module->AfterConstruction();
  EXPECT_NO_THROW(module->SetAudioMaster(&RecordingHost::Callback));
  try {
    module->SetAudioMaster(nullptr);
    FAIL() << "expected an error";
  } catch (const host::EVstError& e) {
    EXPECT_STREQ(e.what(), "AudioMaster Error");
  }
}

TEST_F(ModuleTest, CompletionNamesTheModuleInTheUserFieldOrForTwoHostsInTheObjectField) {
  const void* self = static_cast<host::TBasicVSTModule*>(module.get());
  Create();
  EXPECT_EQ(module->Effect().user, nullptr);
  module->Complete();
  EXPECT_EQ(module->Effect().user, self);
  EXPECT_EQ(module->Effect().object, nullptr);

  auto other = std::make_unique<TestModule>();
  recorder.product = "energyXT";
  other->AfterConstruction();
  other->SetAudioMaster(&RecordingHost::Callback);
  EXPECT_EQ(other->Effect().object, nullptr);
  other->Complete();
  EXPECT_EQ(other->Effect().object, static_cast<const void*>(static_cast<host::TBasicVSTModule*>(other.get())));
  EXPECT_EQ(other->Effect().user, nullptr);
}

TEST_F(ModuleTest, EditorRectFollowsTheForm) {
  Create();
  ERect* rect = nullptr;
  // Without a size handler a module proposes 64 x 32 but has no form to show.
  EXPECT_EQ(module->Call(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect->right, 64);
  EXPECT_EQ(rect->bottom, 32);

  module->EditorFormClass = [](host::TCustomVSTModule&) { return std::make_unique<FakeEditor>(300, 200); };
  int parent = 0;
  EXPECT_EQ(module->Call(effEditOpen, 0, 0, &parent), 1);
  ASSERT_NE(module->EditorForm(), nullptr);
  EXPECT_EQ(static_cast<FakeEditor*>(module->EditorForm())->parentWindow, &parent);
  EXPECT_EQ(module->Call(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right, 300);
  EXPECT_EQ(rect->bottom, 200);
  EXPECT_EQ(module->Call(effEditClose), 0);
  EXPECT_EQ(module->EditorForm(), nullptr);
}

TEST_F(ModuleTest, EditorOpensOnlyWithEditorFlagAndParent) {
  Create();
  module->EditorFormClass = [](host::TCustomVSTModule&) { return std::make_unique<FakeEditor>(10, 10); };
  EXPECT_EQ(module->Call(effEditOpen, 0, 0, nullptr), 0);
  module->SetFlags({TEffFlag::effFlagsCanReplacing});
  int parent = 0;
  EXPECT_EQ(module->Call(effEditOpen, 0, 0, &parent), 0);
  EXPECT_EQ(module->EditorForm(), nullptr);
}

TEST_F(ModuleTest, EditIdleRefreshesOnceAfterAChange) {
  Create();
  int idles = 0;
  module->OnEditIdle = [&](host::TBasicVSTModule&) { ++idles; };
  module->EditorFormClass = [](host::TCustomVSTModule&) { return std::make_unique<FakeEditor>(10, 10); };
  int parent = 0;
  module->Call(effEditOpen, 0, 0, &parent);
  module->EditorNeedsUpdate = false;
  module->SetParameter(0, 5.0f);
  module->Call(effEditIdle);
  module->Call(effEditIdle);
  EXPECT_EQ(idles, 1);
}

TEST_F(ModuleTest, EditCloseMayKeepTheForm) {
  Create();
  module->EditorFormClass = [](host::TCustomVSTModule&) { return std::make_unique<FakeEditor>(10, 10); };
  module->OnEditClose = [](host::TCustomVSTModule&, bool& destroy) { destroy = false; };
  int parent = 0;
  module->Call(effEditOpen, 0, 0, &parent);
  module->Call(effEditClose);
  EXPECT_NE(module->EditorForm(), nullptr);
}

TEST_F(ModuleTest, EventAnswersDependOnAssignment) {
  Create();
  int fired = 0;
  const VstInt32 ops[] = {effOfflineNotify, effOfflinePrepare, effOfflineRun, effSetBypass,       effSetEditKnobMode,
                          effStartProcess,  effStopProcess,    effSetPanLaw,  effBeginSetProgram, effEndSetProgram};
  for (VstInt32 op : ops) EXPECT_EQ(module->Call(op), 0) << op;
  auto count = [&](auto&&...) {
    ++fired;
    return true;
  };
  module->OnOfflineNotify = count;
  module->OnOfflinePrepare = count;
  module->OnOfflineRun = count;
  module->OnSoftBypass = [&](host::TCustomVSTModule&, bool) { ++fired; };
  module->OnEditorKnobMode = [&](host::TCustomVSTModule&, VstIntPtr) { ++fired; };
  module->OnStartProcess = [&](host::TBasicVSTModule&) { ++fired; };
  module->OnStopProcess = [&](host::TBasicVSTModule&) { ++fired; };
  module->OnSetPanLaw = [&](host::TCustomVSTModule&, VstInt32, float) { ++fired; };
  module->OnBeginSetProgram = [&](host::TBasicVSTModule&) { ++fired; };
  module->OnEndSetProgram = [&](host::TBasicVSTModule&) { ++fired; };
  for (VstInt32 op : ops) EXPECT_EQ(module->Call(op), 1) << op;
  EXPECT_EQ(fired, 10);
}

TEST_F(ModuleTest, BeginLoadProgramFiresEvenWhenRefused) {
  Create();
  int fired = 0;
  module->OnBeginLoadProgram = [&](host::TVSTModuleWithPrograms&, const VstPatchChunkInfo&) { ++fired; };
  VstPatchChunkInfo info{};
  info.pluginUniqueID = 0x12345678;
  EXPECT_EQ(module->Call(effBeginLoadProgram, 0, 0, &info), -1);
  EXPECT_EQ(fired, 1);
}

TEST_F(ModuleTest, DispatcherEventFollowsEveryCall) {
  Create();
  std::vector<VstInt32> seen;
  module->OnDispatcher = [&](host::TCustomVSTModule&, VstInt32 op) { seen.push_back(op); };
  module->Call(effGetVstVersion);
  module->Call(200);
  EXPECT_EQ(seen, (std::vector<VstInt32>{effGetVstVersion, 200}));
}

TEST_F(ModuleTest, VuIsScaledAndRounded) {
  Create();
  EXPECT_EQ(module->Call(effGetVu), 0);
  module->OnGetVU = [](host::TCustomVSTModule&, float& vu) { vu = 0.5f; };
  EXPECT_EQ(module->Call(effGetVu), 16384);  // 16383.5 rounds to even
}

TEST_F(ModuleTest, CockosCanDoAnswersItsMagicWhenPresent) {
  Create();
  char text[] = "hasCockosExtensions";
  EXPECT_EQ(module->Call(effCanDo, 0, 0, text), 0);
  module->CanDos.Include(host::TVstCanDo::vcdCockosExtension);
  EXPECT_EQ(static_cast<std::uint32_t>(module->Call(effCanDo, 0, 0, text)), 0xBEEF0000u);
}

}  // namespace
}  // namespace vornix::testing
