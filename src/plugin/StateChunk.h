// The saved state as bytes: a header list (version, preset name, two reserved strings), the
// module's own section and the CC map, in the tagged value encoding, inside an "mmst" container.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "plugin/stream/TaggedValueReader.h"

namespace vornix::plugin {

struct TStateChunkContents {
  std::string Version;
  std::string PresetName;
  // (parameter name, controller) in list order; none when the state has no CC map section.
  std::optional<std::vector<std::pair<std::string, int>>> Links;
};

// Reads a state body completely; `readSection` reads the module's own section. Throws the
// reader's errors, so nothing need be applied before everything was read.
TStateChunkContents ReadStateChunkBody(
    const std::vector<std::uint8_t>& body,
    const std::function<void(TaggedValueReader& reader, const std::string& version)>& readSection);

// A preset file or host chunk as Vornix loads it; throws with the reason when it is none.
void CheckVornixState(const std::vector<std::uint8_t>& bytes);

}  // namespace vornix::plugin
