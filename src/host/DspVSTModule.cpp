#include "host/DspVSTModule.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vornix::host {

using namespace vst;

const VstTimeInfo* TDspVSTModule::RequestTimeInfo(VstInt32 filter) {
  return reinterpret_cast<const VstTimeInfo*>(CallAudioMaster(audioMasterGetTime, 0, filter));
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
  FlushMidiOutput();
}

void TDspVSTModule::ProcessReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  RunReplacing(OnProcess32Replacing, inputs, outputs, sampleFrames);
}

void TDspVSTModule::ProcessDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {
  RunReplacing(OnProcess64Replacing, inputs, outputs, sampleFrames);
}

// Older hosts call the accumulating entry: a replacing handler then renders into temporary
// buffers that are added to the host's. This path may allocate; the replacing one never does.
void TDspVSTModule::Process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  const auto frames = static_cast<unsigned>(sampleFrames);
  const bool normal = ProcessingMode == TProcessingMode::pmNormal || ProcessingMode == TProcessingMode::pmBlockSave;
  if (normal && OnProcess) {
    OnProcess(inputs, outputs, frames);
  } else if (!normal || OnProcess32Replacing) {
    const auto channels = static_cast<std::size_t>(std::max(numOutputs(), 0));
    std::vector<std::vector<float>> temp(channels, std::vector<float>(frames, 0.0f));
    std::vector<float*> pointers(channels);
    for (std::size_t c = 0; c < channels; ++c) pointers[c] = temp[c].data();
    if (normal)
      OnProcess32Replacing(inputs, pointers.data(), frames);
    else
      CopyOrMute(inputs, pointers.data(), frames);
    if (outputs != nullptr) {
      for (std::size_t c = 0; c < channels; ++c) {
        if (outputs[c] == nullptr) continue;
        for (unsigned i = 0; i < frames; ++i) outputs[c][i] += temp[c][i];
      }
    }
  }
  FlushMidiOutput();
}

}  // namespace vornix::host
