// The CLAP 1.2 binary interface as hosts see it: the records, constants and extension ids a note
// effect with an editor uses. Written from the published facts of the interface; every record is
// checked for size and field offsets below, for x86-64 Linux and for 32- and 64-bit Windows.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) || defined(__CYGWIN__)
#define CLAP_ABI __cdecl
#define CLAP_EXPORT __declspec(dllexport)
#else
#define CLAP_ABI
#define CLAP_EXPORT __attribute__((visibility("default")))
#endif

namespace clap {

extern "C" {

using clap_id = std::uint32_t;
using clap_beattime = std::int64_t;
using clap_sectime = std::int64_t;

constexpr clap_id CLAP_INVALID_ID = UINT32_MAX;
constexpr std::uint32_t CLAP_NAME_SIZE = 256;
constexpr std::uint32_t CLAP_PATH_SIZE = 1024;

struct clap_version {
  std::uint32_t major;
  std::uint32_t minor;
  std::uint32_t revision;
};
// The revision this header was written from; hosts of any 1.x load it.
constexpr clap_version CLAP_VERSION = {1, 2, 10};
constexpr bool clap_version_is_compatible(const clap_version& v) { return v.major >= 1; }

// ---- Entry, factory, descriptor ----

struct clap_plugin_entry {
  clap_version clap_version;
  bool(CLAP_ABI* init)(const char* plugin_path);
  void(CLAP_ABI* deinit)();
  const void*(CLAP_ABI* get_factory)(const char* factory_id);
};

struct clap_plugin_descriptor {
  clap_version clap_version;
  const char* id;
  const char* name;
  const char* vendor;
  const char* url;
  const char* manual_url;
  const char* support_url;
  const char* version;
  const char* description;
  const char* const* features;
};

struct clap_host;
struct clap_plugin;

constexpr const char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

struct clap_plugin_factory {
  std::uint32_t(CLAP_ABI* get_plugin_count)(const clap_plugin_factory* factory);
  const clap_plugin_descriptor*(CLAP_ABI* get_plugin_descriptor)(const clap_plugin_factory* factory,
                                                                 std::uint32_t index);
  const clap_plugin*(CLAP_ABI* create_plugin)(const clap_plugin_factory* factory, const clap_host* host,
                                              const char* plugin_id);
};

// ---- Host and plug-in objects ----

struct clap_host {
  clap_version clap_version;
  void* host_data;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  const void*(CLAP_ABI* get_extension)(const clap_host* host, const char* extension_id);
  void(CLAP_ABI* request_restart)(const clap_host* host);
  void(CLAP_ABI* request_process)(const clap_host* host);
  void(CLAP_ABI* request_callback)(const clap_host* host);
};

struct clap_process;

using clap_process_status = std::int32_t;
constexpr clap_process_status CLAP_PROCESS_ERROR = 0;
constexpr clap_process_status CLAP_PROCESS_CONTINUE = 1;
constexpr clap_process_status CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2;
constexpr clap_process_status CLAP_PROCESS_TAIL = 3;
constexpr clap_process_status CLAP_PROCESS_SLEEP = 4;

struct clap_plugin {
  const clap_plugin_descriptor* desc;
  void* plugin_data;
  bool(CLAP_ABI* init)(const clap_plugin* plugin);
  void(CLAP_ABI* destroy)(const clap_plugin* plugin);
  bool(CLAP_ABI* activate)(const clap_plugin* plugin, double sample_rate, std::uint32_t min_frames_count,
                           std::uint32_t max_frames_count);
  void(CLAP_ABI* deactivate)(const clap_plugin* plugin);
  bool(CLAP_ABI* start_processing)(const clap_plugin* plugin);
  void(CLAP_ABI* stop_processing)(const clap_plugin* plugin);
  void(CLAP_ABI* reset)(const clap_plugin* plugin);
  clap_process_status(CLAP_ABI* process)(const clap_plugin* plugin, const clap_process* process);
  const void*(CLAP_ABI* get_extension)(const clap_plugin* plugin, const char* id);
  void(CLAP_ABI* on_main_thread)(const clap_plugin* plugin);
};

// ---- Events ----

constexpr std::uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

enum : std::uint32_t {
  CLAP_EVENT_IS_LIVE = 1 << 0,
  CLAP_EVENT_DONT_RECORD = 1 << 1,
};

enum : std::uint16_t {
  CLAP_EVENT_NOTE_ON = 0,
  CLAP_EVENT_NOTE_OFF = 1,
  CLAP_EVENT_NOTE_CHOKE = 2,
  CLAP_EVENT_NOTE_END = 3,
  CLAP_EVENT_NOTE_EXPRESSION = 4,
  CLAP_EVENT_PARAM_VALUE = 5,
  CLAP_EVENT_PARAM_MOD = 6,
  CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
  CLAP_EVENT_PARAM_GESTURE_END = 8,
  CLAP_EVENT_TRANSPORT = 9,
  CLAP_EVENT_MIDI = 10,
  CLAP_EVENT_MIDI_SYSEX = 11,
  CLAP_EVENT_MIDI2 = 12,
};

struct clap_event_header {
  std::uint32_t size;
  std::uint32_t time;
  std::uint16_t space_id;
  std::uint16_t type;
  std::uint32_t flags;
};

struct clap_event_note {
  clap_event_header header;
  std::int32_t note_id;
  std::int16_t port_index;
  std::int16_t channel;
  std::int16_t key;
  double velocity;
};

struct clap_event_param_value {
  clap_event_header header;
  clap_id param_id;
  void* cookie;
  std::int32_t note_id;
  std::int16_t port_index;
  std::int16_t channel;
  std::int16_t key;
  double value;
};

struct clap_event_param_gesture {
  clap_event_header header;
  clap_id param_id;
};

enum : std::uint32_t {
  CLAP_TRANSPORT_HAS_TEMPO = 1 << 0,
  CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 1 << 1,
  CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 1 << 2,
  CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 1 << 3,
  CLAP_TRANSPORT_IS_PLAYING = 1 << 4,
  CLAP_TRANSPORT_IS_RECORDING = 1 << 5,
  CLAP_TRANSPORT_IS_LOOP_ACTIVE = 1 << 6,
  CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 1 << 7,
};

// Beats and seconds in fixed point: value × 2^31, a factor that never changes.
constexpr std::int64_t CLAP_BEATTIME_FACTOR = std::int64_t(1) << 31;
constexpr std::int64_t CLAP_SECTIME_FACTOR = std::int64_t(1) << 31;

struct clap_event_transport {
  clap_event_header header;
  std::uint32_t flags;
  clap_beattime song_pos_beats;
  clap_sectime song_pos_seconds;
  double tempo;
  double tempo_inc;
  clap_beattime loop_start_beats;
  clap_beattime loop_end_beats;
  clap_sectime loop_start_seconds;
  clap_sectime loop_end_seconds;
  clap_beattime bar_start;
  std::int32_t bar_number;
  std::uint16_t tsig_num;
  std::uint16_t tsig_denom;
};

struct clap_event_midi {
  clap_event_header header;
  std::uint16_t port_index;
  std::uint8_t data[3];
};

struct clap_event_midi_sysex {
  clap_event_header header;
  std::uint16_t port_index;
  const std::uint8_t* buffer;
  std::uint32_t size;
};

struct clap_event_midi2 {
  clap_event_header header;
  std::uint16_t port_index;
  std::uint32_t data[4];
};

struct clap_input_events {
  void* ctx;
  std::uint32_t(CLAP_ABI* size)(const clap_input_events* list);
  const clap_event_header*(CLAP_ABI* get)(const clap_input_events* list, std::uint32_t index);
};

struct clap_output_events {
  void* ctx;
  bool(CLAP_ABI* try_push)(const clap_output_events* list, const clap_event_header* event);
};

// ---- Processing ----

struct clap_audio_buffer {
  float** data32;
  double** data64;
  std::uint32_t channel_count;
  std::uint32_t latency;
  std::uint64_t constant_mask;
};

struct clap_process {
  std::int64_t steady_time;
  std::uint32_t frames_count;
  const clap_event_transport* transport;
  const clap_audio_buffer* audio_inputs;
  clap_audio_buffer* audio_outputs;
  std::uint32_t audio_inputs_count;
  std::uint32_t audio_outputs_count;
  const clap_input_events* in_events;
  const clap_output_events* out_events;
};

// ---- Extensions ----

constexpr const char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
constexpr const char CLAP_EXT_NOTE_PORTS[] = "clap.note-ports";
constexpr const char CLAP_EXT_PARAMS[] = "clap.params";
constexpr const char CLAP_EXT_STATE[] = "clap.state";
constexpr const char CLAP_EXT_GUI[] = "clap.gui";
constexpr const char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";
constexpr const char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";
constexpr const char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";
constexpr const char CLAP_EXT_LOG[] = "clap.log";

// audio-ports

enum : std::uint32_t {
  CLAP_AUDIO_PORT_IS_MAIN = 1 << 0,
  CLAP_AUDIO_PORT_SUPPORTS_64BITS = 1 << 1,
  CLAP_AUDIO_PORT_PREFERS_64BITS = 1 << 2,
  CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 1 << 3,
};

struct clap_audio_port_info {
  clap_id id;
  char name[CLAP_NAME_SIZE];
  std::uint32_t flags;
  std::uint32_t channel_count;
  const char* port_type;
  clap_id in_place_pair;
};

struct clap_plugin_audio_ports {
  std::uint32_t(CLAP_ABI* count)(const clap_plugin* plugin, bool is_input);
  bool(CLAP_ABI* get)(const clap_plugin* plugin, std::uint32_t index, bool is_input, clap_audio_port_info* info);
};

// note-ports

enum : std::uint32_t {
  CLAP_NOTE_DIALECT_CLAP = 1 << 0,
  CLAP_NOTE_DIALECT_MIDI = 1 << 1,
  CLAP_NOTE_DIALECT_MIDI_MPE = 1 << 2,
  CLAP_NOTE_DIALECT_MIDI2 = 1 << 3,
};

struct clap_note_port_info {
  clap_id id;
  std::uint32_t supported_dialects;
  std::uint32_t preferred_dialect;
  char name[CLAP_NAME_SIZE];
};

struct clap_plugin_note_ports {
  std::uint32_t(CLAP_ABI* count)(const clap_plugin* plugin, bool is_input);
  bool(CLAP_ABI* get)(const clap_plugin* plugin, std::uint32_t index, bool is_input, clap_note_port_info* info);
};

struct clap_host_note_ports {
  std::uint32_t(CLAP_ABI* supported_dialects)(const clap_host* host);
  void(CLAP_ABI* rescan)(const clap_host* host, std::uint32_t flags);
};

// params

enum : std::uint32_t {
  CLAP_PARAM_IS_STEPPED = 1 << 0,
  CLAP_PARAM_IS_PERIODIC = 1 << 1,
  CLAP_PARAM_IS_HIDDEN = 1 << 2,
  CLAP_PARAM_IS_READONLY = 1 << 3,
  CLAP_PARAM_IS_BYPASS = 1 << 4,
  CLAP_PARAM_IS_AUTOMATABLE = 1 << 5,
  CLAP_PARAM_IS_MODULATABLE = 1 << 10,
  CLAP_PARAM_REQUIRES_PROCESS = 1 << 15,
  CLAP_PARAM_IS_ENUM = 1 << 16,
};

enum : std::uint32_t {
  CLAP_PARAM_RESCAN_VALUES = 1 << 0,
  CLAP_PARAM_RESCAN_TEXT = 1 << 1,
  CLAP_PARAM_RESCAN_INFO = 1 << 2,
  CLAP_PARAM_RESCAN_ALL = 1 << 3,
};

struct clap_param_info {
  clap_id id;
  std::uint32_t flags;
  void* cookie;
  char name[CLAP_NAME_SIZE];
  char module[CLAP_PATH_SIZE];
  double min_value;
  double max_value;
  double default_value;
};

struct clap_plugin_params {
  std::uint32_t(CLAP_ABI* count)(const clap_plugin* plugin);
  bool(CLAP_ABI* get_info)(const clap_plugin* plugin, std::uint32_t param_index, clap_param_info* param_info);
  bool(CLAP_ABI* get_value)(const clap_plugin* plugin, clap_id param_id, double* out_value);
  bool(CLAP_ABI* value_to_text)(const clap_plugin* plugin, clap_id param_id, double value, char* out_buffer,
                                std::uint32_t out_buffer_capacity);
  bool(CLAP_ABI* text_to_value)(const clap_plugin* plugin, clap_id param_id, const char* param_value_text,
                                double* out_value);
  void(CLAP_ABI* flush)(const clap_plugin* plugin, const clap_input_events* in, const clap_output_events* out);
};

struct clap_host_params {
  void(CLAP_ABI* rescan)(const clap_host* host, std::uint32_t flags);
  void(CLAP_ABI* clear)(const clap_host* host, clap_id param_id, std::uint32_t flags);
  void(CLAP_ABI* request_flush)(const clap_host* host);
};

// state

struct clap_istream {
  void* ctx;
  std::int64_t(CLAP_ABI* read)(const clap_istream* stream, void* buffer, std::uint64_t size);
};

struct clap_ostream {
  void* ctx;
  std::int64_t(CLAP_ABI* write)(const clap_ostream* stream, const void* buffer, std::uint64_t size);
};

struct clap_plugin_state {
  bool(CLAP_ABI* save)(const clap_plugin* plugin, const clap_ostream* stream);
  bool(CLAP_ABI* load)(const clap_plugin* plugin, const clap_istream* stream);
};

struct clap_host_state {
  void(CLAP_ABI* mark_dirty)(const clap_host* host);
};

// gui

constexpr const char CLAP_WINDOW_API_WIN32[] = "win32";
constexpr const char CLAP_WINDOW_API_COCOA[] = "cocoa";
constexpr const char CLAP_WINDOW_API_X11[] = "x11";
constexpr const char CLAP_WINDOW_API_WAYLAND[] = "wayland";

struct clap_window {
  const char* api;
  union {
    void* cocoa;
    unsigned long x11;
    void* win32;
    void* ptr;
  };
};

struct clap_gui_resize_hints {
  bool can_resize_horizontally;
  bool can_resize_vertically;
  bool preserve_aspect_ratio;
  std::uint32_t aspect_ratio_width;
  std::uint32_t aspect_ratio_height;
};

struct clap_plugin_gui {
  bool(CLAP_ABI* is_api_supported)(const clap_plugin* plugin, const char* api, bool is_floating);
  bool(CLAP_ABI* get_preferred_api)(const clap_plugin* plugin, const char** api, bool* is_floating);
  bool(CLAP_ABI* create)(const clap_plugin* plugin, const char* api, bool is_floating);
  void(CLAP_ABI* destroy)(const clap_plugin* plugin);
  bool(CLAP_ABI* set_scale)(const clap_plugin* plugin, double scale);
  bool(CLAP_ABI* get_size)(const clap_plugin* plugin, std::uint32_t* width, std::uint32_t* height);
  bool(CLAP_ABI* can_resize)(const clap_plugin* plugin);
  bool(CLAP_ABI* get_resize_hints)(const clap_plugin* plugin, clap_gui_resize_hints* hints);
  bool(CLAP_ABI* adjust_size)(const clap_plugin* plugin, std::uint32_t* width, std::uint32_t* height);
  bool(CLAP_ABI* set_size)(const clap_plugin* plugin, std::uint32_t width, std::uint32_t height);
  bool(CLAP_ABI* set_parent)(const clap_plugin* plugin, const clap_window* window);
  bool(CLAP_ABI* set_transient)(const clap_plugin* plugin, const clap_window* window);
  void(CLAP_ABI* suggest_title)(const clap_plugin* plugin, const char* title);
  bool(CLAP_ABI* show)(const clap_plugin* plugin);
  bool(CLAP_ABI* hide)(const clap_plugin* plugin);
};

struct clap_host_gui {
  void(CLAP_ABI* resize_hints_changed)(const clap_host* host);
  bool(CLAP_ABI* request_resize)(const clap_host* host, std::uint32_t width, std::uint32_t height);
  bool(CLAP_ABI* request_show)(const clap_host* host);
  bool(CLAP_ABI* request_hide)(const clap_host* host);
  void(CLAP_ABI* closed)(const clap_host* host, bool was_destroyed);
};

// timer-support

struct clap_plugin_timer_support {
  void(CLAP_ABI* on_timer)(const clap_plugin* plugin, clap_id timer_id);
};

struct clap_host_timer_support {
  bool(CLAP_ABI* register_timer)(const clap_host* host, std::uint32_t period_ms, clap_id* timer_id);
  bool(CLAP_ABI* unregister_timer)(const clap_host* host, clap_id timer_id);
};

// posix-fd-support

enum : std::uint32_t {
  CLAP_POSIX_FD_READ = 1 << 0,
  CLAP_POSIX_FD_WRITE = 1 << 1,
  CLAP_POSIX_FD_ERROR = 1 << 2,
};

struct clap_plugin_posix_fd_support {
  void(CLAP_ABI* on_fd)(const clap_plugin* plugin, int fd, std::uint32_t flags);
};

struct clap_host_posix_fd_support {
  bool(CLAP_ABI* register_fd)(const clap_host* host, int fd, std::uint32_t flags);
  bool(CLAP_ABI* modify_fd)(const clap_host* host, int fd, std::uint32_t flags);
  bool(CLAP_ABI* unregister_fd)(const clap_host* host, int fd);
};

// thread-check, log

struct clap_host_thread_check {
  bool(CLAP_ABI* is_main_thread)(const clap_host* host);
  bool(CLAP_ABI* is_audio_thread)(const clap_host* host);
};

using clap_log_severity = std::int32_t;
constexpr clap_log_severity CLAP_LOG_DEBUG = 0;
constexpr clap_log_severity CLAP_LOG_INFO = 1;
constexpr clap_log_severity CLAP_LOG_WARNING = 2;
constexpr clap_log_severity CLAP_LOG_ERROR = 3;
constexpr clap_log_severity CLAP_LOG_FATAL = 4;
constexpr clap_log_severity CLAP_LOG_HOST_MISBEHAVING = 5;
constexpr clap_log_severity CLAP_LOG_PLUGIN_MISBEHAVING = 6;

struct clap_host_log {
  void(CLAP_ABI* log)(const clap_host* host, clap_log_severity severity, const char* msg);
};

}  // extern "C"

// Record layouts must match every host bit for bit: x86-64 Linux and 64-bit Windows agree on every
// record; 32-bit Windows aligns double and int64_t to 8 inside records, as the figures say.
#define CLAP_CHECK_OFFSET(rec, field, off64, off32) \
  static_assert(offsetof(rec, field) == (sizeof(void*) == 8 ? (off64) : (off32)), #rec "." #field)
#define CLAP_CHECK_SIZE(rec, s64, s32) \
  static_assert(sizeof(rec) == (sizeof(void*) == 8 ? (s64) : (s32)), "sizeof " #rec)

CLAP_CHECK_SIZE(clap_version, 12, 12);
CLAP_CHECK_OFFSET(clap_plugin_entry, init, 16, 12);
CLAP_CHECK_OFFSET(clap_plugin_entry, get_factory, 32, 20);
CLAP_CHECK_SIZE(clap_plugin_entry, 40, 24);
CLAP_CHECK_OFFSET(clap_plugin_descriptor, id, 16, 12);
CLAP_CHECK_OFFSET(clap_plugin_descriptor, version, 64, 36);
CLAP_CHECK_OFFSET(clap_plugin_descriptor, features, 80, 44);
CLAP_CHECK_SIZE(clap_plugin_descriptor, 88, 48);
CLAP_CHECK_SIZE(clap_plugin_factory, 24, 12);

CLAP_CHECK_OFFSET(clap_host, host_data, 16, 12);
CLAP_CHECK_OFFSET(clap_host, version, 48, 28);
CLAP_CHECK_OFFSET(clap_host, get_extension, 56, 32);
CLAP_CHECK_OFFSET(clap_host, request_callback, 80, 44);
CLAP_CHECK_SIZE(clap_host, 88, 48);
CLAP_CHECK_OFFSET(clap_plugin, init, 16, 8);
CLAP_CHECK_OFFSET(clap_plugin, process, 72, 36);
CLAP_CHECK_OFFSET(clap_plugin, on_main_thread, 88, 44);
CLAP_CHECK_SIZE(clap_plugin, 96, 48);

CLAP_CHECK_OFFSET(clap_process, frames_count, 8, 8);
CLAP_CHECK_OFFSET(clap_process, transport, 16, 12);
CLAP_CHECK_OFFSET(clap_process, audio_inputs_count, 40, 24);
CLAP_CHECK_OFFSET(clap_process, in_events, 48, 32);
CLAP_CHECK_OFFSET(clap_process, out_events, 56, 36);
CLAP_CHECK_SIZE(clap_process, 64, 40);
CLAP_CHECK_OFFSET(clap_audio_buffer, channel_count, 16, 8);
CLAP_CHECK_OFFSET(clap_audio_buffer, constant_mask, 24, 16);
CLAP_CHECK_SIZE(clap_audio_buffer, 32, 24);
CLAP_CHECK_SIZE(clap_input_events, 24, 12);
CLAP_CHECK_SIZE(clap_output_events, 16, 8);

CLAP_CHECK_OFFSET(clap_event_header, time, 4, 4);
CLAP_CHECK_OFFSET(clap_event_header, space_id, 8, 8);
CLAP_CHECK_OFFSET(clap_event_header, type, 10, 10);
CLAP_CHECK_OFFSET(clap_event_header, flags, 12, 12);
CLAP_CHECK_SIZE(clap_event_header, 16, 16);
CLAP_CHECK_OFFSET(clap_event_note, note_id, 16, 16);
CLAP_CHECK_OFFSET(clap_event_note, key, 24, 24);
CLAP_CHECK_OFFSET(clap_event_note, velocity, 32, 32);
CLAP_CHECK_SIZE(clap_event_note, 40, 40);
CLAP_CHECK_OFFSET(clap_event_param_value, cookie, 24, 20);
CLAP_CHECK_OFFSET(clap_event_param_value, note_id, 32, 24);
CLAP_CHECK_OFFSET(clap_event_param_value, key, 40, 32);
CLAP_CHECK_OFFSET(clap_event_param_value, value, 48, 40);
CLAP_CHECK_SIZE(clap_event_param_value, 56, 48);
CLAP_CHECK_OFFSET(clap_event_param_gesture, param_id, 16, 16);
CLAP_CHECK_SIZE(clap_event_param_gesture, 20, 20);
CLAP_CHECK_OFFSET(clap_event_transport, flags, 16, 16);
CLAP_CHECK_OFFSET(clap_event_transport, song_pos_beats, 24, 24);
CLAP_CHECK_OFFSET(clap_event_transport, tempo, 40, 40);
CLAP_CHECK_OFFSET(clap_event_transport, bar_start, 88, 88);
CLAP_CHECK_OFFSET(clap_event_transport, bar_number, 96, 96);
CLAP_CHECK_OFFSET(clap_event_transport, tsig_num, 100, 100);
CLAP_CHECK_OFFSET(clap_event_transport, tsig_denom, 102, 102);
CLAP_CHECK_SIZE(clap_event_transport, 104, 104);
CLAP_CHECK_OFFSET(clap_event_midi, port_index, 16, 16);
CLAP_CHECK_OFFSET(clap_event_midi, data, 18, 18);
CLAP_CHECK_SIZE(clap_event_midi, 24, 24);
CLAP_CHECK_OFFSET(clap_event_midi_sysex, buffer, 24, 20);
CLAP_CHECK_OFFSET(clap_event_midi_sysex, size, 32, 24);
CLAP_CHECK_SIZE(clap_event_midi_sysex, 40, 28);
CLAP_CHECK_OFFSET(clap_event_midi2, data, 20, 20);
CLAP_CHECK_SIZE(clap_event_midi2, 36, 36);

CLAP_CHECK_OFFSET(clap_audio_port_info, flags, 260, 260);
CLAP_CHECK_OFFSET(clap_audio_port_info, port_type, 272, 268);
CLAP_CHECK_OFFSET(clap_audio_port_info, in_place_pair, 280, 272);
CLAP_CHECK_SIZE(clap_audio_port_info, 288, 276);
CLAP_CHECK_OFFSET(clap_note_port_info, name, 12, 12);
CLAP_CHECK_SIZE(clap_note_port_info, 268, 268);
CLAP_CHECK_OFFSET(clap_param_info, cookie, 8, 8);
CLAP_CHECK_OFFSET(clap_param_info, name, 16, 12);
CLAP_CHECK_OFFSET(clap_param_info, module, 272, 268);
CLAP_CHECK_OFFSET(clap_param_info, min_value, 1296, 1296);
CLAP_CHECK_OFFSET(clap_param_info, default_value, 1312, 1312);
CLAP_CHECK_SIZE(clap_param_info, 1320, 1320);
CLAP_CHECK_SIZE(clap_plugin_params, 48, 24);
CLAP_CHECK_SIZE(clap_host_params, 24, 12);
CLAP_CHECK_SIZE(clap_istream, 16, 8);
CLAP_CHECK_SIZE(clap_ostream, 16, 8);

CLAP_CHECK_OFFSET(clap_window, x11, 8, 4);
CLAP_CHECK_SIZE(clap_window, 16, 8);
CLAP_CHECK_OFFSET(clap_gui_resize_hints, aspect_ratio_width, 4, 4);
CLAP_CHECK_SIZE(clap_gui_resize_hints, 12, 12);
CLAP_CHECK_SIZE(clap_plugin_gui, 120, 60);
CLAP_CHECK_SIZE(clap_host_gui, 40, 20);
CLAP_CHECK_SIZE(clap_host_timer_support, 16, 8);
CLAP_CHECK_SIZE(clap_host_posix_fd_support, 24, 12);

#undef CLAP_CHECK_OFFSET
#undef CLAP_CHECK_SIZE

}  // namespace clap
