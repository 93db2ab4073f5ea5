// Parameter mapping, texts, parsing and the get/set paths of the host binding.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "TestModule.h"

namespace vornix::testing {
namespace {

using namespace vst;
using host::TCurveType;

class ParameterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingHost::current = &recorder;
    module = std::make_unique<TestModule>();
    module->AfterConstruction();
    module->SetAudioMaster(&RecordingHost::Callback);
  }
  host::TCustomVstParameterProperty& steps() { return *module->ParameterProperties()[0]; }

  RecordingHost recorder;
  std::unique_ptr<TestModule> module;
};

TEST_F(ParameterTest, LinearMappingClampsHostValues) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float host, value;
  };
  for (Case c : {Case{0.5f, 32.5f}, Case{0.0f, 1.0f}, Case{1.0f, 64.0f}, Case{1.3f, 64.0f}, Case{-0.2f, 1.0f},
                 Case{nan, 1.0f}}) {
    EXPECT_EQ(steps().DenormalizeValue(c.host), c.value) << c.host;
  }
  EXPECT_EQ(steps().NormalizeValue(32.5f), 0.5f);
  EXPECT_EQ(steps().NormalizeValue(100.0f), 1.0f);
  EXPECT_EQ(steps().NormalizeValue(-5.0f), 0.0f);
}

TEST_F(ParameterTest, SmoothingFollowsTheHostValueGradually) {
  auto& p = module->AddParameter();
  p.SetSmoothingFactor(0.5f);
  EXPECT_EQ(p.DenormalizeValue(1.0f), 0.5f);
  EXPECT_EQ(p.DenormalizeValue(1.0f), 0.75f);
  EXPECT_EQ(p.DenormalizeValue(1.0f), 0.875f);
  for (float bad : {1.0f, 1.5f, -0.1f}) {
    p.SetSmoothingFactor(bad);
    EXPECT_EQ(p.SmoothingFactor(), 0.0f) << bad;
  }
}

TEST_F(ParameterTest, EveryCurveMapsBackToTheSameHostValue) {
  struct Case {
    TCurveType curve;
    float min, max, factor;
  };
  for (Case c : {Case{TCurveType::ctLogarithmic, 0, 1, 10}, Case{TCurveType::ctExponential, 0, 1, 10},
                 Case{TCurveType::ctFrequencyScale, 20, 20000, 1}, Case{TCurveType::ctFrequencyScale, 0, 100, 1},
                 Case{TCurveType::ctExponential, -5, 5, 3}}) {
    auto& p = module->AddParameter();
    p.Min = c.min;
    p.Max = c.max;
    p.SetCurve(c.curve);
    p.SetCurveFactor(c.factor);
    for (float x = 0.0f; x <= 1.0f; x += 0.125f) {
      const float v = p.DenormalizeValue(x);
      EXPECT_GE(v, std::min(c.min, c.max));
      EXPECT_LE(v, std::max(c.min, c.max));
      EXPECT_NEAR(p.NormalizeValue(v), x, 1e-5) << static_cast<int>(c.curve) << " at " << x;
    }
  }
}

TEST_F(ParameterTest, LogarithmicCurveTakesItsFactorFromTheRange) {
  auto& p = module->AddParameter();
  p.Min = 20;
  p.Max = 20000;
  p.SetCurve(TCurveType::ctLogarithmic);
  EXPECT_EQ(p.CurveFactor(), 1000.0f);
  EXPECT_EQ(p.InverseCurveFactor(), 0.001f);
}

TEST_F(ParameterTest, DisplayNameIsCutAndCarriesAFollowingShortLabel) {
  auto& p = module->AddParameter();
  EXPECT_EQ(p.DisplayName(), "Parameter 2");
  const std::string longName(70, 'x');
  p.SetDisplayName(longName);
  EXPECT_EQ(p.DisplayName(), std::string(64, 'x'));
  EXPECT_EQ(p.ShortLabel(), "xxxxxxx");
  p.SetShortLabel("Own label");
  EXPECT_EQ(p.ShortLabel(), "Own lab");
  p.SetDisplayName("Renamed");
  EXPECT_EQ(p.ShortLabel(), "Own lab");
}

