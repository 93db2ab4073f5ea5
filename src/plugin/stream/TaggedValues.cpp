#include "plugin/stream/TaggedValues.h"

namespace vornix {
namespace {

const char* MessageOf(ReadErrorKind kind) {
  switch (kind) {
    case ReadErrorKind::InvalidPropertyValue: return "Invalid property value";
    case ReadErrorKind::InvalidStreamFormat: return "Invalid stream format";
    case ReadErrorKind::StreamReadError: break;
  }
  return "Stream read error";
}

}  // namespace

EReadError::EReadError(ReadErrorKind kind) : std::runtime_error(MessageOf(kind)), kind_(kind) {}

}  // namespace vornix
