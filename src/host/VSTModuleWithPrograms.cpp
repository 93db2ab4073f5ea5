#include "host/VSTModuleWithPrograms.h"

#include <cstring>

#include "host/HostText.h"

namespace vornix::host {

using namespace vst;

namespace {

void AppendInt32LE(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::int32_t ReadInt32LE(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                   static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

void TMemoryStream::Write(const void* data, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  if (Position + count > Bytes.size()) Bytes.resize(Position + count);
  std::memcpy(Bytes.data() + Position, bytes, count);
  Position += count;
}

TCustomVstProgram::TCustomVstProgram(TVSTModuleWithPrograms& module, bool withChunk, int parameterCount)
    : FModule(module), FHasChunk(withChunk) {
  if (!withChunk) ProgramParameters.assign(static_cast<std::size_t>(parameterCount), 0.0f);
}

void TCustomVstProgram::SetDisplayName(const std::string& name) { FDisplayName = CutText(name, 50); }

float TCustomVstProgram::GetParameter(int index) const {
  if (index < 0 || index >= FModule.numParams() || index >= static_cast<int>(ProgramParameters.size())) return 0.0f;
  return ProgramParameters[static_cast<std::size_t>(index)];
}

void TCustomVstProgram::SetParameter(int index, float value) {
  if (FHasChunk || index < 0 || index >= FModule.numParams() || index >= static_cast<int>(ProgramParameters.size()))
    return;
  ProgramParameters[static_cast<std::size_t>(index)] = value;
}

void TCustomVstProgram::AssignFrom(const TCustomVstProgram& other) {
  ProgramParameters = other.ProgramParameters;
  Chunk = other.Chunk;
  OnInitialize = other.OnInitialize;
  OnStoreChunk = other.OnStoreChunk;
  OnLoadChunk = other.OnLoadChunk;
  FDisplayName = other.FDisplayName;
}

TVSTModuleWithPrograms::TVSTModuleWithPrograms() = default;

TVSTModuleWithPrograms::~TVSTModuleWithPrograms() {
  // The editor may still look at parameters while it closes; it goes first.
  DestroyEditorForm();
}

TCustomVstProgram& TVSTModuleWithPrograms::AddProgram() {
  FPrograms.push_back(std::make_unique<TCustomVstProgram>(*this, UsesProgramChunks(), numParams()));
  FEffect.numPrograms = static_cast<VstInt32>(FPrograms.size());
  if (FCurrentProgram == -1) FCurrentProgram = 0;
  return *FPrograms.back();
}

TCustomVstParameterProperty& TVSTModuleWithPrograms::AddParameter() {
  FParameters.push_back(std::make_unique<TCustomVstParameterProperty>(*this, numParams() + 1));
  FEffect.numParams = numParams();
  ResizeStoredValues();
  return *FParameters.back();
}

void TVSTModuleWithPrograms::ResizeStoredValues() {
  if (UsesProgramChunks()) return;
  const auto n = static_cast<std::size_t>(numParams());
  if (FPrograms.empty())
    ModuleParameters.resize(n, 0.0f);
  else
    for (auto& p : FPrograms) p->ProgramParameters.resize(n, 0.0f);
}

void TVSTModuleWithPrograms::DeleteCategory(int position) {
  if (position < 0 || position >= static_cast<int>(FCategories.size())) return;
  const std::string name = FCategories[static_cast<std::size_t>(position)]->DisplayName();
  for (auto& p : FParameters) {
    if (p->Category() == name) p->ClearCategoryQuietly();
  }
  FCategories.erase(FCategories.begin() + position);
}

void TVSTModuleWithPrograms::RecountCategories() {
  for (auto& c : FCategories) {
    c->FParametersInCategory = 0;
    for (auto& p : FParameters) c->FParametersInCategory += p->Category() == c->DisplayName() ? 1 : 0;
  }
}

void TVSTModuleWithPrograms::SetCurrentProgram(int program) {
  if (FPrograms.empty() || program < 0 || program >= static_cast<int>(FPrograms.size()) || program == FCurrentProgram)
    return;
  const bool hadProgram = FCurrentProgram >= 0;
  if (OnBeforeProgramChange) OnBeforeProgramChange(*this);
  FCurrentProgram = program;
  if (OnAfterProgramChange) OnAfterProgramChange(*this);
  if (hadProgram) ProgramChanged();
}

void TVSTModuleWithPrograms::ProgramChanged() {
  const auto& values = FPrograms[static_cast<std::size_t>(FCurrentProgram)]->ProgramParameters;
  try {
    for (std::size_t i = 0; i < values.size(); ++i) ApplyParameter(static_cast<int>(i), values[i]);
  } catch (...) {
    // Stops at the first value that cannot be applied.
  }
  EditorNeedsUpdate = true;
  HostUpdateDisplay();
}

std::string TVSTModuleWithPrograms::CurrentProgramName() const {
  if (FCurrentProgram < 0 || FCurrentProgram >= static_cast<int>(FPrograms.size())) return {};
  return FPrograms[static_cast<std::size_t>(FCurrentProgram)]->DisplayName();
}

void TVSTModuleWithPrograms::SetCurrentProgramName(const std::string& name) {
  if (FCurrentProgram >= 0 && FCurrentProgram < static_cast<int>(FPrograms.size())) {
    FPrograms[static_cast<std::size_t>(FCurrentProgram)]->SetDisplayName(name);
    EditorNeedsUpdate = true;
  }
  HostUpdateDisplay();
}

float TVSTModuleWithPrograms::GetParameter(int index) {
  if (UsesProgramChunks()) return OnGetChunkParameter ? OnGetChunkParameter(*this, index) : 0.0f;
  if (FPrograms.empty()) {
    return (index >= 0 && index < static_cast<int>(ModuleParameters.size()))
               ? ModuleParameters[static_cast<std::size_t>(index)]
               : 0.0f;
  }
  return FPrograms[static_cast<std::size_t>(FCurrentProgram)]->GetParameter(index);
}

void TVSTModuleWithPrograms::SetParameter(int index, float value) {
  if (!ValidIndex(index)) return;
  ApplyParameter(index, value);
  const auto& item = *FParameters[static_cast<std::size_t>(index)];
  if (item.CanBeAutomated) HostAutomate(index, item.NormalizeValue(value));
}

int TVSTModuleWithPrograms::IndexOfParameter(const std::string& name) const {
  for (std::size_t i = 0; i < FParameters.size(); ++i) {
    if (FParameters[i]->DisplayName() == name) return static_cast<int>(i);
  }
  return -1;
}

void TVSTModuleWithPrograms::SetParameterByName(const std::string& name, float value) {
  if (FParameters.empty()) throw EVstError("No parameter available!");
  const int index = IndexOfParameter(name);
  if (index < 0) throw EVstError("Unknown parameter name: " + name);
  SetParameter(index, value);
}

void TVSTModuleWithPrograms::ApplyParameter(int index, float value) {
  if (!ValidIndex(index)) throw EVstError("Index out of bounds (" + std::to_string(index) + ")");
  auto& item = *FParameters[static_cast<std::size_t>(index)];
  const auto i = static_cast<std::size_t>(index);
  if (UsesProgramChunks()) {
    if (item.OnParameterChange) item.OnParameterChange(*this, index, value);
    if (OnParameterChange) OnParameterChange(*this, index, value);
  } else {
    float* stored = FPrograms.empty()
                        ? (i < ModuleParameters.size() ? &ModuleParameters[i] : nullptr)
                        : (i < FPrograms[static_cast<std::size_t>(FCurrentProgram)]->ProgramParameters.size()
                               ? &FPrograms[static_cast<std::size_t>(FCurrentProgram)]->ProgramParameters[i]
                               : nullptr);
    if (stored != nullptr) *stored = value;
    float v = value;
    if (item.OnParameterChange) item.OnParameterChange(*this, index, v);
    if (OnParameterChange) OnParameterChange(*this, index, v);
    if (stored != nullptr) *stored = v;
  }
  EditorNeedsUpdate = true;
}

std::string TVSTModuleWithPrograms::GetParameterName(int index) const {
  if (!ValidIndex(index)) return "undefined";
  const std::string& name = FParameters[static_cast<std::size_t>(index)]->DisplayName();
  return TruncateStrings ? CutText(name, 8) : name;
}

std::string TVSTModuleWithPrograms::GetParameterLabel(int index) {
  if (!ValidIndex(index)) return "undefined";
  auto& item = *FParameters[static_cast<std::size_t>(index)];
  std::string label = item.Units;
  if (item.OnCustomParameterLabel) item.OnCustomParameterLabel(*this, index, label);
  return TruncateStrings ? CutText(label, 8) : label;
}

std::string TVSTModuleWithPrograms::GetParameterDisplay(int index) {
  if (!ValidIndex(index)) return "undefined";
  std::string text;
  try {
    auto& item = *FParameters[static_cast<std::size_t>(index)];
    text = UsesProgramChunks() ? FormatParameterValue(-1, GetParameter(index))
                               : FormatParameterValue(4, GetParameter(index));
    if (item.OnCustomParameterDisplay) item.OnCustomParameterDisplay(*this, index, text);
  } catch (...) {
    text = "error";
  }
  return TruncateStrings ? CutText(text, 8) : text;
}

void TVSTModuleWithPrograms::HostSetParameter(VstInt32 index, float value) {
  if (!ValidIndex(index)) {
    if (OnParameterSizeFailed) OnParameterSizeFailed(*this, index, value);
    return;
  }
  ApplyParameter(index, FParameters[static_cast<std::size_t>(index)]->DenormalizeValue(value));
}

float TVSTModuleWithPrograms::HostGetParameter(VstInt32 index) {
  if (!ValidIndex(index)) return 0.0f;
  return FParameters[static_cast<std::size_t>(index)]->NormalizeValue(GetParameter(index));
}

VstIntPtr TVSTModuleWithPrograms::EditorOpen(void* parentWindow, VstIntPtr value) {
  const VstIntPtr opened = TVSTModuleWithMidi::EditorOpen(parentWindow, value);
  // Without chunks the new editor learns every value through the change event once more.
  if (opened != 0 && !UsesProgramChunks() && OnParameterChange) {
    for (int i = 0; i < numParams(); ++i) {
      float v = GetParameter(i);
      OnParameterChange(*this, i, v);
    }
  }
  return opened;
}

VstIntPtr TVSTModuleWithPrograms::HostCallSetProgram(VstInt32, VstIntPtr value, void*, float) {
  if (value >= 0 && value < static_cast<VstIntPtr>(FPrograms.size())) SetCurrentProgram(static_cast<int>(value));
  return 0;
}

VstIntPtr TVSTModuleWithPrograms::HostCallGetProgram(VstInt32, VstIntPtr, void*, float) { return FCurrentProgram; }

VstIntPtr TVSTModuleWithPrograms::HostCallSetProgramName(VstInt32, VstIntPtr, void* ptr, float) {
  if (ptr != nullptr && !FPrograms.empty() && FCurrentProgram >= 0)
    FPrograms[static_cast<std::size_t>(FCurrentProgram)]->SetDisplayName(FromHostText(static_cast<const char*>(ptr)));
  return 0;
}

VstIntPtr TVSTModuleWithPrograms::HostCallGetProgramName(VstInt32, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr) return 0;
  const std::string name = CurrentProgramName();
  CopyToHostBuffer(ptr, TruncateStrings ? CutText(name, 24) : name, kVstMaxProgNameLen);
  return 0;
}

VstIntPtr TVSTModuleWithPrograms::HostCallGetProgramNameIndexed(VstInt32 index, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr || index < 0 || index >= static_cast<int>(FPrograms.size())) return 0;
  const std::string& name = FPrograms[static_cast<std::size_t>(index)]->DisplayName();
  CopyToHostBuffer(ptr, TruncateStrings ? CutText(name, 24) : name, kVstMaxProgNameLen);
  return 1;
}

VstIntPtr TVSTModuleWithPrograms::HostCallGetParamLabel(VstInt32 index, VstIntPtr, void* ptr, float) {
  if (ptr != nullptr) CopyToHostBuffer(ptr, GetParameterLabel(index), kParameterTextBuffer);
  return 0;
}

VstIntPtr TVSTModuleWithPrograms::HostCallGetParamDisplay(VstInt32 index, VstIntPtr, void* ptr, float) {
  if (ptr != nullptr) CopyToHostBuffer(ptr, GetParameterDisplay(index), kParameterTextBuffer);
  return 0;
}

VstIntPtr TVSTModuleWithPrograms::HostCallGetParamName(VstInt32 index, VstIntPtr, void* ptr, float) {
  if (ptr != nullptr) CopyToHostBuffer(ptr, GetParameterName(index), kParameterTextBuffer);
  return 0;
}

VstIntPtr TVSTModuleWithPrograms::HostCallGetChunk(VstInt32 index, VstIntPtr, void* ptr, float) {
  if (FPrograms.empty() || ptr == nullptr) return 0;
  auto** out = static_cast<void**>(ptr);
  if (index != 0) {
    TCustomVstProgram& p = *FPrograms[static_cast<std::size_t>(FCurrentProgram)];
    p.Chunk.Position = 0;
    if (p.OnStoreChunk) p.OnStoreChunk(p, FCurrentProgram, true);
    *out = p.Chunk.Bytes.data();
    return static_cast<VstIntPtr>(p.Chunk.Size());
  }
  FBankChunk.clear();
  for (std::size_t i = 0; i < FPrograms.size(); ++i) {
    TCustomVstProgram& p = *FPrograms[i];
    p.Chunk.Position = 0;
    if (p.OnStoreChunk) p.OnStoreChunk(p, static_cast<int>(i), false);
    AppendInt32LE(FBankChunk, static_cast<std::uint32_t>(p.Chunk.Size()));
    FBankChunk.insert(FBankChunk.end(), p.Chunk.Bytes.begin(), p.Chunk.Bytes.end());
  }
  *out = FBankChunk.data();
  return static_cast<VstIntPtr>(FBankChunk.size());
}

VstIntPtr TVSTModuleWithPrograms::HostCallSetChunk(VstInt32 index, VstIntPtr value, void* ptr, float) {
  if (FPrograms.empty() || ptr == nullptr || value < 0) return 0;
  const auto* bytes = static_cast<const std::uint8_t*>(ptr);
  const auto size = static_cast<std::size_t>(value);
  if (index != 0) {
    TCustomVstProgram& p = *FPrograms[static_cast<std::size_t>(FCurrentProgram)];
    p.Chunk.Bytes.assign(bytes, bytes + size);
    p.Chunk.Position = 0;
    if (p.OnLoadChunk) p.OnLoadChunk(p, FCurrentProgram, true);
  } else {
    // A bank whose length prefixes run past the given size is refused before anything changes.
    std::size_t offset = 0;
    for (std::size_t i = 0; i < FPrograms.size(); ++i) {
      if (size - offset < 4) return 0;
      const std::int32_t n = ReadInt32LE(bytes + offset);
      if (n < 0 || static_cast<std::size_t>(n) > size - offset - 4) return 0;
      offset += 4 + static_cast<std::size_t>(n);
    }
    offset = 0;
    for (std::size_t i = 0; i < FPrograms.size(); ++i) {
      TCustomVstProgram& p = *FPrograms[i];
      const auto n = static_cast<std::size_t>(ReadInt32LE(bytes + offset));
      p.Chunk.Bytes.assign(bytes + offset + 4, bytes + offset + 4 + n);
      p.Chunk.Position = 0;
      if (p.OnLoadChunk) p.OnLoadChunk(p, static_cast<int>(i), false);
      offset += 4 + n;
    }
    TCustomVstProgram& current = *FPrograms[static_cast<std::size_t>(FCurrentProgram)];
    if (current.OnLoadChunk) current.OnLoadChunk(current, FCurrentProgram, false);
  }
  EditorNeedsUpdate = true;
  return value;
}

VstIntPtr TVSTModuleWithPrograms::HostCallCanBeAutomated(VstInt32 index, VstIntPtr, void*, float) {
  if (!ValidIndex(index)) return 1;
  return FParameters[static_cast<std::size_t>(index)]->CanBeAutomated ? 1 : 0;
}

VstIntPtr TVSTModuleWithPrograms::HostCallString2Parameter(VstInt32 index, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr || !ValidIndex(index)) return 0;
  auto& item = *FParameters[static_cast<std::size_t>(index)];
  const std::string text = FromHostText(static_cast<const char*>(ptr));
  const VstIntPtr result = (item.OnStringToParameter || item.UseDefaultString2ParameterHandler) ? 1 : 0;
  float v = GetParameter(index);
  if (item.UseDefaultString2ParameterHandler) ParseParameterString(text, item.Units, v);
  if (item.OnStringToParameter) item.OnStringToParameter(*this, index, text, v);
  SetParameter(index, v);
  return result;
}

VstIntPtr TVSTModuleWithPrograms::HostCallGetNumProgramCategories(VstInt32, VstIntPtr, void*, float) {
  return numCategories;
}

VstIntPtr TVSTModuleWithPrograms::HostCallGetParameterProperties(VstInt32 index, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr || !ValidIndex(index)) return 0;
  const auto& item = *FParameters[static_cast<std::size_t>(index)];
  if (!item.ReportVST2Properties) return 0;
  item.FillProperties(*static_cast<VstParameterProperties*>(ptr), index);
  return 1;
}

