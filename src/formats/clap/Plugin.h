// One Vornix instance as a CLAP host sees it: the module hosted in-process behind its VST 2.x
// entries (TEffectHost), with the CLAP lifecycle, processing, parameters, state and editor around
// it. What the module tells its host comes back here and goes to the CLAP host in its own terms.
//
// Threads: as the interface tags each call (main, audio); every entry catches what the module
// throws, so no exception reaches the host.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>

#include "formats/clap/BlockPlayer.h"
#include "formats/clap/ClapAbi.h"
#include "formats/clap/Gui.h"
#include "formats/clap/HostLink.h"
#include "formats/clap/Parameters.h"
#include "formats/common/EffectHost.h"

namespace vornix::formats::clapface {

class TClapPlugin final : private TEffectHost::TListener {
 public:
  TClapPlugin(const clap::clap_host* host, const clap::clap_plugin_descriptor* descriptor);
  ~TClapPlugin() override;
  TClapPlugin(const TClapPlugin&) = delete;
  TClapPlugin& operator=(const TClapPlugin&) = delete;

  const clap::clap_plugin* Clap() const { return &clap_; }
  static TClapPlugin& Of(const clap::clap_plugin* plugin) { return *static_cast<TClapPlugin*>(plugin->plugin_data); }

  // clap_plugin
  bool Init();
  bool Activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
  void Deactivate();
  bool StartProcessing();
  void StopProcessing();
  clap::clap_process_status Process(const clap::clap_process& process);
  void OnMainThread();

  // The extensions' work.
  const THostLink& Host() const { return host_; }
  // The module behind its VST 2.x entries, for what tests ask of it directly.
  TEffectHost& Effect() { return *effect_; }
  TParameters& Parameters() { return parameters_; }
  TGui& Gui() { return *gui_; }
  void Flush(const clap::clap_input_events* in, const clap::clap_output_events* out);
  bool SaveState(const clap::clap_ostream& stream);
  bool LoadState(const clap::clap_istream& stream);

  // Runs `work` for the host's call `entry`; what it throws is logged and `failed` answered.
  template <class R, class F>
  R Guarded(const char* entry, R failed, F&& work) noexcept {
    try {
      return work();
    } catch (const std::exception& e) {
      Report(entry, e.what());
    } catch (...) {
      Report(entry, "unknown error");
    }
    return failed;
  }
  template <class F>
  void Guarded(const char* entry, F&& work) noexcept {
    Guarded(entry, 0, [&] { return work(), 0; });
  }
  // Init made the module: the extensions have something to work on.
  bool Ready() const { return gui_ != nullptr; }

 private:
  void ParameterChanged(int index, float normalized) override;
  void ParameterGesture(int index, bool begins) override;
  void StateChanged() override;
  bool EditorResize(int width, int height) override;
  void Report(const char* entry, const char* what) const noexcept;

  clap::clap_plugin clap_{};
  THostLink host_;
  TParameters parameters_{host_};
  std::unique_ptr<TEffectHost> effect_;
  std::unique_ptr<TBlockPlayer> player_;
  std::unique_ptr<TGui> gui_;
  bool active_ = false;
  // Set by the main thread: the module's reports are no news to the host (it is being made, or it
  // loads the host's own state). The audio thread reads it when a mapped controller moves a setting
  // meanwhile.
  std::atomic<bool> quiet_{false};
  // A change of the saved state waits for the main thread to tell the host.
  std::atomic<bool> dirty_{false};
};

}  // namespace vornix::formats::clapface
