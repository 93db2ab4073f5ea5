// One program (preset) of the module: its name, its chunk bytes or its parameter values, and the
// events through which the concrete module stores and loads its state.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vornix::host {

class TVSTModuleWithPrograms;
class TCustomVstProgram;

// A growable byte buffer with a read/write position.
struct TMemoryStream {
  std::vector<std::uint8_t> Bytes;
  std::size_t Position = 0;

  void Clear() {
    Bytes.clear();
    Position = 0;
  }
  void Write(const void* data, std::size_t count);
  std::size_t Size() const { return Bytes.size(); }
};

using TChunkEvent = std::function<void(TCustomVstProgram& sender, int index, bool isPreset)>;

class TCustomVstProgram {
 public:
  TCustomVstProgram(TVSTModuleWithPrograms& module, bool withChunk, int parameterCount);

  const std::string& DisplayName() const { return FDisplayName; }
  void SetDisplayName(const std::string& name);
  TVSTModuleWithPrograms& VSTModule() const { return FModule; }

  // Only when the module keeps its state in chunks.
  bool HasChunk() const { return FHasChunk; }
  TMemoryStream Chunk;
  // Only when it does not.
  std::vector<float> ProgramParameters;

  float GetParameter(int index) const;
  void SetParameter(int index, float value);
  void AssignFrom(const TCustomVstProgram& other);

  std::function<void(TCustomVstProgram&)> OnInitialize;
  TChunkEvent OnStoreChunk;
  TChunkEvent OnLoadChunk;

 private:
  TVSTModuleWithPrograms& FModule;
  std::string FDisplayName = "Init";
  bool FHasChunk;
};

}  // namespace vornix::host