TEST_F(ParameterTest, CategoriesCountTheirParameters) {
  auto& a = module->AddParameter();
  auto& b = module->AddParameter();
  a.SetCategory("Oscillator with a very long name");
  b.SetCategory("Oscillator with a very long name");
  ASSERT_EQ(module->ParameterCategories().size(), 1u);
  EXPECT_EQ(a.Category(), "Oscillator with a very ");
  EXPECT_EQ(a.Category().size(), 23u);
  EXPECT_EQ(module->ParameterCategories()[0]->ParametersInCategory(), 2);
  EXPECT_EQ(b.CategoryIndex(), 1);
  b.SetCategory("");
  EXPECT_EQ(module->ParameterCategories()[0]->ParametersInCategory(), 1);
  EXPECT_EQ(b.CategoryIndex(), 0);
  b.SetCategoryIndex(1);
  EXPECT_EQ(b.Category(), a.Category());
  b.SetCategoryIndex(7);
  EXPECT_EQ(b.Category(), "");
  module->DeleteCategory(0);
  EXPECT_EQ(a.Category(), "");
  EXPECT_TRUE(module->ParameterCategories().empty());
}

TEST(FormatParameterValue, GeneralAndFixedDigits) {
  struct Case {
    int digits;
    double value;
    const char* text;
  };
  for (Case c : {Case{-1, 32.5, "32.5"}, Case{-1, 1.0, "1"}, Case{-1, -2.5, "-2.5"}, Case{-1, 0.0, "0"},
                 Case{-1, static_cast<double>(0.1f), "0.100000001490116"}, Case{-1, 1e20, "1E20"},
                 Case{-1, 0.00001, "0.00001"}, Case{-1, 0.000001, "1E-6"}, Case{-1, 0.0001, "0.0001"},
                 Case{-1, 123456789012345.0, "123456789012345"}, Case{4, 32.5, "32.5"}, Case{4, 1234.5678, "1235"},
                 Case{2, 3.14159, "3.1"}, Case{4, 12345.678, "1.235E4"}, Case{0, 2.5, "2"}}) {
    EXPECT_EQ(host::FormatParameterValue(c.digits, c.value), c.text) << c.digits << " " << c.value;
  }
}

TEST(ParseParameterString, NumbersUnitsAndMultipliers) {
  struct Case {
    const char* text;
    const char* units;
    float expected;
  };
  for (Case c :
       {Case{"2.5 k", "", 2500.0f}, Case{"10 G", "", 10485760.0f}, Case{"5m", "", 0.005f}, Case{"3 K", "", 3072.0f},
        Case{"7c", "", 0.07f}, Case{" 42 ", "", 42.0f}, Case{"-3", "", -3.0f}, Case{"+4", "", 4.0f},
        Case{"2E3", "", 2000.0f}, Case{"1.5dB", "dB", 1.5f}, Case{"4 \xC2\xB5", "", 4e-6f}, Case{"abc", "", 99.0f},
        Case{"1,5", "", 99.0f}, Case{"", "", 99.0f}, Case{"2E", "", 99.0f}}) {
    float v = 99.0f;
    host::ParseParameterString(c.text, c.units, v);
    EXPECT_FLOAT_EQ(v, c.expected) << c.text;
  }
}

TEST_F(ParameterTest, OnlyTheModulesOwnChangesAreReportedToTheHost) {
  module->SetParameter(0, 32.5f);
  ASSERT_EQ(recorder.automated.size(), 1u);
  EXPECT_EQ(recorder.automated[0].first, 0);
  EXPECT_EQ(recorder.automated[0].second, 0.5f);
  EXPECT_EQ(module->stored, 32.5f);
  recorder.automated.clear();
  steps().CanBeAutomated = false;
  module->SetParameter(0, 10.0f);
  EXPECT_EQ(module->stored, 10.0f);
  EXPECT_TRUE(recorder.automated.empty());
  module->SetParameter(5, 1.0f);  // outside the items: ignored
  EXPECT_TRUE(recorder.automated.empty());
}

