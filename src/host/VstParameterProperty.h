// One host parameter: its range, mapping curve, names, steps and events.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/VstAbi.h"
#include "host/VstTypes.h"

namespace vornix::host {

class TVSTModuleWithPrograms;

enum class TCurveType { ctLinear, ctLogarithmic, ctExponential, ctFrequencyScale };

enum class TVstParameterPropertiesFlag : int {
  ppfParameterIsSwitch,
  ppfParameterUsesIntegerMinMax,
  ppfParameterUsesFloatStep,
  ppfParameterUsesIntStep,
  ppfParameterSupportsDisplayIndex,
  ppfParameterSupportsDisplayCategory,
  ppfParameterCanRamp,
};
using TVstParameterPropertiesFlags = EnumSet<TVstParameterPropertiesFlag, 8>;

using TParameterChangeEvent = std::function<void(TVSTModuleWithPrograms& sender, int index, float& value)>;
using TCustomParameterTextEvent = std::function<void(TVSTModuleWithPrograms& sender, int index, std::string& text)>;
using TString2ParameterEvent =
    std::function<void(TVSTModuleWithPrograms& sender, int index, const std::string& text, float& value)>;

class TCustomVstParameterProperty {
 public:
  // creationNumber is the item count at creation (1-based); it names the parameter by default.
  TCustomVstParameterProperty(TVSTModuleWithPrograms& module, int creationNumber);

  const std::string& DisplayName() const { return FDisplayName; }
  void SetDisplayName(const std::string& name);
  const std::string& ShortLabel() const { return FShortLabel; }
  void SetShortLabel(const std::string& label);
  std::string Units;
  float Min = 0.0f;
  float Max = 1.0f;
  TCurveType Curve() const { return FCurve; }
  void SetCurve(TCurveType curve);
  float CurveFactor() const { return FCurveFactor; }
  void SetCurveFactor(float factor);
  float InverseCurveFactor() const { return FInverseCurveFactor; }
  float SmoothingFactor() const { return FSmoothingFactor; }
  void SetSmoothingFactor(float factor);
  float SmoothedValue() const { return FSmoothedValue.load(std::memory_order_relaxed); }
  bool CanBeAutomated = true;
  bool ReportVST2Properties = false;
  TVstParameterPropertiesFlags Flags;
  float StepFloat = 1.0f, SmallStepFloat = 0.5f, LargeStepFloat = 2.0f;
  int MinInteger = 0, MaxInteger = 100;
  int StepInteger = 1, LargeStepInteger = 10;
  int CC = -1;  // kept with the item; nothing reads it
  const std::string& Category() const { return FCategory; }
  void SetCategory(const std::string& category);
  int CategoryIndex() const;
  void SetCategoryIndex(int index);
  bool UseDefaultString2ParameterHandler = false;
  TVSTModuleWithPrograms& VSTModule() const { return FModule; }

  TParameterChangeEvent OnParameterChange;
  TCustomParameterTextEvent OnCustomParameterLabel;
  TCustomParameterTextEvent OnCustomParameterDisplay;
  TString2ParameterEvent OnStringToParameter;

  // Parameter value to host value 0..1.
  float NormalizeValue(float value) const;
  // Host value to parameter value; runs the smoothing step.
  float DenormalizeValue(float hostValue);

  // Fills the host's properties record.
  void FillProperties(vst::VstParameterProperties& record, int index) const;

 private:
  friend class TVSTModuleWithPrograms;
  void ClearCategoryQuietly() { FCategory.clear(); }

  TVSTModuleWithPrograms& FModule;
  std::string FDisplayName;
  std::string FShortLabel;
  TCurveType FCurve = TCurveType::ctLinear;
  float FCurveFactor = 1.0f;
  float FInverseCurveFactor = 1.0f;
  float FSmoothingFactor = 0.0f;
  std::atomic<float> FSmoothedValue{0.0f};
  std::string FCategory;
};

class TCustomVstParameterCategory {
 public:
  explicit TCustomVstParameterCategory(int creationNumber);
  const std::string& DisplayName() const { return FDisplayName; }
  void SetDisplayName(const std::string& name);
  int ParametersInCategory() const { return FParametersInCategory; }

 private:
  friend class TCustomVstParameterProperty;
  friend class TVSTModuleWithPrograms;
  std::string FDisplayName;
  int FParametersInCategory = 0;
};

// Value text of a parameter: digits < 0 gives the shortest general text (up to 15 significant
// digits); digits >= 0 rounds to that many decimals, then prints at most that many significant digits.
std::string FormatParameterValue(int digits, double value);

// The built-in text parser: number, optional unit, multiplier letters. Leaves value unchanged on failure.
void ParseParameterString(const std::string& text, const std::string& units, float& value);

}  // namespace vornix::host
