// Feeds arbitrary bytes to the chunk loader and to every kind of tagged value read. Nothing may
// crash, read out of bounds or leak; whatever reads successfully must survive writing it back.
//
// The test script builds it with clang (VORNIX_FUZZ=ON) and runs it for a bounded time.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "plugin/stream/Chunk.h"
#include "plugin/stream/TaggedValueReader.h"
#include "plugin/stream/TaggedValueWriter.h"
#include "plugin/stream/TextCodec.h"

namespace {

using namespace vornix;
using Span = std::span<const std::uint8_t>;

void Check(bool condition) {
  if (!condition) std::abort();
}

void FuzzChunk(Span data) {
  TMemoryStreamChunk chunk;
  std::size_t used = 0;
  try {
    used = chunk.LoadFromStream(data);
  } catch (const EChunkError&) {
    return;
  } catch (const EReadError&) {
    return;
  }
  Check(used == 8 + chunk.Body().size() && used <= data.size());
  std::vector<std::uint8_t> again;
  chunk.SaveToStream(again);
  Check(std::equal(again.begin(), again.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(used)));
}

// Reads one value of the kind `mode` asks for (the tag's own kind for the last mode) and checks that
// writing it and reading it back gives the same value.
void ReadOne(TaggedValueReader& r, int mode) {
  if (mode == 7) {
    switch (r.NextValue()) {
      case ValueTag::ShortString:
      case ValueTag::LongString:
      case ValueTag::WideString:
      case ValueTag::Utf8String: mode = 4; break;
      case ValueTag::Single: mode = 3; break;
      case ValueTag::Extended:
      case ValueTag::Double:
      case ValueTag::Int64: mode = 1; break;
      case ValueTag::False:
      case ValueTag::True: mode = 5; break;
      case ValueTag::StartOfList:
      case ValueTag::EndOfList: mode = 6; break;
      default: mode = 0; break;
    }
  }
  std::vector<std::uint8_t> out;
  TaggedValueWriter w(out);
  const auto back = [&out] { return TaggedValueReader(out); };  // after writing: `out` moves
  switch (mode) {
    case 0: {
      const std::int32_t v = r.ReadInteger();
      w.WriteInteger(v);
      Check(back().ReadInteger() == v);
      break;
    }
    case 1: {
      const double v = r.ReadFloat();
      w.WriteFloat(v);
      const double b = back().ReadFloat();
      Check(std::isnan(v) ? std::isnan(b) : b == v && std::signbit(b) == std::signbit(v));
      break;
    }
    case 2: r.ReadFloatAsSingle(); break;
    case 3: {
      const float v = r.ReadSingle();
      w.WriteSingle(v);
      const float b = back().ReadSingle();
      Check(std::isnan(v) ? std::isnan(b) : b == v);
      break;
    }
    case 4: {
      const std::string v = r.ReadString();
      Check(SanitizeUtf8(v) == v);
      w.WriteString(v);
      Check(back().ReadString() == v);
      break;
    }
    case 5: r.ReadBoolean(); break;
    default:
      if (r.EndOfList())
        r.ReadListEnd();
      else
        r.ReadListBegin();
      break;
  }
}

void FuzzReader(Span data) {
  try {
    TaggedValueReader r(data);
    r.ReadSignature();
  } catch (const EReadError&) {
  }
  // Every read kind meets every tag: restart one byte further after each refusal.
  for (int mode = 0; mode < 8; ++mode) {
    std::size_t pos = 0;
    while (pos < data.size()) {
      TaggedValueReader r(data.subspan(pos));
      try {
        while (true) ReadOne(r, mode);
      } catch (const EReadError&) {
      }
      Check(r.Position() <= data.size() - pos);
      pos += r.Position() > 0 ? r.Position() : 1;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Span bytes(data, size);
  FuzzChunk(bytes);
  FuzzReader(bytes);
  return 0;
}
