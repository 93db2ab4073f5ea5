// File operations through the Windows API, with UTF-16 file names.
#include <windows.h>

#include <atomic>
#include <string>

#include "platform/Files.h"
#include "platform/PlatformError.h"

namespace vornix::platform {

namespace {
std::atomic<unsigned> temporaryCounter{0};
}  // namespace

// DeleteFileW refuses folders.
bool RemoveFile(const std::filesystem::path& fileName) noexcept { return DeleteFileW(fileName.c_str()) != 0; }

bool IsHiddenFile(const std::filesystem::path& file) noexcept {
  const DWORD attributes = GetFileAttributesW(file.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

void WriteFileAtomically(const std::filesystem::path& fileName, std::string_view bytes) {
  const auto folder = fileName.parent_path();
  const std::wstring base = fileName.filename().wstring();
  std::filesystem::path temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
    temporary = folder / (L"." + base + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
                          std::to_wstring(temporaryCounter.fetch_add(1)) + L".tmp");
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    if (file == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) RaiseWindowsError("Cannot create file", FileNameText(temporary), error);

  auto fail = [&](const char* action, DWORD failure) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    DeleteFileW(temporary.c_str());
    RaiseWindowsError(action, FileNameText(fileName), failure);
  };
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr)) fail("Cannot write file", GetLastError());
    data += written;
    left -= written;
  }
  if (!FlushFileBuffers(file)) fail("Cannot write file", GetLastError());
  const BOOL closed = CloseHandle(file);
  file = INVALID_HANDLE_VALUE;
  if (!closed) fail("Cannot write file", GetLastError());
  if (!MoveFileExW(temporary.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    fail("Cannot replace file", GetLastError());
}

}  // namespace vornix::platform
