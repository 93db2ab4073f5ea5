// Programs, parameter properties and categories, parameter access and the chunk exchange.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/VSTModuleWithMidi.h"
#include "host/VstParameterProperty.h"
#include "host/VstProgram.h"

namespace vornix::host {

class TVSTModuleWithPrograms : public TVSTModuleWithMidi {
 public:
  TVSTModuleWithPrograms();
  ~TVSTModuleWithPrograms() override;

  // Programs.
  const std::vector<std::unique_ptr<TCustomVstProgram>>& Programs() const { return FPrograms; }
  TCustomVstProgram& AddProgram();
  int CurrentProgram() const { return FCurrentProgram; }
  void SetCurrentProgram(int program);
  std::string CurrentProgramName() const;
  void SetCurrentProgramName(const std::string& name);

  // Parameters.
  const std::vector<std::unique_ptr<TCustomVstParameterProperty>>& ParameterProperties() const { return FParameters; }
  TCustomVstParameterProperty& AddParameter();
  int numParams() const { return static_cast<int>(FParameters.size()); }
  std::vector<std::unique_ptr<TCustomVstParameterCategory>>& ParameterCategories() { return FCategories; }
  const std::vector<std::unique_ptr<TCustomVstParameterCategory>>& ParameterCategories() const { return FCategories; }
  void DeleteCategory(int position);
  // Recounts every category from the items' category names.
  void RecountCategories();
  std::vector<float> ModuleParameters;  // values when there are neither programs nor chunks

  float GetParameter(int index);
  // A change made by the module itself: applied, then reported to the host when automatable.
  void SetParameter(int index, float value);
  void SetParameterByName(const std::string& name, float value);
  // Index of the first parameter with exactly this display name, or -1.
  int IndexOfParameter(const std::string& name) const;
  // Stores and announces a value without telling the host.
  virtual void ApplyParameter(int index, float value);
  std::string GetParameterName(int index) const;
  std::string GetParameterLabel(int index);
  std::string GetParameterDisplay(int index);

  // The module-level events.
  TParameterChangeEvent OnParameterChange;
  std::function<void(TVSTModuleWithPrograms&, int index, float value)> OnParameterSizeFailed;
  std::function<float(TVSTModuleWithPrograms&, int index)> OnGetChunkParameter;
  TNotifyEvent OnBeforeProgramChange, OnAfterProgramChange, OnBeginSetProgram, OnEndSetProgram;
  std::function<void(TVSTModuleWithPrograms&, const vst::VstPatchChunkInfo&info)> OnBeginLoadBank, OnBeginLoadProgram;

  // Bytes of the last bank chunk handed to the host.
  const std::vector<std::uint8_t>& BankChunk() const { return FBankChunk; }

 protected:
  bool UsesProgramChunks() const { return Flags().Contains(TEffFlag::effFlagsProgramChunks); }
  virtual void ProgramChanged();

  void HostSetParameter(vst::VstInt32 index, float value) override;
  float HostGetParameter(vst::VstInt32 index) override;
  vst::VstIntPtr EditorOpen(void* parentWindow, vst::VstIntPtr value) override;

  vst::VstIntPtr HostCallSetProgram(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetProgram(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetProgramName(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetProgramName(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetParamLabel(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetParamDisplay(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetParamName(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetChunk(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetChunk(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallCanBeAutomated(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallString2Parameter(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetNumProgramCategories(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetProgramNameIndexed(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetParameterProperties(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallVendorSpecific(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallBeginSetProgram(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallEndSetProgram(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallBeginLoadBank(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallBeginLoadProgram(vst::VstInt32, vst::VstIntPtr, void*, float) override;

 private:
  bool ValidIndex(int index) const { return index >= 0 && index < numParams(); }
  void ResizeStoredValues();

  std::vector<std::unique_ptr<TCustomVstProgram>> FPrograms;
  std::vector<std::unique_ptr<TCustomVstParameterProperty>> FParameters;
  std::vector<std::unique_ptr<TCustomVstParameterCategory>> FCategories;
  int FCurrentProgram = -1;
  std::vector<std::uint8_t> FBankChunk;
};

// The longest parameter text handed to a host (with its zero). Hosts give at least this much room
// for names in practice; the interface's nominal 8 would cut "Seq1 Rate Type" to nothing useful.
constexpr std::size_t kParameterTextBuffer = 32;

}  // namespace vornix::host