VstIntPtr TVSTModuleWithPrograms::HostCallVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  VstIntPtr result = TVSTModuleWithMidi::HostCallVendorSpecific(index, value, ptr, opt);
  if (!CanDos.Contains(TVstCanDo::vcdCockosExtension) || ptr == nullptr || value < 0 || value >= numParams())
    return result;
  const auto param = static_cast<int>(value);
  auto& item = *FParameters[static_cast<std::size_t>(param)];
  if (static_cast<std::uint32_t>(index) == 0xDEADBEF0u) {
    const float range[2] = {0.0f, 1.0f};
    std::memcpy(ptr, range, sizeof range);
    result = 0xBEEF;
  } else if (index == effGetParamDisplay) {
    std::string text = FormatParameterValue(5, opt);
    if (item.OnCustomParameterDisplay) item.OnCustomParameterDisplay(*this, param, text);
    std::string units = item.Units;
    if (item.OnCustomParameterLabel) item.OnCustomParameterLabel(*this, param, units);
    if (!units.empty()) text += " " + units;
    CopyToHostBuffer(ptr, text, kParameterTextBuffer);
    result = 0xBEEF;
  }
  return result;
}

VstIntPtr TVSTModuleWithPrograms::HostCallBeginSetProgram(VstInt32, VstIntPtr, void*, float) {
  if (!OnBeginSetProgram) return 0;
  OnBeginSetProgram(*this);
  return 1;
}

VstIntPtr TVSTModuleWithPrograms::HostCallEndSetProgram(VstInt32, VstIntPtr, void*, float) {
  if (!OnEndSetProgram) return 0;
  OnEndSetProgram(*this);
  return 1;
}

VstIntPtr TVSTModuleWithPrograms::HostCallBeginLoadBank(VstInt32, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr) return 0;
  const auto& info = *static_cast<const VstPatchChunkInfo*>(ptr);
  if (OnBeginLoadBank) OnBeginLoadBank(*this, info);
  return info.pluginUniqueID == FEffect.uniqueID ? 1 : -1;
}

VstIntPtr TVSTModuleWithPrograms::HostCallBeginLoadProgram(VstInt32, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr) return 0;
  const auto& info = *static_cast<const VstPatchChunkInfo*>(ptr);
  if (OnBeginLoadProgram) OnBeginLoadProgram(*this, info);
  return info.pluginUniqueID == FEffect.uniqueID ? 1 : -1;
}

}  // namespace vornix::host