TEST_F(ParameterTest, ErrorsCarryTheirMessages) {
  try {
    module->ApplyParameter(5, 1.0f);
    FAIL();
  } catch (const host::EVstError& e) {
    EXPECT_STREQ(e.what(), "Index out of bounds (5)");
  }
  try {
    module->SetParameterByName("Nope", 1.0f);
    FAIL();
  } catch (const host::EVstError& e) {
    EXPECT_STREQ(e.what(), "Unknown parameter name: Nope");
  }
  module->SetParameterByName("Steps", 3.0f);
  EXPECT_EQ(module->stored, 3.0f);
  TestModule empty;
  try {
    empty.SetParameterByName("Steps", 1.0f);
    FAIL();
  } catch (const host::EVstError& e) {
    EXPECT_STREQ(e.what(), "No parameter available!");
  }
}

TEST_F(ParameterTest, TextsForTheHost) {
  module->stored = 32.5f;
  EXPECT_EQ(module->GetParameterDisplay(0), "32.5");
  EXPECT_EQ(module->GetParameterName(0), "Steps");
  EXPECT_EQ(module->GetParameterName(3), "undefined");
  EXPECT_EQ(module->GetParameterDisplay(-1), "undefined");
  EXPECT_EQ(module->GetParameterLabel(9), "undefined");
  steps().Units = "st";
  EXPECT_EQ(module->GetParameterLabel(0), "st");
  steps().OnCustomParameterLabel = [](host::TVSTModuleWithPrograms&, int, std::string& t) { t += "eps"; };
  EXPECT_EQ(module->GetParameterLabel(0), "steps");
  steps().OnCustomParameterDisplay = [](host::TVSTModuleWithPrograms&, int, std::string&) {
    throw std::runtime_error("boom");
  };
  EXPECT_EQ(module->GetParameterDisplay(0), "error");
  steps().OnCustomParameterDisplay = [](host::TVSTModuleWithPrograms&, int, std::string& t) {
    t = "a long value text";
  };
  module->TruncateStrings = true;
  EXPECT_EQ(module->GetParameterDisplay(0), "a long v");
}

TEST_F(ParameterTest, StringToParameterAppliesAndReports) {
  char text[] = "12 steps";
  module->stored = 5.0f;
  EXPECT_EQ(module->Call(effString2Parameter, 0, 0, text), 0);  // no parser: the value is applied again
  EXPECT_EQ(module->stored, 5.0f);
  EXPECT_EQ(recorder.automated.size(), 1u);
  steps().UseDefaultString2ParameterHandler = true;
  EXPECT_EQ(module->Call(effString2Parameter, 0, 0, text), 1);
  EXPECT_EQ(module->stored, 12.0f);
  EXPECT_EQ(module->Call(effString2Parameter, 0, 0, nullptr), 0);
  EXPECT_EQ(module->Call(effString2Parameter, 4, 0, text), 0);
  steps().OnStringToParameter = [](host::TVSTModuleWithPrograms&, int, const std::string& t, float& v) {
    EXPECT_EQ(t, " 7 ");
    v += 1.0f;
  };
  char spaced[] = " 7 ";
  EXPECT_EQ(module->Call(effString2Parameter, 0, 0, spaced), 1);
  EXPECT_EQ(module->stored, 8.0f);
}

