#include "gfx/Skin.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "gfx/MadeOnce.h"
#include "gfx/Resources.h"

namespace vornix::gfx {

namespace {

struct TElement {
  const char* name;
  TColor TSkin::*field;
};

#define VORNIX_SKIN_ELEMENT(name) \
  TElement { #name, &TSkin::name }
constexpr std::array kElements = {
    VORNIX_SKIN_ELEMENT(scWindow),
    VORNIX_SKIN_ELEMENT(scPanel),
    VORNIX_SKIN_ELEMENT(scGenericBackground),
    VORNIX_SKIN_ELEMENT(scCategoryPanelGroup),
    VORNIX_SKIN_ELEMENT(scBorder),
    VORNIX_SKIN_ELEMENT(scButtonDisabled),
    VORNIX_SKIN_ELEMENT(scButtonHot),
    VORNIX_SKIN_ELEMENT(scButtonPressed),
    VORNIX_SKIN_ELEMENT(scButtonFocused),
    VORNIX_SKIN_ELEMENT(scGenericGradientBase),
    VORNIX_SKIN_ELEMENT(scGenericGradientEnd),
    VORNIX_SKIN_ELEMENT(scHintGradientBase),
    VORNIX_SKIN_ELEMENT(scHintGradientEnd),
    VORNIX_SKIN_ELEMENT(sfButtonTextNormal),
    VORNIX_SKIN_ELEMENT(sfButtonTextPressed),
    VORNIX_SKIN_ELEMENT(sfButtonTextDisabled),
    VORNIX_SKIN_ELEMENT(sfCaptionTextNormal),
    VORNIX_SKIN_ELEMENT(sfWindowTextDisabled),
    VORNIX_SKIN_ELEMENT(ButtonFace),
    VORNIX_SKIN_ELEMENT(ButtonFaceHot),
    VORNIX_SKIN_ELEMENT(ButtonFaceDown),
    VORNIX_SKIN_ELEMENT(ButtonTextDown),
    VORNIX_SKIN_ELEMENT(ButtonBorder),
    VORNIX_SKIN_ELEMENT(MenuBackground),
    VORNIX_SKIN_ELEMENT(MenuText),
    VORNIX_SKIN_ELEMENT(MenuHighlight),
    VORNIX_SKIN_ELEMENT(MenuHighlightText),
    VORNIX_SKIN_ELEMENT(MenuSeparator),
    VORNIX_SKIN_ELEMENT(MenuTextDisabled),
    VORNIX_SKIN_ELEMENT(DialogBackground),
    VORNIX_SKIN_ELEMENT(TextBoxBackground),
    VORNIX_SKIN_ELEMENT(TextBoxText),
    VORNIX_SKIN_ELEMENT(ListSelection),
    VORNIX_SKIN_ELEMENT(ListSelectionText),
    VORNIX_SKIN_ELEMENT(LabelText),
};
#undef VORNIX_SKIN_ELEMENT

constexpr auto kElementNames = [] {
  std::array<const char*, kElements.size()> names{};
  for (std::size_t i = 0; i < kElements.size(); ++i) names[i] = kElements[i].name;
  return names;
}();

// The skins' resources in menu order.
constexpr std::array<const char*, 5> kSkinFiles = {"Carbon", "Amakrits", "Light", "Luna", "Smokey"};

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

const TElement* FindElement(std::string_view name) {
  for (const auto& e : kElements) {
    if (name == e.name) return &e;
  }
  return nullptr;
}

// "R, G, B" with each part 0..255; false when the text is not of that form.
bool ParseRgb(std::string_view text, TColor& out, std::string& why) {
  int channels[3];
  for (int i = 0; i < 3; ++i) {
    const std::size_t comma = i < 2 ? text.find(',') : std::string_view::npos;
    if (i < 2 && comma == std::string_view::npos) {
      why = "expected three numbers separated by commas";
      return false;
    }
    const std::string_view part = Trim(text.substr(0, comma));
    int v = 0;
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), v);
    if (part.empty() || ec != std::errc() || end != part.data() + part.size()) {
      why = "'" + std::string(part) + "' is not a whole number";
      return false;
    }
    if (v < 0 || v > 255) {
      why = "colour channel " + std::to_string(v) + " is outside 0..255";
      return false;
    }
    channels[i] = v;
    if (i < 2) text.remove_prefix(comma + 1);
  }
  out = Rgb(channels[0], channels[1], channels[2]);
  return true;
}

std::vector<TSkin> LoadSkins() {
  std::vector<TSkin> skins;
  for (const char* file : kSkinFiles) {
    const std::string resource = std::string("skins/") + file + ".skin";
    const auto bytes = FindResource(resource);
    if (bytes.empty()) throw TSkinError(resource, 0, "skin resource missing");
    skins.push_back(ParseSkin({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, resource));
  }
  return skins;
}

TMadeOnce<std::vector<TSkin>> loadedSkins(&LoadSkins);  // once per process

const std::vector<TSkin>& Skins() { return loadedSkins.Get(); }

}  // namespace

TSkinError::TSkinError(const std::string& file, int line, const std::string& what)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + what), file_(file), line_(line) {}

