// The file operations behind presets and configuration.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vornix::platform {

inline constexpr std::string_view PresetFileExtension = ".orvanep";

// Our file names are UTF-8 text. A std::filesystem::path made straight from a std::string reads
// it in the C library's narrow encoding on Windows, so paths are made and read through these.
std::filesystem::path FilePath(std::string_view utf8);
std::string FileNameText(const std::filesystem::path& path);

// Creates the folder and every missing parent; an existing folder is fine. Raises EOSError.
void ForceDirectories(const std::filesystem::path& folder);

// The names (with extension, without folder) of the regular files in the folder whose names end
// in `extension` (exactly, including case, so that name + extension opens the file again; ignoring
// ASCII case on Windows, whose file names ignore it), without hidden files (IsHiddenFile), sorted
// in the user's order ignoring letter case (TNameOrder). A missing or unreadable folder lists
// nothing.
std::vector<std::string> ListFiles(const std::filesystem::path& folder, std::string_view extension);

// Files a listing leaves out: dot files on POSIX systems; on Windows hidden and system files (and
// any whose attributes cannot be read).
bool IsHiddenFile(const std::filesystem::path& file) noexcept;

// The preset names of a folder: ListFiles with PresetFileExtension, each without the extension.
std::vector<std::string> ListPresetNames(const std::filesystem::path& folder);

// Deletes one file (never a folder); false when it is missing or cannot be deleted.
bool RemoveFile(const std::filesystem::path& fileName) noexcept;

// True for an existing file (following symbolic links); false for folders and anything else.
bool FileExists(const std::filesystem::path& fileName) noexcept;

// FileExists for a path that, after removing surrounding blanks and double quotes, is absolute
// (on Windows: with drive and root, or a UNC path). Relative paths are refused, so a file is never
// found relative to the host's working folder.
bool FileExistsAbsolute(std::string_view fileName) noexcept;

// Writes the bytes to a temporary file beside `fileName`, flushes it and renames it over
// `fileName`: the old file or the new one remains, never a part. Raises EOSError; the temporary
// file is removed on failure. The folder must exist. On POSIX systems a symbolic link to a file
// stays a link and its target is replaced.
void WriteFileAtomically(const std::filesystem::path& fileName, std::string_view bytes);

// Each \ / : * ? " < > | becomes "_". On POSIX systems names that start with "." would be hidden
// and so never listed; that dot becomes "_" too. The caller trims blanks first.
std::string MakeValidFileName(std::string_view name);

}  // namespace vornix::platform
