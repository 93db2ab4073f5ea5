#include "platform/Win32Clipboard.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/WinText.h"

namespace vornix::platform::detail {

namespace {

constexpr int kOpenTries = 30;
constexpr DWORD kOpenPauseMs = 10;

class TOpenClipboard {
 public:
  explicit TOpenClipboard(HWND owner) {
    for (int i = 0; i < kOpenTries && !open_; ++i) {
      open_ = OpenClipboard(owner) != 0;
      if (!open_) Sleep(kOpenPauseMs);
    }
  }
  ~TOpenClipboard() {
    if (open_) CloseClipboard();
  }
  TOpenClipboard(const TOpenClipboard&) = delete;
  TOpenClipboard& operator=(const TOpenClipboard&) = delete;
  bool Open() const { return open_; }

 private:
  bool open_ = false;
};

// Global memory that is freed unless the clipboard took it.
class TGlobalBlock {
 public:
  explicit TGlobalBlock(std::size_t size) : handle_(GlobalAlloc(GMEM_MOVEABLE, size == 0 ? 1 : size)) {}
  ~TGlobalBlock() {
    if (handle_ != nullptr) GlobalFree(handle_);
  }
  TGlobalBlock(const TGlobalBlock&) = delete;
  TGlobalBlock& operator=(const TGlobalBlock&) = delete;
  HGLOBAL Get() const { return handle_; }
  HGLOBAL Release() { return std::exchange(handle_, nullptr); }

 private:
  HGLOBAL handle_;
};

}  // namespace

UINT ClipboardFormat(const std::string& name) {
  if (name.empty()) throw std::invalid_argument("a clipboard format needs a name");
  const UINT format = RegisterClipboardFormatW(WideFromUtf8(name).c_str());
  if (format == 0) throw std::runtime_error("cannot register the clipboard format \"" + name + "\"");
  return format;
}

void PutClipboard(HWND owner, UINT format, const std::vector<std::uint8_t>& data) {
  TGlobalBlock block(data.size());
  if (block.Get() == nullptr) throw std::runtime_error("not enough memory for the clipboard");
  if (void* p = GlobalLock(block.Get())) {
    if (!data.empty()) std::memcpy(p, data.data(), data.size());
    GlobalUnlock(block.Get());
  } else {
    throw std::runtime_error("not enough memory for the clipboard");
  }
  const TOpenClipboard clipboard(owner);
  if (!clipboard.Open()) throw std::runtime_error("the clipboard is in use by another program");
  EmptyClipboard();
  if (SetClipboardData(format, block.Get()) == nullptr) throw std::runtime_error("the clipboard did not take the data");
  block.Release();  // the clipboard's now
}

std::optional<std::vector<std::uint8_t>> ReadClipboard(UINT format) {
  if (!IsClipboardFormatAvailable(format)) return std::nullopt;
  const TOpenClipboard clipboard(nullptr);
  if (!clipboard.Open()) return std::nullopt;
  HANDLE handle = GetClipboardData(format);
  if (handle == nullptr) return std::nullopt;
  const std::size_t size = GlobalSize(handle);
  const void* p = GlobalLock(handle);
  if (p == nullptr) return std::nullopt;
  std::vector<std::uint8_t> data(static_cast<const std::uint8_t*>(p), static_cast<const std::uint8_t*>(p) + size);
  GlobalUnlock(handle);
  return data;
}

}  // namespace vornix::platform::detail
