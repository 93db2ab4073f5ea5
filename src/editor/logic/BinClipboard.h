// The step clipboard: a byte stream kept under a format name on the system clipboard and, beside
// it, in a per-user file, so that copied steps outlive the editor (the X11 clipboard forgets them
// when the editor that owns them closes) and reach other processes and hosts.
//
// Which copy a paste sees: every put writes the same block to the system clipboard and then to the
// file, so the two differ only when the file was written by a later copy in an instance that does
// not share this system clipboard (another display, another window system); the file is newer
// then and wins. When they are equal either will do. So a whole block in the file is what a paste
// gets, and the system clipboard serves when there is no file (none written yet, or no documents
// folder). A file that is not exactly one block is never used. If a put cannot write the file, the
// old file is removed so that it cannot win over the newer copy; a put that can do neither fails.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/logic/ClipboardBlock.h"
#include "platform/Window.h"

namespace vornix::editor {

// <data folder>Clipboard; empty (no file) when the data folder is not an absolute path, so that
// nothing is ever written relative to the host's working folder.
std::filesystem::path StepClipboardFolder(std::string_view dataFolder);

class TBinClipboard {
 public:
  static constexpr std::string_view kDefaultFormatName = "VornixStepData";
  // Larger files are not ours: a stream of 64 steps takes 906 bytes.
  static constexpr std::uintmax_t kMaxFileSize = 1 << 20;

  // `fileFolder` empty: the system clipboard alone.
  TBinClipboard(platform::TWindowSystem& system, std::filesystem::path fileFolder);

  const std::string& FormatName() const { return formatName_; }
  void SetFormatName(std::string name) { formatName_ = std::move(name); }
  // <folder>/<format name>.bin, or empty without a folder.
  std::filesystem::path FileName() const;

  // True when the system clipboard holds the format or the file holds a block.
  bool HasStepData();
  // Replaces the clipboard's content with the block of `stream` and writes the file. Throws
  // EBinClipboardError when the file could neither be written nor removed (the system clipboard
  // holds the steps then).
  void PutStream(std::span<const std::uint8_t> stream);
  // The stream, or nothing when neither place holds step data. A broken block on the system
  // clipboard, with no file, raises EBinClipboardError "Invalid data in Clipboard!".
  std::optional<std::vector<std::uint8_t>> GetStream();

 private:
  std::optional<std::vector<std::uint8_t>> FileStream() const;

  platform::TWindowSystem& system_;
  std::filesystem::path folder_;
  std::string formatName_{kDefaultFormatName};
};

}  // namespace vornix::editor