TSkin ParseSkin(std::string_view text, std::string_view fileName) {
  const std::string file(fileName);
  TSkin skin;
  bool named = false;
  std::array<bool, kElements.size()> seen{};
  int line = 0;
  while (!text.empty() || line == 0) {
    ++line;
    const std::size_t newline = text.find('\n');
    std::string_view content = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    for (const char* marker : {"#", "//", ";"}) {
      const std::size_t at = content.find(marker);
      if (at != std::string_view::npos) content = content.substr(0, at);
    }
    content = Trim(content);
    if (content.empty()) {
      if (text.empty()) break;
      continue;
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) throw TSkinError(file, line, "expected 'element = R, G, B'");
    const std::string_view key = Trim(content.substr(0, equals));
    const std::string_view value = Trim(content.substr(equals + 1));
    if (key == "Name") {
      if (named) throw TSkinError(file, line, "Name is given twice");
      if (value.empty()) throw TSkinError(file, line, "the Name is empty");
      skin.Name = std::string(value);
      named = true;
      continue;
    }
    const TElement* element = FindElement(key);
    if (!element) throw TSkinError(file, line, "unknown element '" + std::string(key) + "'");
    const auto index = static_cast<std::size_t>(element - kElements.data());
    if (seen[index]) throw TSkinError(file, line, "element " + std::string(key) + " is given twice");
    TColor colour = 0;
    if (const TElement* source = FindElement(value)) {
      if (!seen[static_cast<std::size_t>(source - kElements.data())]) {
        throw TSkinError(file, line, "element " + std::string(value) + " is used before it is given");
      }
      colour = skin.*(source->field);
    } else {
      std::string why;
      if (!ParseRgb(value, colour, why)) throw TSkinError(file, line, std::string(key) + ": " + why);
    }
    skin.*(element->field) = colour;
    seen[index] = true;
  }
  if (!named) throw TSkinError(file, line, "the skin has no Name");
  for (std::size_t i = 0; i < kElements.size(); ++i) {
    if (!seen[i]) throw TSkinError(file, line, "element " + std::string(kElements[i].name) + " is missing");
  }
  return skin;
}

const TSkin& SkinByName(std::string_view styleName) {
  const auto& skins = Skins();
  for (const auto& skin : skins) {
    if (skin.Name == styleName) return skin;
  }
  return skins.front();  // Carbon
}

std::span<const TSkin> AllSkins() { return Skins(); }

std::span<const char* const> SkinElementNames() { return kElementNames; }

const TColor* SkinElement(const TSkin& skin, std::string_view element) {
  const TElement* e = FindElement(element);
  return e ? &(skin.*(e->field)) : nullptr;
}

}  // namespace vornix::gfx
