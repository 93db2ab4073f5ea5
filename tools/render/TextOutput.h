// The text form of a render: one line per event.
#pragma once

#include <ostream>
#include <string>

#include "render/Render.h"

namespace vornix::render {

// "<sample> <quarter notes> <status> <data1> <data2>", sample right-aligned, quarter notes with six
// decimals, bytes as two hex digits.
std::string EventLine(const RenderedEvent& event);

void WriteText(const RenderResult& result, std::ostream& out);

}  // namespace vornix::render
