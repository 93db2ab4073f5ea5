// The editor's colour skins. Each skin is a data file built into the plug-in
// (resources/skins/<resource>.skin), read once per process on first use:
//
//   # a comment (also "//" or ";"), to the end of the line
//   Name = Smokey Quartz Kamri          the style name the skin is selected by
//   scWindow = 238, 234, 228            an element: red, green, blue, each 0..255
//   DialogBackground = scPanel          an element: the colour of an element given above it
//
// Every element of TSkin appears exactly once. The element names are the field names below.
#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "gfx/Bitmap.h"

namespace vornix::gfx {

struct TSkin {
  std::string Name;  // style name: "Carbon", "Amakrits", "Light", "Luna", "Smokey Quartz Kamri"

  // Colour elements the controls take by these names.
  TColor scWindow = 0;
  TColor scPanel = 0;
  TColor scGenericBackground = 0;
  TColor scCategoryPanelGroup = 0;
  TColor scBorder = 0;
  TColor scButtonDisabled = 0;
  TColor scButtonHot = 0;
  TColor scButtonPressed = 0;
  TColor scButtonFocused = 0;
  TColor scGenericGradientBase = 0;
  TColor scGenericGradientEnd = 0;
  TColor scHintGradientBase = 0;
  TColor scHintGradientEnd = 0;
  // Font colour elements.
  TColor sfButtonTextNormal = 0;
  TColor sfButtonTextPressed = 0;
  TColor sfButtonTextDisabled = 0;
  TColor sfCaptionTextNormal = 0;
  TColor sfWindowTextDisabled = 0;

  // The toolkit's own elements.
  TColor ButtonFace = 0;      // a button at rest
  TColor ButtonFaceHot = 0;   // under the mouse
  TColor ButtonFaceDown = 0;  // pressed, or down in its group
  TColor ButtonTextDown = 0;  // caption of a pressed / down button
  TColor ButtonBorder = 0;
  TColor MenuBackground = 0;
  TColor MenuText = 0;
  TColor MenuHighlight = 0;  // the item under the mouse
  TColor MenuHighlightText = 0;
  TColor MenuSeparator = 0;
  TColor MenuTextDisabled = 0;
  TColor DialogBackground = 0;
  TColor TextBoxBackground = 0;
  TColor TextBoxText = 0;
  TColor ListSelection = 0;
  TColor ListSelectionText = 0;
  TColor LabelText = 0;  // static texts and headings
};

// A skin data file that cannot be used: the message names the file and the line.
class TSkinError : public std::runtime_error {
 public:
  TSkinError(const std::string& file, int line, const std::string& what);
  const std::string& File() const { return file_; }
  int Line() const { return line_; }

 private:
  std::string file_;
  int line_;
};

// Reads a skin's text; fileName is for messages. Unknown, repeated or missing elements, colours out
// of range and lines that are not "element = value" are errors (a missing element is reported at
// the last line).
TSkin ParseSkin(std::string_view text, std::string_view fileName);

// The skin selected by a style name, or Carbon for any name that is not a skin's.
const TSkin& SkinByName(std::string_view styleName);
// The five skins in the order of the editor's menu: Carbon, Amakrits, Light, Luna, Smokey Quartz Kamri.
std::span<const TSkin> AllSkins();

// The names of the colour elements, in TSkin's order, and a skin's colour by element name (null
// for an unknown name).
std::span<const char* const> SkinElementNames();
const TColor* SkinElement(const TSkin& skin, std::string_view element);

}  // namespace vornix::gfx
