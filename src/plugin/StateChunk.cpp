#include "plugin/StateChunk.h"

#include <stdexcept>

#include "plugin/PluginStateStream.h"
#include "plugin/stream/Chunk.h"

namespace vornix::plugin {

TStateChunkContents ReadStateChunkBody(
    const std::vector<std::uint8_t>& body,
    const std::function<void(TaggedValueReader& reader, const std::string& version)>& readSection) {
  TStateChunkContents contents;
  TaggedValueReader r(body);
  r.ReadSignature();
  r.ReadListBegin();
  contents.Version = r.ReadString();
  contents.PresetName = r.ReadString();
  r.ReadString();
  r.ReadString();
  r.ReadListEnd();
  r.ReadListBegin();
  readSection(r, contents.Version);
  r.ReadListEnd();
  if (r.NextValue() != ValueTag::EndOfList) {
    contents.Links.emplace();
    r.ReadListBegin();
    while (!r.EndOfList()) {
      r.ReadListBegin();
      std::string name = r.ReadString();
      const int cc = r.ReadInteger();
      r.ReadListEnd();
      contents.Links->emplace_back(std::move(name), cc);
    }
    r.ReadListEnd();
  }
  return contents;
}

void CheckVornixState(const std::vector<std::uint8_t>& bytes) {
  // The plug-in takes a chunk this short for "no state" and ignores it.
  if (bytes.size() <= 8)
    throw std::runtime_error("too short for a Vornix state (" + std::to_string(bytes.size()) + " bytes)");
  TMemoryStreamChunk chunk;
  chunk.LoadFromStream(bytes);
  ReadStateChunkBody(chunk.Body(),
                     [](TaggedValueReader& r, const std::string& version) { ReadStateSection(r, version); });
}

}  // namespace vornix::plugin
