#include "formats/clap/Extensions.h"

#include <cstring>

#include "formats/clap/Plugin.h"

namespace vornix::formats::clapface {

using namespace clap;

namespace {

// The instance behind a call, once init has made it; null before.
TClapPlugin* Ready(const clap_plugin* plugin) {
  TClapPlugin* self = plugin != nullptr ? &TClapPlugin::Of(plugin) : nullptr;
  return self != nullptr && self->Ready() ? self : nullptr;
}

void Name(char (&name)[CLAP_NAME_SIZE], const char* text) {
  std::strncpy(name, text, CLAP_NAME_SIZE - 1);
  name[CLAP_NAME_SIZE - 1] = '\0';
}

// Notes in (for the note triggers, passed on with the rest) and the controller messages out, both
// as MIDI: one port each way.
const clap_plugin_note_ports kNotePorts = {
    [](const clap_plugin* p, bool) -> std::uint32_t {
      if (TClapPlugin* self = Ready(p)) self->Host().ExpectMain("note_ports.count");
      return 1;
    },
    [](const clap_plugin* p, std::uint32_t index, bool input, clap_note_port_info* info) {
      if (TClapPlugin* self = Ready(p)) self->Host().ExpectMain("note_ports.get");
      if (index != 0 || info == nullptr) return false;
      *info = clap_note_port_info{};
      info->id = 0;
      info->supported_dialects = input ? CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI : CLAP_NOTE_DIALECT_MIDI;
      info->preferred_dialect = CLAP_NOTE_DIALECT_MIDI;
      Name(info->name, input ? "MIDI In" : "MIDI Out");
      return true;
    },
};

// The plug-in makes no sound, and CLAP hosts show a note effect without audio ports.
const clap_plugin_audio_ports kAudioPorts = {
    [](const clap_plugin* p, bool) -> std::uint32_t {
      if (TClapPlugin* self = Ready(p)) self->Host().ExpectMain("audio_ports.count");
      return 0;
    },
    [](const clap_plugin*, std::uint32_t, bool, clap_audio_port_info*) { return false; },
};

const clap_plugin_params kParams = {
    [](const clap_plugin* p) -> std::uint32_t {
      TClapPlugin* self = Ready(p);
      if (self == nullptr) return 0;
      self->Host().ExpectMain("params.count");
      return self->Parameters().Count();
    },
    [](const clap_plugin* p, std::uint32_t index, clap_param_info* info) {
      TClapPlugin* self = Ready(p);
      if (self == nullptr || info == nullptr) return false;
      self->Host().ExpectMain("params.get_info");
      return self->Guarded("params.get_info", false, [&] { return self->Parameters().Info(index, *info); });
    },
    [](const clap_plugin* p, clap_id id, double* value) {
      TClapPlugin* self = Ready(p);
      if (self == nullptr || value == nullptr) return false;
      self->Host().ExpectMain("params.get_value");
      return self->Guarded("params.get_value", false, [&] { return self->Parameters().Value(id, *value); });
    },
    [](const clap_plugin* p, clap_id id, double value, char* text, std::uint32_t capacity) {
      TClapPlugin* self = Ready(p);
      if (self == nullptr) return false;
      self->Host().ExpectMain("params.value_to_text");
      return self->Guarded("params.value_to_text", false,
                           [&] { return self->Parameters().ToText(id, value, text, capacity); });
    },
    [](const clap_plugin* p, clap_id id, const char* text, double* value) {
      TClapPlugin* self = Ready(p);
      if (self == nullptr || value == nullptr) return false;
      self->Host().ExpectMain("params.text_to_value");
      return self->Guarded("params.text_to_value", false,
                           [&] { return self->Parameters().FromText(id, text, *value); });
    },
    [](const clap_plugin* p, const clap_input_events* in, const clap_output_events* out) {
      if (TClapPlugin* self = Ready(p)) self->Guarded("params.flush", [&] { self->Flush(in, out); });
    },
};

// The very chunk the VST 2.x build saves as its program, which is also a preset file's bytes.
const clap_plugin_state kState = {
    [](const clap_plugin* p, const clap_ostream* stream) {
      TClapPlugin* self = Ready(p);
      if (self == nullptr || stream == nullptr || stream->write == nullptr) return false;
      return self->Guarded("state.save", false, [&] { return self->SaveState(*stream); });
    },
    [](const clap_plugin* p, const clap_istream* stream) {
      TClapPlugin* self = Ready(p);
      if (self == nullptr || stream == nullptr || stream->read == nullptr) return false;
      return self->Guarded("state.load", false, [&] { return self->LoadState(*stream); });
    },
};

// Calls that run the editor name it by its one thread.
template <class R, class F>
R OnGui(const clap_plugin* p, const char* entry, R failed, F&& work) {
  TClapPlugin* self = Ready(p);
  if (self == nullptr) return failed;
  self->Host().ExpectMain(entry);
  return self->Guarded(entry, failed, [&] { return work(self->Gui()); });
}

const clap_plugin_gui kGui = {
    [](const clap_plugin* p, const char* api, bool floating) {
      return OnGui(p, "gui.is_api_supported", false, [&](TGui& gui) { return gui.IsApiSupported(api, floating); });
    },
    [](const clap_plugin* p, const char** api, bool* floating) {
      if (api == nullptr || floating == nullptr) return false;
      *api = TGui::kApi;
      *floating = false;
      return Ready(p) != nullptr;
    },
    [](const clap_plugin* p, const char* api, bool floating) {
      return OnGui(p, "gui.create", false, [&](TGui& gui) { return gui.Create(api, floating); });
    },
    [](const clap_plugin* p) {
      OnGui(p, "gui.destroy", 0, [&](TGui& gui) { return gui.Destroy(), 0; });
    },
    // The host's scale, where it tells one, sets the editor's zoom unless the user chose one.
    [](const clap_plugin* p, double scale) {
      return OnGui(p, "gui.set_scale", false, [&](TGui& gui) { return gui.SetScale(scale); });
    },
    [](const clap_plugin* p, std::uint32_t* width, std::uint32_t* height) {
      if (width == nullptr || height == nullptr) return false;
      return OnGui(p, "gui.get_size", false, [&](TGui& gui) { return gui.Size(*width, *height); });
    },
    [](const clap_plugin*) { return false; },
    // Fixed in both directions; hosts that ask before they embed learn that much.
    [](const clap_plugin*, clap_gui_resize_hints* hints) {
      if (hints == nullptr) return false;
      *hints = clap_gui_resize_hints{false, false, false, 0, 0};
      return true;
    },
    [](const clap_plugin*, std::uint32_t*, std::uint32_t*) { return false; },
    [](const clap_plugin* p, std::uint32_t width, std::uint32_t height) {
      return OnGui(p, "gui.set_size", false, [&](TGui& gui) {
        std::uint32_t w = 0, h = 0;
        return gui.Size(w, h) && w == width && h == height;
      });
    },
    [](const clap_plugin* p, const clap_window* window) {
      if (window == nullptr) return false;
      return OnGui(p, "gui.set_parent", false, [&](TGui& gui) { return gui.SetParent(*window); });
    },
    [](const clap_plugin*, const clap_window*) { return false; },
    [](const clap_plugin*, const char*) {},
    [](const clap_plugin* p) { return OnGui(p, "gui.show", false, [&](TGui& gui) { return gui.Show(); }); },
    [](const clap_plugin* p) { return OnGui(p, "gui.hide", false, [&](TGui& gui) { return gui.Hide(); }); },
};

const clap_plugin_timer_support kTimerSupport = {
    [](const clap_plugin* p, clap_id id) {
      OnGui(p, "on_timer", false, [&](TGui& gui) { return gui.Idle().OnTimer(id); });
    },
};

#if !defined(_WIN32)
const clap_plugin_posix_fd_support kPosixFdSupport = {
    [](const clap_plugin* p, int fd, std::uint32_t flags) {
      OnGui(p, "on_fd", false, [&](TGui& gui) { return gui.Idle().OnFd(fd, flags); });
    },
};
#endif

}  // namespace

const void* ExtensionTable(const char* id) {
  if (id == nullptr) return nullptr;
  const struct {
    const char* id;
    const void* table;
  } tables[] = {
      {CLAP_EXT_NOTE_PORTS, &kNotePorts},          {CLAP_EXT_AUDIO_PORTS, &kAudioPorts}, {CLAP_EXT_PARAMS, &kParams},
      {CLAP_EXT_STATE, &kState},                   {CLAP_EXT_GUI, &kGui},                {CLAP_EXT_TIMER_SUPPORT, &kTimerSupport},
#if !defined(_WIN32)
      {CLAP_EXT_POSIX_FD_SUPPORT, &kPosixFdSupport},
#endif
  };
  for (const auto& t : tables) {
    if (std::strcmp(id, t.id) == 0) return t.table;
  }
  return nullptr;
}

}  // namespace vornix::formats::clapface
