#include "host/VstParameterProperty.h"
#include "host/HostText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/VSTModuleWithPrograms.h"

namespace vornix::host {

namespace {

double Clamp01(double x) {
  if (std::isnan(x) || x < 0.0) return 0.0;
  return x > 1.0 ? 1.0 : x;
}

// The frequency curve maps with base R + 1, R = Max / Min (Max when Min is 0); both directions use
// the same R so that the pair is exactly inverse. A range the curve cannot express maps linearly.
double FrequencyRatio(float min, float max) {
  const double r = min != 0.0f ? static_cast<double>(max) / min : static_cast<double>(max);
  return (std::isfinite(r) && r > 0.0) ? r : 0.0;
}

}  // namespace

TCustomVstParameterProperty::TCustomVstParameterProperty(TVSTModuleWithPrograms& module, int creationNumber)
    : FModule(module), FDisplayName("Parameter " + std::to_string(creationNumber)) {}

void TCustomVstParameterProperty::SetDisplayName(const std::string& name) {
  const std::string cut = CutText(name, 64);
  if (cut == FDisplayName) return;
  if (FShortLabel.empty() || FShortLabel == FDisplayName) FShortLabel = CutText(cut, 7);
  FDisplayName = cut;
}

void TCustomVstParameterProperty::SetShortLabel(const std::string& label) { FShortLabel = CutText(label, 7); }

void TCustomVstParameterProperty::SetCurve(TCurveType curve) {
  FCurve = curve;
  if (curve == TCurveType::ctLogarithmic && Min != 0.0f) SetCurveFactor(Max / Min);
}

void TCustomVstParameterProperty::SetCurveFactor(float factor) {
  FCurveFactor = factor;
  FInverseCurveFactor = 1.0f / factor;
}

void TCustomVstParameterProperty::SetSmoothingFactor(float factor) {
  FSmoothingFactor = (factor >= 0.0f && factor < 1.0f) ? factor : 0.0f;
}

float TCustomVstParameterProperty::DenormalizeValue(float hostValue) {
  const double x = Clamp01(hostValue);
  const double f = FCurveFactor;
  double shaped = x;
  switch (FCurve) {
    case TCurveType::ctLinear: break;
    case TCurveType::ctLogarithmic: shaped = (std::pow(f + 1.0, x) - 1.0) * FInverseCurveFactor; break;
    case TCurveType::ctExponential: shaped = std::log2(f * x + 1.0) / std::log2(f + 1.0); break;
    case TCurveType::ctFrequencyScale:
      if (const double r = FrequencyRatio(Min, Max); r > 0.0) shaped = (std::pow(r + 1.0, x) - 1.0) / r;
      break;
  }
  const double v = Min + (static_cast<double>(Max) - Min) * shaped;
  const double previous = FSmoothedValue.load(std::memory_order_relaxed);
  const auto smoothed = static_cast<float>(v + (previous - v) * FSmoothingFactor);
  FSmoothedValue.store(smoothed, std::memory_order_relaxed);
  return smoothed;
}

float TCustomVstParameterProperty::NormalizeValue(float value) const {
  const double d = (static_cast<double>(value) - Min) / (static_cast<double>(Max) - Min);
  const double f = FCurveFactor;
  double shaped = d;
  switch (FCurve) {
    case TCurveType::ctLinear: break;
    case TCurveType::ctLogarithmic: shaped = std::log2(d * f + 1.0) / std::log2(f + 1.0); break;
    case TCurveType::ctExponential: shaped = (std::pow(f + 1.0, d) - 1.0) / f; break;
    case TCurveType::ctFrequencyScale:
      if (const double r = FrequencyRatio(Min, Max); r > 0.0) shaped = std::log(d * r + 1.0) / std::log(r + 1.0);
      break;
  }
  return static_cast<float>(Clamp01(shaped));
}

void TCustomVstParameterProperty::SetCategory(const std::string& category) {
  auto& categories = FModule.ParameterCategories();
  if (category.empty()) {
    for (auto& c : categories) {
      if (c->FDisplayName == FCategory && c->FParametersInCategory > 0) --c->FParametersInCategory;
    }
    FCategory.clear();
    return;
  }
  const std::string cut = CutText(category, 23);
  if (cut == FCategory) return;
  FCategory = cut;
  for (auto& c : categories) {
    if (c->FDisplayName == cut) {
      ++c->FParametersInCategory;
      return;
    }
  }
  auto fresh = std::make_unique<TCustomVstParameterCategory>(static_cast<int>(categories.size()) + 1);
  fresh->FDisplayName = cut;
  fresh->FParametersInCategory = 1;
  categories.push_back(std::move(fresh));
}

int TCustomVstParameterProperty::CategoryIndex() const {
  if (FCategory.empty()) return 0;
  const auto& categories = FModule.ParameterCategories();
  for (std::size_t i = 0; i < categories.size(); ++i) {
    if (categories[i]->DisplayName() == FCategory) return static_cast<int>(i) + 1;
  }
  return 0;
}

void TCustomVstParameterProperty::SetCategoryIndex(int index) {
  const auto& categories = FModule.ParameterCategories();
  if (index >= 1 && index <= static_cast<int>(categories.size()))
    SetCategory(categories[static_cast<std::size_t>(index - 1)]->DisplayName());
  else
    SetCategory("");
}

void TCustomVstParameterProperty::FillProperties(vst::VstParameterProperties& r, int index) const {
  using F = TVstParameterPropertiesFlag;
  std::memset(&r, 0, sizeof r);
  CopyToHostBuffer(r.label, FDisplayName, sizeof r.label);
  CopyToHostBuffer(r.shortLabel, FShortLabel, sizeof r.shortLabel);
  r.flags = static_cast<vst::VstInt32>(Flags.Bits());
  const bool intMinMax = Flags.Contains(F::ppfParameterUsesIntegerMinMax);
  r.minInteger = intMinMax ? MinInteger : 0;
  r.maxInteger = intMinMax ? MaxInteger : 0;
  const bool intStep = Flags.Contains(F::ppfParameterUsesIntStep);
  r.stepInteger = intStep ? StepInteger : 1;
  r.largeStepInteger = intStep ? LargeStepInteger : 2;
  if (Flags.Contains(F::ppfParameterUsesFloatStep) && FCurve == TCurveType::ctLinear) {
    // A step is a distance, so it is mapped from Min upwards.
    r.stepFloat = NormalizeValue(Min + StepFloat);
    r.smallStepFloat = NormalizeValue(Min + SmallStepFloat);
    r.largeStepFloat = NormalizeValue(Min + LargeStepFloat);
  } else {
    r.stepFloat = 0.01f;
    r.smallStepFloat = 0.002f;
    r.largeStepFloat = 0.05f;
  }
  r.displayIndex = Flags.Contains(F::ppfParameterSupportsDisplayIndex) ? static_cast<vst::VstInt16>(index) : 0;
  if (Flags.Contains(F::ppfParameterSupportsDisplayCategory)) {
    CopyToHostBuffer(r.categoryLabel, FCategory, sizeof r.categoryLabel);
    const int ci = CategoryIndex();
    r.category = static_cast<vst::VstInt16>(ci);
    const auto& categories = FModule.ParameterCategories();
    r.numParametersInCategory =
        (ci >= 1 && ci <= static_cast<int>(categories.size()))
            ? static_cast<vst::VstInt16>(categories[static_cast<std::size_t>(ci - 1)]->ParametersInCategory())
            : 0;
  }
}

TCustomVstParameterCategory::TCustomVstParameterCategory(int creationNumber)
    : FDisplayName("Category " + std::to_string(creationNumber)) {}

void TCustomVstParameterCategory::SetDisplayName(const std::string& name) { FDisplayName = CutText(name, 24); }

namespace {

// General format: fixed notation unless the decimal exponent is at least the precision or below -5.
std::string FormatGeneral(double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0.0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
  std::string text(buf);
  const bool negative = text[0] == '-';
  if (negative) text.erase(0, 1);
  const auto e = text.find('e');
  const int exponent = std::stoi(text.substr(e + 1));
  std::string digits = text.substr(0, e);
  digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out;
  if (exponent >= precision || exponent < -5) {
    out = digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += "E" + std::to_string(exponent);
  } else if (exponent < 0) {
    out = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    const auto intLen = static_cast<std::size_t>(exponent + 1);
    if (digits.size() <= intLen) {
      out = digits + std::string(intLen - digits.size(), '0');
    } else {
      out = digits.substr(0, intLen) + "." + digits.substr(intLen);
    }
  }
  return negative ? "-" + out : out;
}

}  // namespace

std::string FormatParameterValue(int digits, double value) {
  if (digits < 0) return FormatGeneral(value, 15);
  const double scale = std::pow(10.0, digits);
  const double rounded = std::isfinite(value * scale) ? std::nearbyint(value * scale) / scale : value;
  return FormatGeneral(rounded, std::max(digits, 1));
}

void ParseParameterString(const std::string& text, const std::string& units, float& value) {
  std::size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  std::string s = text.substr(first, last - first);
  if (!units.empty()) {
    if (const auto at = s.find(units); at != std::string::npos) s.erase(at, units.size());
  }
  const auto start = s.find_first_of("+,-.0123456789");
  if (start == std::string::npos) return;
  auto end = s.find_first_not_of(",.0123456789E", start + 1);
  if (end == std::string::npos) end = s.size();

  auto after = [&](const char* letter) {
    const auto at = s.find(letter);
    return at != std::string::npos && at >= end;
  };
  double multiplier = 1.0;
  if (after("k"))
    multiplier = 1000.0;
  else if (after("K"))
    multiplier = 1024.0;
  else if (after("G"))
    multiplier = 1048576.0;
  else if (after("m"))
    multiplier = 0.001;
  else if (after("\xB5"))  // micro sign, as an 8-bit character or the last byte of its UTF-8 form
    multiplier = 0.000001;
  else if (after("c"))
    multiplier = 0.01;

  std::string number = s.substr(start, end - start);
  if (!number.empty() && number[0] == '+') number.erase(0, 1);
  double parsed = 0.0;
  const char* b = number.data();
  const char* e = b + number.size();
  const auto [ptr, ec] = std::from_chars(b, e, parsed);
  if (ec != std::errc() || ptr != e || number.empty()) return;
  value = static_cast<float>(parsed * multiplier);
}

}  // namespace vornix::host
