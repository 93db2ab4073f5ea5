// The processing path: processing modes, the three processing virtuals and the host's time.
#pragma once

#include <functional>
#include <string>

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

  // The host's time for the current block, or null. Valid only during the current call.
  const vst::VstTimeInfo* RequestTimeInfo(vst::VstInt32 filter);
  // The host's product text, fetched until the host names itself.
  const std::string& GetHostProduct();

  void Process(float** inputs, float** outputs, vst::VstInt32 sampleFrames) override;
  void ProcessReplacing(float** inputs, float** outputs, vst::VstInt32 sampleFrames) override;
  void ProcessDoubleReplacing(double** inputs, double** outputs, vst::VstInt32 sampleFrames) override;

 private:
  template <typename Sample>
  void CopyOrMute(Sample** inputs, Sample** outputs, unsigned frames) const;
  template <typename Sample, typename Handler>
  void RunReplacing(const Handler& handler, Sample** inputs, Sample** outputs, vst::VstInt32 sampleFrames);

  std::string FHostProduct;
};

}  // namespace vornix::host
