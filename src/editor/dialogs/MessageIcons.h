// The icons of the message box, drawn with the canvas at any size: a rounded triangle with "!"
// (warning), a circle with "i" (information), "?" (confirmation) or "×" (error). The same in
// every skin: their own colours read on light and dark dialogs alike.
#pragma once

#include "gfx/Canvas.h"
#include "platform/DialogHost.h"

namespace vornix::editor {

// True for the types that have an icon (mtCustom has none).
bool HasMessageIcon(platform::TMsgDlgType type);
// Draws the type's icon to fill the square r.
void DrawMessageIcon(gfx::TCanvas& canvas, const gfx::TRect& r, platform::TMsgDlgType type);

}  // namespace vornix::editor
