// The steps on the clipboard: a tagged value stream ("TPF0"; a list holding a header list with the
// step count, then one list per step with its index, value and random range) inside a
// length-prefixed block. A block written by one instance is read by any other.
//
// Reading is complete before anything is applied: a block that cannot be read to its end raises
// and leaves the grid as it was.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sequencer/CCStepList.h"

namespace vornix::editor {

class TBinClipboard;

struct TClipboardStep {
  int Index = 0;  // 0..63: any of the 64 steps, also beyond the step count
  float Value = 0.0f;
  float RandomRange = 0.0f;
};

// What a block holds, read completely.
struct TClipboardSteps {
  int StepCount = 1;                  // limited to 1..64
  std::vector<TClipboardStep> Steps;  // in stream order; a later record for an index wins
};

// The stream of steps 0 .. stepCount - 1, integers in their smallest form and the values as
// singles: 10 + 14 * stepCount bytes. Throws std::invalid_argument unless 1 <= stepCount <= 64 and
// the list holds that many steps.
std::vector<std::uint8_t> WriteStepStream(const sequencer::TCCStepList& steps, int stepCount);

// Throws EReadError ("Invalid stream format", "Invalid property value", "Stream read error") and
// std::out_of_range ("List index out of bounds (<index>)") for a step index outside 0..63. Values
// are singles or integers of any form. Bytes after the pattern's end are not read.
TClipboardSteps ReadStepStream(std::span<const std::uint8_t> stream);

// The block's stream read completely; a broken block raises EBinClipboardError "Invalid data in
// Clipboard!" before the stream is looked at.
TClipboardSteps ReadStepBlock(std::span<const std::uint8_t> block);

// Stores the read steps into the list and returns the step count to set. Values are limited to
// minValue..maxValue (not a number: the default step value), random ranges to
// 0..(maxValue - minValue) - value (not a number: 0), so foreign data cannot break the model.
int ApplyClipboardSteps(const TClipboardSteps& data, sequencer::TCCStepList& steps, int minValue = 0,
                        int maxValue = 127);

// "Copy Steps": the stream of the active steps onto the clipboard.
void CopySteps(TBinClipboard& clipboard, const sequencer::TCCStepList& steps, int stepCount);

// "Paste Steps" up to the point of applying: the clipboard's steps, read completely. Throws
// std::runtime_error "Empty clipboard" when it holds none, and the read errors above.
TClipboardSteps PasteSteps(TBinClipboard& clipboard);

}  // namespace vornix::editor
