// The plug-in's own section of a saved state: eight sequences with title, settings and steps,
// then the shown sequence. Read completely into plain data before anything is applied, so that
// a state that cannot be read changes nothing.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "plugin/ParameterTable.h"
#include "plugin/stream/TaggedValueReader.h"
#include "plugin/stream/TaggedValueWriter.h"

namespace vornix::plugin {

struct TStoredStep {
  bool Enabled = true;
  float Value = 63.0f;
  float RandomRange = 0.0f;
};

struct TStoredSequence {
  std::string Title;
  std::array<float, kSettingsPerSequence> Settings{};  // parameter units, in setting order
  std::vector<TStoredStep> Steps;                      // at most 64
};

struct TStoredState {
  std::vector<TStoredSequence> Sequences;  // at most 8
  int CurrentSequence = 0;
};

// Writers older than this wrote the section without its own list brackets.
bool IsCurrentFormat(const std::string& version);

void WriteStateSection(TaggedValueWriter& writer, const TStoredState& state);
// Throws the reader's errors; a ninth sequence or a 65th step is a read error too.
TStoredState ReadStateSection(TaggedValueReader& reader, const std::string& version);

// Values as a damaged or foreign state may hold them, brought into their ranges: settings into
// their parameter ranges (not a number: the default), step values and random ranges into 0..127.
float LimitSetting(int sequence, int setting, float value);
float LimitStepValue(float value, float fallback);

}  // namespace vornix::plugin
