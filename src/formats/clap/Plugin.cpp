#include "formats/clap/Plugin.h"

#include <atomic>
#include <vector>

#include "formats/clap/Extensions.h"

namespace vornix::formats::clapface {

using namespace clap;

namespace {

// Beyond any state the module writes; a stream that goes on longer is no state of ours.
constexpr std::size_t kMaxStateBytes = 64u << 20;

TClapPlugin* Self(const clap_plugin* plugin) { return &TClapPlugin::Of(plugin); }

// While one lives, the module's reports are no news to the host.
class TQuiet {
 public:
  explicit TQuiet(std::atomic<bool>& quiet) : quiet_(quiet) { quiet_ = true; }
  ~TQuiet() { quiet_ = false; }
  TQuiet(const TQuiet&) = delete;
  TQuiet& operator=(const TQuiet&) = delete;

 private:
  std::atomic<bool>& quiet_;
};

}  // namespace

TClapPlugin::TClapPlugin(const clap_host* host, const clap_plugin_descriptor* descriptor) : host_(host) {
  clap_.desc = descriptor;
  clap_.plugin_data = this;
  clap_.init = [](const clap_plugin* p) { return Self(p)->Guarded("init", false, [&] { return Self(p)->Init(); }); };
  clap_.destroy = [](const clap_plugin* p) {
    Self(p)->host_.ExpectMain("destroy");
    delete Self(p);
  };
  clap_.activate = [](const clap_plugin* p, double rate, std::uint32_t min, std::uint32_t max) {
    return Self(p)->Guarded("activate", false, [&] { return Self(p)->Ready() && Self(p)->Activate(rate, min, max); });
  };
  clap_.deactivate = [](const clap_plugin* p) { Self(p)->Guarded("deactivate", [&] { Self(p)->Deactivate(); }); };
  clap_.start_processing = [](const clap_plugin* p) {
    return Self(p)->Guarded("start_processing", false, [&] { return Self(p)->StartProcessing(); });
  };
  clap_.stop_processing = [](const clap_plugin* p) {
    Self(p)->Guarded("stop_processing", [&] { Self(p)->StopProcessing(); });
  };
  // Nothing sounds on, and the sequences follow the host's transport: there is nothing to clear.
  clap_.reset = [](const clap_plugin* p) { Self(p)->host_.ExpectAudio("reset"); };
  clap_.process = [](const clap_plugin* p, const clap_process* process) {
    return Self(p)->Guarded("process", CLAP_PROCESS_ERROR, [&] {
      return process != nullptr && Self(p)->Ready() ? Self(p)->Process(*process) : CLAP_PROCESS_ERROR;
    });
  };
  clap_.get_extension = [](const clap_plugin*, const char* id) { return ExtensionTable(id); };
  clap_.on_main_thread = [](const clap_plugin* p) {
    Self(p)->Guarded("on_main_thread", [&] { Self(p)->OnMainThread(); });
  };
}

TClapPlugin::~TClapPlugin() {
  // The editor goes before the module it shows.
  gui_.reset();
  player_.reset();
  effect_.reset();
}

bool TClapPlugin::Init() {
  host_.Fetch();
  host_.ExpectMain("init");
  const TQuiet quiet(quiet_);
  effect_ = std::make_unique<TEffectHost>(static_cast<TEffectHost::TListener&>(*this));
  parameters_.Attach(*effect_);
  player_ = std::make_unique<TBlockPlayer>(*effect_, parameters_);
  gui_ = std::make_unique<TGui>(*effect_, host_);
  return true;
}

bool TClapPlugin::Activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames) {
  (void)minFrames;
  host_.ExpectMain("activate");
  if (!(sampleRate > 0.0) || maxFrames == 0) return false;
  player_->Configure(sampleRate, maxFrames);
  effect_->SetActive(true);
  active_ = true;
  return true;
}

// A host may deactivate without stopping first.
void TClapPlugin::Deactivate() {
  host_.ExpectMain("deactivate");
  if (!active_) return;
  parameters_.SetProcessing(false);
  effect_->SetActive(false);
  active_ = false;
}

bool TClapPlugin::StartProcessing() {
  host_.ExpectAudio("start_processing");
  parameters_.SetProcessing(true);
  return true;
}

void TClapPlugin::StopProcessing() {
  host_.ExpectAudio("stop_processing");
  parameters_.SetProcessing(false);
}

// The sequences run from the host's transport whatever comes in, so the plug-in never sleeps.
clap_process_status TClapPlugin::Process(const clap_process& process) {
  host_.ExpectAudio("process");
  const THostLink::AudioScope audio(host_);
  player_->Play(process);
  return CLAP_PROCESS_CONTINUE;
}

void TClapPlugin::Flush(const clap_input_events* in, const clap_output_events* out) {
  if (active_) {
    host_.ExpectAudio("params.flush");
  } else {
    host_.ExpectMain("params.flush");
  }
  const THostLink::AudioScope audio(host_);
  player_->Flush(in, out);
}

void TClapPlugin::OnMainThread() {
  host_.ExpectMain("on_main_thread");
  if (dirty_.exchange(false)) host_.MarkDirty();
}

bool TClapPlugin::SaveState(const clap_ostream& stream) {
  host_.ExpectMain("state.save");
  const std::vector<std::uint8_t> bytes = effect_->SaveState();
  if (bytes.empty()) return false;
  for (std::size_t done = 0; done < bytes.size();) {
    const std::int64_t n = stream.write(&stream, bytes.data() + done, bytes.size() - done);
    if (n <= 0 || static_cast<std::uint64_t>(n) > bytes.size() - done) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool TClapPlugin::LoadState(const clap_istream& stream) {
  host_.ExpectMain("state.load");
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[4096];
  for (;;) {
    const std::int64_t n = stream.read(&stream, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0 || static_cast<std::uint64_t>(n) > sizeof buffer ||
        bytes.size() + static_cast<std::size_t>(n) > kMaxStateBytes)
      return false;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  // The host knows what it loads: the module's reports of the new values are no news to it.
  const TQuiet quiet(quiet_);
  if (!effect_->LoadState(bytes)) return false;
  parameters_.HostKnowsAll();
  host_.RescanValues();
  return true;
}

void TClapPlugin::ParameterChanged(int index, float normalized) {
  if (quiet_ && !host_.InAudio()) return;
  parameters_.Changed(index, normalized);
}

void TClapPlugin::ParameterGesture(int index, bool begins) {
  if (quiet_) return;
  parameters_.Gesture(index, begins);
}

// Hosts mark their project changed on mark_dirty, which only the main thread may call.
void TClapPlugin::StateChanged() {
  if (host_.OnMainThread()) {
    if (!quiet_) host_.MarkDirty();
    return;
  }
  dirty_.store(true);
  host_.RequestCallback();
}

// The editor zooms on the main thread, the only one that may ask the host.
bool TClapPlugin::EditorResize(int width, int height) {
  if (width <= 0 || height <= 0 || !host_.OnMainThread()) return false;
  return host_.RequestResize(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
}

void TClapPlugin::Report(const char* entry, const char* what) const noexcept {
  char message[512];
  std::snprintf(message, sizeof message, "%s failed: %s", entry, what);
  host_.Log(CLAP_LOG_ERROR, message);
}

}  // namespace vornix::formats::clapface
