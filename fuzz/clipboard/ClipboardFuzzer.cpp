// Hands arbitrary bytes to the step clipboard as a block found on the clipboard. Nothing may crash
// or read out of bounds; a refused block raises only the errors a paste reports; whatever is read
// applies as steps the model can play, and copying those steps reads back the same.
//
// The test script builds it with clang (VORNIX_FUZZ=ON) and runs it for a bounded time.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "editor/logic/ClipboardBlock.h"
#include "editor/logic/StepClipboard.h"
#include "plugin/stream/TaggedValues.h"
#include "sequencer/CCStepList.h"

namespace {

using namespace vornix;
using namespace vornix::editor;

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckPlayable(const sequencer::TCCStepList& steps) {
  for (int i = 0; i < steps.Count(); ++i) {
    const float v = steps[i].Value();
    const float r = steps[i].RandomRange();
    Check(v >= 0.0f && v <= 127.0f);
    Check(r >= 0.0f && v + r <= 127.0f);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> block(data, size);
  TClipboardSteps read;
  try {
    read = ReadStepBlock(block);
  } catch (const EBinClipboardError& e) {
    Check(std::string_view(e.what()) == "Invalid data in Clipboard!");
    return 0;
  } catch (const EReadError&) {
    return 0;
  } catch (const std::out_of_range& e) {
    Check(std::string_view(e.what()).starts_with("List index out of bounds ("));
    return 0;
  }
  Check(read.StepCount >= 1 && read.StepCount <= 64);
  for (const TClipboardStep& s : read.Steps) Check(s.Index >= 0 && s.Index < 64);

  sequencer::TCCStepList steps(sequencer::TCCStepList::kMaxSteps);
  const int count = ApplyClipboardSteps(read, steps);
  Check(count == read.StepCount);
  CheckPlayable(steps);

  const TClipboardSteps again = ReadStepBlock(MakeClipboardBlock(WriteStepStream(steps, count)));
  Check(again.StepCount == count && static_cast<int>(again.Steps.size()) == count);
  for (int i = 0; i < count; ++i) {
    const TClipboardStep& s = again.Steps[static_cast<std::size_t>(i)];
    Check(s.Index == i && s.Value == steps[i].Value() && s.RandomRange == steps[i].RandomRange());
  }
  return 0;
}
