#include "plugin/stream/Chunk.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <random>

#include "plugin/stream/TaggedValues.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vornix {
namespace {

constexpr std::size_t kHeaderSize = 8;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const std::filesystem::path& path, bool forWriting) {
#ifdef _WIN32
  return File(_wfopen(path.c_str(), forWriting ? L"wb" : L"rb"));
#else
  return File(std::fopen(path.c_str(), forWriting ? "wb" : "rb"));
#endif
}

std::string FileMessage(const char* what, const std::filesystem::path& path, int error) {
  return std::string(what) + " \"" + path.string() + "\". " + std::strerror(error);
}

bool FlushToDisk(std::FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

std::uint32_t ReadSize(const std::uint8_t* p, bool bigEndian) {
  std::uint32_t size = 0;
  for (int i = 0; i < 4; ++i) size |= std::uint32_t{p[bigEndian ? 3 - i : i]} << (8 * i);
  return size;
}

void AppendSize(std::vector<std::uint8_t>& out, std::uint32_t size, bool bigEndian) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(size >> (8 * (bigEndian ? 3 - i : i))));
}

}  // namespace

void TCustomChunk::SetChunkName(std::string_view name) {
  std::copy_n(name.begin(), std::min<std::size_t>(name.size(), chunkName_.size()), chunkName_.begin());
}

std::size_t TCustomChunk::LoadFromStream(std::span<const std::uint8_t> bytes) {
  const std::size_t nameAt = ChunkFlags.SizeBeforeName ? 4 : 0;
  const std::size_t sizeAt = ChunkFlags.SizeBeforeName ? 0 : 4;
  // A foreign block is named as such even when it is too short to be a chunk at all.
  if (bytes.size() >= nameAt + 4) {
    TChunkName stored;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(nameAt), 4, stored.begin());
    CheckChunkName(stored);
  }
  if (bytes.size() < kHeaderSize) throw EReadError(ReadErrorKind::StreamReadError);

  std::uint64_t bodySize = ReadSize(bytes.data() + sizeAt, ChunkFlags.BigEndianSize);
  if (ChunkFlags.SizeIncludesHeader) {
    if (bodySize < kHeaderSize) throw EChunkError("Invalid chunk size");
    bodySize -= kHeaderSize;
  }
  if (bodySize > bytes.size() - kHeaderSize) throw EReadError(ReadErrorKind::StreamReadError);

  const auto body = bytes.subspan(kHeaderSize, static_cast<std::size_t>(bodySize));
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(nameAt), 4, chunkName_.begin());
  ReadBody(body);
  std::size_t used = kHeaderSize + body.size();
  if (ChunkFlags.PadToEven && body.size() % 2 != 0 && used < bytes.size()) ++used;
  return used;
}

void TCustomChunk::SaveToStream(std::vector<std::uint8_t>& out) const {
  const std::uint32_t bodySize = GetChunkSize();
  if (ChunkFlags.SizeIncludesHeader && bodySize > std::numeric_limits<std::uint32_t>::max() - kHeaderSize)
    throw std::length_error("Chunk too large");
  const auto stored = static_cast<std::uint32_t>(bodySize + (ChunkFlags.SizeIncludesHeader ? kHeaderSize : 0));

  if (ChunkFlags.SizeBeforeName) AppendSize(out, stored, ChunkFlags.BigEndianSize);
  out.insert(out.end(), chunkName_.begin(), chunkName_.end());
  if (!ChunkFlags.SizeBeforeName) AppendSize(out, stored, ChunkFlags.BigEndianSize);
  WriteBody(out);
  if (ChunkFlags.PadToEven && bodySize % 2 != 0) out.push_back(0);
}

void TCustomChunk::LoadFromFile(const std::filesystem::path& path) {
  const File f = OpenFile(path, false);
  if (!f) throw EFileError(FileMessage("Cannot open file", path, errno));
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  if (std::ferror(f.get())) throw EFileError(FileMessage("Cannot read file", path, errno));
  LoadFromStream(bytes);
}

void TCustomChunk::SaveToFile(const std::filesystem::path& path) const {
  std::vector<std::uint8_t> bytes;
  SaveToStream(bytes);

  std::random_device random;
  const std::uint64_t tag = (std::uint64_t{random()} << 32) ^ random();
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(tag));
  std::filesystem::path temporary = path;
  temporary += suffix;

  int error = 0;
  {
    File f = OpenFile(temporary, true);
    if (!f) throw EFileError(FileMessage("Cannot create file", path, errno));
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size() && FlushToDisk(f.get()) &&
                         std::fclose(f.release()) == 0;
    if (!written) error = errno != 0 ? errno : EIO;
  }
  std::error_code ec;
  if (error == 0) {
    std::filesystem::rename(temporary, path, ec);
    if (!ec) return;
    error = ec.value();
  }
  std::filesystem::remove(temporary, ec);
  throw EFileError(FileMessage("Cannot create file", path, error));
}

void TDefinedChunk::CheckChunkName(const TChunkName& stored) const {
  if (stored != classChunkName_) throw EChunkError("Invalid chunk name");
}

std::uint32_t TCustomMemoryStreamChunk::GetChunkSize() const {
  if (body_.size() > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("Chunk too large");
  return static_cast<std::uint32_t>(body_.size());
}

void TCustomMemoryStreamChunk::ReadBody(std::span<const std::uint8_t> body) { body_.assign(body.begin(), body.end()); }

void TCustomMemoryStreamChunk::WriteBody(std::vector<std::uint8_t>& out) const {
  out.insert(out.end(), body_.begin(), body_.end());
}

}  // namespace vornix
