#include "host/DspVSTModule.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vornix::host {

using namespace vst;

const VstTimeInfo* TDspVSTModule::RequestTimeInfo(VstInt32 filter) {
  const auto* time = reinterpret_cast<const VstTimeInfo*>(CallAudioMaster(audioMasterGetTime, 0, filter));
  if (time == nullptr || FPartOffset == 0) return time;
  // A later part of a long block: the host's time moved on by the samples before it.
  FPartTime = *time;
  FPartTime.samplePos += FPartOffset;
  if (time->sampleRate > 0.0) {
    const double seconds = FPartOffset / time->sampleRate;
    FPartTime.nanoSeconds += seconds * 1e9;
    if ((time->flags & kVstTempoValid) != 0) FPartTime.ppqPos += seconds * time->tempo / 60.0;
  }
  return &FPartTime;
}

const std::string& TDspVSTModule::GetHostProduct() {
  if (FHostProduct.empty() || FHostProduct == "Unknown") {
    std::array<char, 256> text{};
    if (CallAudioMaster(audioMasterGetProductString, 0, 0, text.data()) == 0) {
      FHostProduct = "Unknown";
    } else {
      text.back() = '\0';
      FHostProduct = text.data();
      if (TruncateStrings && FHostProduct.size() > 64) FHostProduct.resize(64);
    }
  }
  return FHostProduct;
}

template <typename Sample>
void TDspVSTModule::CopyOrMute(Sample** inputs, Sample** outputs, unsigned frames) const {
  if (outputs == nullptr) return;
  if (ProcessingMode == TProcessingMode::pmCopy && inputs != nullptr) {
    const int channels = std::min(numInputs(), numOutputs());
    for (int c = 0; c < channels; ++c) {
      if (inputs[c] != nullptr && outputs[c] != nullptr) std::copy_n(inputs[c], frames, outputs[c]);
    }
    return;
  }
  for (int c = 0; c < numOutputs(); ++c) {
    if (outputs[c] != nullptr) std::fill_n(outputs[c], frames, Sample(0));
  }
}

// pmBlockSave calls the events directly (no re-blocking stage: no module of ours uses it);
// pmDspQueue has no components to run and leaves silence.
template <typename Sample, typename Handler>
void TDspVSTModule::RunReplacing(const Handler& handler, Sample** inputs, Sample** outputs, VstInt32 sampleFrames) {
  const auto frames = static_cast<unsigned>(sampleFrames);
  switch (ProcessingMode) {
    case TProcessingMode::pmNormal:
    case TProcessingMode::pmBlockSave:
      if (handler) handler(inputs, outputs, frames);
      break;
    default: CopyOrMute(inputs, outputs, frames); break;
  }
  FlushMidiOutput(sampleFrames);
}

void TDspVSTModule::ProcessReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  RunReplacing(OnProcess32Replacing, inputs, outputs, sampleFrames);
}

void TDspVSTModule::ProcessDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {
  RunReplacing(OnProcess64Replacing, inputs, outputs, sampleFrames);
}

void TDspVSTModule::BlockSizeChanged() {
  TVSTModuleWithPrograms::BlockSizeChanged();
  PrepareAccumulation();
}

VstIntPtr TDspVSTModule::HostCallOpen(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  PrepareAccumulation();
  return TVSTModuleWithPrograms::HostCallOpen(index, value, ptr, opt);
}

void TDspVSTModule::PrepareAccumulation() {
  const auto channels = static_cast<std::size_t>(std::max(numOutputs(), 0));
  const auto frames = static_cast<std::size_t>(std::clamp(BlockSize(), 64, 1 << 16));
  FAccumulation.assign(channels, std::vector<float>(frames, 0.0f));
  FAccumulationOutputs.assign(channels, nullptr);
  FPartInputs.assign(static_cast<std::size_t>(std::max(numInputs(), 0)), nullptr);
}

// Older hosts call the accumulating entry: a replacing handler then renders into the module's own
// buffers, which are added to the host's, part after part when the block is longer than they are.
void TDspVSTModule::Process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  const auto frames = static_cast<unsigned>(sampleFrames);
  const bool normal = ProcessingMode == TProcessingMode::pmNormal || ProcessingMode == TProcessingMode::pmBlockSave;
  if (normal && OnProcess) {
    OnProcess(inputs, outputs, frames);
  } else if ((!normal || OnProcess32Replacing) && !FAccumulation.empty()) {
    const auto part = static_cast<unsigned>(FAccumulation.front().size());
    for (unsigned offset = 0; offset < frames; offset += part)
      AccumulatePart(inputs, outputs, offset, std::min(part, frames - offset), normal);
    FPartOffset = 0;
    SetMidiOutOffset(0);
  }
  FlushMidiOutput(sampleFrames);
}

void TDspVSTModule::AccumulatePart(float** inputs, float** outputs, unsigned offset, unsigned frames, bool normal) {
  FPartOffset = offset;
  SetMidiOutOffset(static_cast<VstInt32>(offset));
  for (std::size_t c = 0; c < FAccumulation.size(); ++c) {
    std::fill_n(FAccumulation[c].begin(), frames, 0.0f);
    FAccumulationOutputs[c] = FAccumulation[c].data();
  }
  float** partInputs = nullptr;
  if (inputs != nullptr) {
    for (std::size_t c = 0; c < FPartInputs.size(); ++c) FPartInputs[c] = inputs[c] ? inputs[c] + offset : nullptr;
    partInputs = FPartInputs.data();
  }
  if (normal)
    OnProcess32Replacing(partInputs, FAccumulationOutputs.data(), frames);
  else
    CopyOrMute(partInputs, FAccumulationOutputs.data(), frames);
  if (outputs == nullptr) return;
  for (std::size_t c = 0; c < FAccumulation.size(); ++c) {
    if (outputs[c] == nullptr) continue;
    for (unsigned i = 0; i < frames; ++i) outputs[c][offset + i] += FAccumulation[c][i];
  }
}

}  // namespace vornix::host
