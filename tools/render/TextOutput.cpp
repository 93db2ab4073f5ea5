#include "render/TextOutput.h"

#include <cstdio>

namespace vornix::render {

std::string EventLine(const RenderedEvent& e) {
  char line[96];
  std::snprintf(line, sizeof line, "%10lld %12.6f  %02X %02X %02X", static_cast<long long>(e.sample), e.quarterNotes,
                e.status, e.data1, e.data2);
  return line;
}

void WriteText(const RenderResult& result, std::ostream& out) {
  for (const auto& e : result.events) out << EventLine(e) << '\n';
}

}  // namespace vornix::render
