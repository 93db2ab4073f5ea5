// The step clipboard: a byte stream kept under a format name on the system clipboard and, beside
// it, in a per-user file, so that copied steps outlive the editor (the X11 clipboard forgets them
// when the editor that owns them closes) and reach other processes and hosts.
//
// Which copy a paste sees: the system clipboard holds the user's latest copy, of steps or of
// anything else, for as long as some program holds it; it is then the only truth, so text copied
// since the steps disables "Paste Steps", and steps copied by an instance with another documents
// folder (a sandboxed host) win over an older file here. Only when no program holds the clipboard
// (the editor that copied has closed) does the file serve; it is the latest copy this user made
// in any editor that writes it. A file that is not exactly one block is never used. If a put
// cannot write the file, the old file is removed so that it cannot stand in for the newer copy
// later; a put that can do neither fails.
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

  // True when the system clipboard is held and holds the format, or when it is not held and the
  // file holds a block.
  bool HasStepData();
  // Replaces the clipboard's content with the block of `stream` and writes the file. Throws
  // EBinClipboardError when the file could neither be written nor removed (the system clipboard
  // holds the steps then).
  void PutStream(std::span<const std::uint8_t> stream);
  // The stream from the place HasStepData looks at, or nothing when it holds no step data. A broken
  // block on the system clipboard raises EBinClipboardError "Invalid data in Clipboard!".
  std::optional<std::vector<std::uint8_t>> GetStream();

 private:
  std::optional<std::vector<std::uint8_t>> FileStream() const;

  platform::TWindowSystem& system_;
  std::filesystem::path folder_;
  std::string formatName_{kDefaultFormatName};
};

}  // namespace vornix::editor