TEST_F(ParameterTest, PropertiesRecordOnlyWhenAskedFor) {
  VstParameterProperties r{};
  EXPECT_EQ(module->Call(effGetParameterProperties, 0, 0, &r), 0);
  using F = host::TVstParameterPropertiesFlag;
  steps().ReportVST2Properties = true;
  steps().SetShortLabel("St");
  steps().Flags = {F::ppfParameterUsesIntegerMinMax, F::ppfParameterUsesFloatStep, F::ppfParameterSupportsDisplayIndex};
  steps().MinInteger = 1;
  steps().MaxInteger = 64;
  steps().StepFloat = 6.3f;
  ASSERT_EQ(module->Call(effGetParameterProperties, 0, 0, &r), 1);
  EXPECT_STREQ(r.label, "Steps");
  EXPECT_STREQ(r.shortLabel, "St");
  EXPECT_EQ(r.flags, kVstParameterUsesIntegerMinMax | kVstParameterUsesFloatStep | kVstParameterSupportsDisplayIndex);
  EXPECT_EQ(r.minInteger, 1);
  EXPECT_EQ(r.maxInteger, 64);
  EXPECT_EQ(r.stepInteger, 1);
  EXPECT_EQ(r.largeStepInteger, 2);
  EXPECT_NEAR(r.stepFloat, 0.1f, 1e-6);
  EXPECT_EQ(r.displayIndex, 0);
  EXPECT_EQ(module->Call(effGetParameterProperties, 0, 0, nullptr), 0);
}

// A module without chunks keeps values itself, per program.
class ValueModule : public host::TVSTModule {
 public:
  ValueModule() {
    DeclareValues([this] {
      AddProgram();
      AddProgram();
      AddParameter();
      AddParameter();
    });
  }
  using host::TVSTModule::Dispatcher;
};

TEST(ProgramValues, ProgramChangeAppliesTheNewProgramsValues) {
  RecordingHost recorder;
  RecordingHost::current = &recorder;
  ValueModule m;
  m.AfterConstruction();
  m.SetAudioMaster(&RecordingHost::Callback);
  std::vector<std::pair<int, float>> changes;
  int before = 0, after = 0;
  m.OnParameterChange = [&](host::TVSTModuleWithPrograms&, int i, float& v) { changes.emplace_back(i, v); };
  m.OnBeforeProgramChange = [&](host::TBasicVSTModule&) { ++before; };
  m.OnAfterProgramChange = [&](host::TBasicVSTModule&) { ++after; };
  m.SetParameter(1, 0.25f);
  EXPECT_EQ(m.GetParameter(1), 0.25f);
  m.Programs()[1]->SetParameter(0, 0.75f);
  changes.clear();
  m.Dispatcher(effSetProgram, 0, 0, nullptr, 0.0f);  // already current
  EXPECT_EQ(before, 0);
  m.Dispatcher(effSetProgram, 0, 1, nullptr, 0.0f);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  EXPECT_EQ(m.CurrentProgram(), 1);
  EXPECT_EQ(changes, (std::vector<std::pair<int, float>>{{0, 0.75f}, {1, 0.0f}}));
  EXPECT_EQ(recorder.Count(audioMasterUpdateDisplay), 1);
  m.Dispatcher(effSetProgram, 0, 2, nullptr, 0.0f);  // no such program
  EXPECT_EQ(m.CurrentProgram(), 1);
}

TEST(ProgramValues, HostEntriesReachTheStoreOfARegisteredModule) {
  RecordingHost recorder;
  RecordingHost::current = &recorder;
  AEffect* e = host::CreateEffect([] { return std::make_unique<ValueModule>(); }, &RecordingHost::Callback);
  ASSERT_NE(e, nullptr);
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  int failed = -1;
  auto& m = *static_cast<ValueModule*>(host::TBasicVSTModule::FromEffect(e));
  m.OnParameterSizeFailed = [&](host::TVSTModuleWithPrograms&, int i, float) { failed = i; };
  e->setParameter(e, 1, 0.4f);
  EXPECT_FLOAT_EQ(e->getParameter(e, 1), 0.4f);
  EXPECT_EQ(recorder.Count(audioMasterAutomate), 0);  // the host's own change is not echoed
  e->setParameter(e, 9, 0.4f);
  EXPECT_EQ(failed, 9);
  EXPECT_EQ(e->getParameter(e, 9), 0.0f);
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
}  // namespace vornix::testing
