#pragma once

// The chunk container around a state body: a 4-byte name, a 32-bit body size and the body.
// The program chunk handed to the host and a preset file are the same bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vornix {

using TChunkName = std::array<char, 4>;

// Layout variants of the header; every flag is off for the chunks the plug-in writes.
struct TChunkFlags {
  bool SizeBeforeName = false;
  bool BigEndianSize = false;
  bool PadToEven = false;           // a zero byte after an odd-sized body
  bool SizeIncludesHeader = false;  // the stored size counts the 8 header bytes too
};

// A header that does not belong to the chunk being loaded. Running out of bytes is an
// EReadError (StreamReadError) instead, like every other premature end.
class EChunkError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A chunk file that cannot be opened, read or written.
class EFileError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

class TCustomChunk {
 public:
  virtual ~TCustomChunk() = default;

  const TChunkName& ChunkName() const { return chunkName_; }
  std::string GetChunkNameAsString() const { return {chunkName_.begin(), chunkName_.end()}; }
  // Copies at most 4 characters; the rest of the name stays.
  void SetChunkName(std::string_view name);
  virtual std::uint32_t GetChunkSize() const = 0;

  TChunkFlags ChunkFlags;

  // Reads one chunk from the start of `bytes` and returns how many bytes it took. Never reads
  // past `bytes`.
  std::size_t LoadFromStream(std::span<const std::uint8_t> bytes);
  // Appends header and body to `out`.
  void SaveToStream(std::vector<std::uint8_t>& out) const;
  void LoadFromFile(const std::filesystem::path& path);
  // Writes a temporary file beside `path` and renames it over `path`, so that a crash while
  // saving leaves the old file or the new one, never a part of it.
  void SaveToFile(const std::filesystem::path& path) const;

 protected:
  explicit TCustomChunk(const TChunkName& name) : chunkName_(name) {}

  virtual void CheckChunkName(const TChunkName& stored) const = 0;
  virtual void ReadBody(std::span<const std::uint8_t> body) = 0;
  virtual void WriteBody(std::vector<std::uint8_t>& out) const = 0;

 private:
  TChunkName chunkName_;
};

// A chunk whose name is fixed by its class; loading refuses any other name.
class TDefinedChunk : public TCustomChunk {
 protected:
  explicit TDefinedChunk(const TChunkName& classChunkName)
      : TCustomChunk(classChunkName), classChunkName_(classChunkName) {}

  void CheckChunkName(const TChunkName& stored) const override;

 private:
  TChunkName classChunkName_;
};

// Holds the body in memory.
class TCustomMemoryStreamChunk : public TDefinedChunk {
 public:
  std::vector<std::uint8_t>& Body() { return body_; }
  const std::vector<std::uint8_t>& Body() const { return body_; }
  std::uint32_t GetChunkSize() const override;

 protected:
  using TDefinedChunk::TDefinedChunk;

  void ReadBody(std::span<const std::uint8_t> body) override;
  void WriteBody(std::vector<std::uint8_t>& out) const override;

 private:
  std::vector<std::uint8_t> body_;
};

class TMemoryStreamChunk final : public TCustomMemoryStreamChunk {
 public:
  static constexpr TChunkName kClassChunkName = {'m', 'm', 's', 't'};

  TMemoryStreamChunk() : TCustomMemoryStreamChunk(kClassChunkName) {}
};

}  // namespace vornix
