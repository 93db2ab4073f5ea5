#include "editor/logic/BinClipboard.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "platform/Files.h"
#include "platform/PlatformError.h"

namespace vornix::editor {

std::filesystem::path StepClipboardFolder(std::string_view dataFolder) {
  const std::filesystem::path folder = platform::FilePath(dataFolder);
  if (!folder.is_absolute()) return {};
  return folder / "Clipboard";
}

TBinClipboard::TBinClipboard(platform::TWindowSystem& system, std::filesystem::path fileFolder)
    : system_(system), folder_(std::move(fileFolder)) {}

std::filesystem::path TBinClipboard::FileName() const {
  if (folder_.empty()) return {};
  return folder_ / platform::FilePath(platform::MakeValidFileName(formatName_) + ".bin");
}

bool TBinClipboard::HasStepData() {
  if (system_.ClipboardHasOwner()) return system_.HasClipboard(formatName_);
  return FileStream().has_value();
}

void TBinClipboard::PutStream(std::span<const std::uint8_t> stream) {
  const std::vector<std::uint8_t> block = MakeClipboardBlock(stream);
  system_.SetClipboard(formatName_, block);
  const std::filesystem::path file = FileName();
  if (file.empty()) return;
  try {
    platform::ForceDirectories(folder_);
    platform::WriteFileAtomically(file, {reinterpret_cast<const char*>(block.data()), block.size()});
  } catch (const std::exception& e) {
    std::error_code removeError, existsError;
    std::filesystem::remove(file, removeError);
    if (removeError && std::filesystem::exists(file, existsError)) throw EBinClipboardError(e.what());
  }
}

std::optional<std::vector<std::uint8_t>> TBinClipboard::GetStream() {
  if (!system_.ClipboardHasOwner()) return FileStream();
  const auto block = system_.GetClipboard(formatName_);
  if (!block) return std::nullopt;
  const auto stream = ClipboardBlockStream(*block);
  return std::vector<std::uint8_t>(stream.begin(), stream.end());
}

std::optional<std::vector<std::uint8_t>> TBinClipboard::FileStream() const {
  const std::filesystem::path file = FileName();
  if (file.empty()) return std::nullopt;
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || size < 4 || size > kMaxFileSize) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  std::vector<std::uint8_t> block(static_cast<std::size_t>(size));
  if (!in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(block.size()))) return std::nullopt;
  // Only a whole block of ours: exactly its length field and nothing after it.
  try {
    const auto stream = ClipboardBlockStream(block);
    if (stream.size() + 4 != block.size()) return std::nullopt;
    return std::vector<std::uint8_t>(stream.begin(), stream.end());
  } catch (const EBinClipboardError&) {
    return std::nullopt;
  }
}

}  // namespace vornix::editor
