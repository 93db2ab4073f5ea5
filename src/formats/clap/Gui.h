// The editor inside the host's window (X11 on Linux, Win32 on Windows), at the size of its zoom (the
// host is asked to resize when the user zooms); the same editor the VST 2.x build opens, idled from
// the host's main loop.
//
// Threads: the main thread only, which becomes the editor's thread.
#pragma once

#include <cstdint>

#include "formats/clap/ClapAbi.h"
#include "formats/clap/EditorIdle.h"
#include "formats/clap/HostLink.h"
#include "formats/common/EffectHost.h"

namespace vornix::formats::clapface {

class TGui {
 public:
#if defined(_WIN32)
  static constexpr const char* kApi = clap::CLAP_WINDOW_API_WIN32;
#else
  static constexpr const char* kApi = clap::CLAP_WINDOW_API_X11;
#endif

  TGui(TEffectHost& effect, const THostLink& host)
      : effect_(effect), host_(host), idle_(host, [this] { effect_.IdleEditor(); }) {}
  ~TGui() { Destroy(); }
  TGui(const TGui&) = delete;
  TGui& operator=(const TGui&) = delete;

  // Embedded only; the editor is made only where the host can run its idle calls.
  bool IsApiSupported(const char* api, bool floating) const;
  bool Create(const char* api, bool floating);
  void Destroy();
  bool Size(std::uint32_t& width, std::uint32_t& height);
  // The host's UI scale (2.0: 200 %), as VST 2.x hosts tell theirs.
  bool SetScale(double scale) { return effect_.TellScale(scale); }
  // The editor opens in the host's window at once; hiding closes it and showing opens it again.
  bool SetParent(const clap::clap_window& window);
  bool Show();
  bool Hide();
  bool Open() const { return open_; }

  TEditorIdle& Idle() { return idle_; }

 private:
  bool OpenEditor();
  void CloseEditor();

  TEffectHost& effect_;
  const THostLink& host_;
  TEditorIdle idle_;
  bool created_ = false;
  void* parent_ = nullptr;
  bool open_ = false;
};

}  // namespace vornix::formats::clapface
