// The processing path: processing modes, the three processing virtuals and the host's time.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/VSTModuleWithPrograms.h"

namespace vornix::host {

enum class TProcessingMode { pmNormal, pmBlockSave, pmCopy, pmMute, pmDspQueue };

using TProcessAudio32Event = std::function<void(float* const* inputs, float* const* outputs, unsigned sampleFrames)>;
using TProcessAudio64Event = std::function<void(double* const* inputs, double* const* outputs, unsigned sampleFrames)>;

class TDspVSTModule : public TVSTModuleWithPrograms {
 public:
  TDspVSTModule() = default;

  TProcessingMode ProcessingMode = TProcessingMode::pmNormal;
  unsigned BlockModeSize = 1024;
  unsigned BlockModeOverlap = 0;

  TProcessAudio32Event OnProcess;
  TProcessAudio32Event OnProcess32Replacing;
  TProcessAudio64Event OnProcess64Replacing;

  // The host's time for the current block, or null. Valid only during the current call. While
  // the accumulating entry works through a long block in parts, the time of the current part.
  const vst::VstTimeInfo* RequestTimeInfo(vst::VstInt32 filter);
  // The host's product text, fetched until the host names itself.
  const std::string& GetHostProduct();

  void Process(float** inputs, float** outputs, vst::VstInt32 sampleFrames) override;
  void ProcessReplacing(float** inputs, float** outputs, vst::VstInt32 sampleFrames) override;
  void ProcessDoubleReplacing(double** inputs, double** outputs, vst::VstInt32 sampleFrames) override;

 protected:
  void BlockSizeChanged() override;
  vst::VstIntPtr HostCallOpen(vst::VstInt32, vst::VstIntPtr, void*, float) override;

 private:
  // The accumulating entry's own output buffers, sized on the main thread when the block size is
  // known; a longer block is processed in parts of this size.
  void PrepareAccumulation();
  void AccumulatePart(float** inputs, float** outputs, unsigned offset, unsigned frames, bool normal);

  template <typename Sample>
  void CopyOrMute(Sample** inputs, Sample** outputs, unsigned frames) const;
  template <typename Sample, typename Handler>
  void RunReplacing(const Handler& handler, Sample** inputs, Sample** outputs, vst::VstInt32 sampleFrames);

  std::string FHostProduct;  // the thread that asks (the main thread: creation, the dispatcher)
  // Sized on the main thread while the host does not process; used by the processing thread.
  std::vector<std::vector<float>> FAccumulation;
  std::vector<float*> FAccumulationOutputs;
  std::vector<float*> FPartInputs;
  // Processing thread only: where the current part starts in the host's block, and its time.
  unsigned FPartOffset = 0;
  vst::VstTimeInfo FPartTime{};
};

}  // namespace vornix::host
