#include "render/Parameters.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>
#include <string>

namespace vornix::render {

using namespace vst;

namespace {

// Fine enough that every value of a 128-value parameter is met many times.
constexpr int kScanSteps = 4096;

std::string Normal(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Quoted(const std::vector<std::string>& items) {
  std::string s;
  for (const auto& item : items) s += (s.empty() ? "\"" : ", \"") + item + "\"";
  return s;
}

// Counting parameters show a long run of whole numbers; name the run instead of every member.
std::string Shown(const std::vector<std::string>& texts) {
  int first = 0, expected = 0;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    int n = 0;
    const auto& t = texts[i];
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
    if (ec != std::errc() || end != t.data() + t.size() || (i > 0 && n != expected)) return Quoted(texts);
    if (i == 0) first = n;
    expected = n + 1;
  }
  if (texts.size() < 3) return Quoted(texts);
  return "the whole numbers from " + std::to_string(first) + " to " + std::to_string(expected - 1);
}

}  // namespace

int FindParameter(hostkit::PluginHost& host, std::string_view name) {
  std::vector<std::string> names;
  const std::string wanted = Normal(name);
  for (VstInt32 i = 0; i < host.Effect()->numParams; ++i) {
    names.push_back(host.DispatchText(effGetParamName, i));
    if (Normal(names.back()) == wanted) return i;
  }
  throw std::runtime_error("no parameter is called \"" + std::string(name) + "\"; the parameters are " + Quoted(names));
}

float FindValueForText(hostkit::PluginHost& host, int index, std::string_view text) {
  AEffect* e = host.Effect();
  const float before = e->getParameter(e, index);
  const std::string wanted = Normal(text);
  auto shows = [&](float v) {
    e->setParameter(e, index, v);
    return host.DispatchText(effGetParamDisplay, index);
  };

  // The first run of scan points that shows the text. Aim at the middle of that run, where the
  // value sits safely inside the plug-in's rounding, or at an end of the range when the run
  // reaches it (switches then get exactly 0 or 1).
  std::vector<std::string> texts;
  int first = -1, last = -1;
  for (int i = 0; i <= kScanSteps; ++i) {
    const std::string shown = shows(static_cast<float>(i) / kScanSteps);
    if (Normal(shown) == wanted) {
      if (first < 0) first = i;
      last = i;
    } else if (first >= 0) {
      break;
    }
    if (std::find(texts.begin(), texts.end(), shown) == texts.end()) texts.push_back(shown);
  }
  if (first >= 0) {
    const int pick = first == 0 ? 0 : last == kScanSteps ? kScanSteps : (first + last) / 2;
    const float value = static_cast<float>(pick) / kScanSteps;
    if (Normal(shows(value)) == wanted) return value;
    const float edge = static_cast<float>(first) / kScanSteps;
    shows(edge);
    return edge;
  }
  e->setParameter(e, index, before);
  std::string message = "parameter \"" + host.DispatchText(effGetParamName, index) + "\" never shows \"" +
                        std::string(text) + "\"; it shows " + Shown(texts);
  float number = -1.0f;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (ec == std::errc() && end == text.data() + text.size() && number >= 0.0f && number <= 1.0f)
    message += " (a host value in 0..1 is set with --param-normalized)";
  throw std::runtime_error(message);
}

void ApplyParameters(hostkit::PluginHost& host, const std::vector<ParameterSetting>& settings) {
  AEffect* e = host.Effect();
  for (const auto& s : settings) {
    const int index = FindParameter(host, s.name);
    if (s.normalized) {
      float value = 0.0f;
      std::from_chars(s.value.data(), s.value.data() + s.value.size(), value);
      e->setParameter(e, index, value);
    } else {
      FindValueForText(host, index, s.value);
    }
  }
}

}  // namespace vornix::render
