/* An ALSA sequencer for Qtractor on machines without one (no /dev/snd/seq, as in containers and
 * virtual machines without sound): preloaded into Qtractor, it answers the sequencer calls Qtractor
 * makes with one client of its own, ports that take every event and a queue that never moves, so
 * that Qtractor's engine starts on JACK alone. MIDI between Qtractor's tracks and plug-ins does not
 * pass through it; nothing reaches or leaves the machine's MIDI ports (it has none). With
 * VORNIX_SEQ_LOG set to a file name, every event Qtractor sends to its MIDI outputs is written
 * there as a line "type channel param value" (type 10: a control change).
 * Build: cc -shared -fPIC -o FakeSequencer.so FakeSequencer.c */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef struct {
  int fds[2];
  int nextPort;
} Seq;

/* Every info record the caller allocates with the *_sizeof functions. */
typedef struct {
  int client, port, index, type;
  unsigned char addr[2];
  char name[64];
} Info;

enum { kClient = 128 };

int snd_seq_open(void** seq, const char* name, int streams, int mode) {
  (void)name, (void)streams, (void)mode;
  Seq* s = calloc(1, sizeof *s);
  if (s == NULL || pipe2(s->fds, O_NONBLOCK | O_CLOEXEC) != 0) return -ENOMEM;
  *seq = s;
  return 0;
}
int snd_seq_close(void* seq) {
  Seq* s = seq;
  close(s->fds[0]);
  close(s->fds[1]);
  free(s);
  return 0;
}
int snd_seq_set_client_name(void* seq, const char* name) { return (void)seq, (void)name, 0; }
int snd_seq_client_id(void* seq) { return (void)seq, kClient; }
int snd_seq_create_simple_port(void* seq, const char* name, unsigned caps, unsigned type) {
  return (void)name, (void)caps, (void)type, ((Seq*)seq)->nextPort++;
}
int snd_seq_delete_simple_port(void* seq, int port) { return (void)seq, (void)port, 0; }
int snd_seq_alloc_queue(void* seq) { return (void)seq, 0; }
int snd_seq_free_queue(void* seq, int q) { return (void)seq, (void)q, 0; }
int snd_seq_control_queue(void* seq, int q, int type, int value, void* ev) {
  return (void)seq, (void)q, (void)type, (void)value, (void)ev, 0;
}
int snd_seq_drain_output(void* seq) { return (void)seq, 0; }
int snd_seq_drop_input(void* seq) { return (void)seq, 0; }
int snd_seq_drop_output(void* seq) { return (void)seq, 0; }
int snd_seq_event_input(void* seq, void** ev) { return (void)seq, *ev = NULL, -EAGAIN; }
int snd_seq_event_input_pending(void* seq, int fetch) { return (void)seq, (void)fetch, 0; }
/* The start of snd_seq_event_t: type at 0, the data at 16; a control change's data is the
 * channel (a byte), three unused bytes, the parameter and the value (32 bits each). */
static void Log(const unsigned char* ev) {
  static FILE* log;
  const char* name = getenv("VORNIX_SEQ_LOG");
  if (name == NULL) return;
  if (log == NULL && (log = fopen(name, "a")) == NULL) return;
  uint32_t param, value;
  memcpy(&param, ev + 20, 4);
  memcpy(&value, ev + 24, 4);
  fprintf(log, "%u %u %u %d\n", ev[0], ev[16], param, (int32_t)value);
  fflush(log);
}
int snd_seq_event_output(void* seq, void* ev) { return (void)seq, Log(ev), 0; }
int snd_seq_event_output_direct(void* seq, void* ev) { return (void)seq, Log(ev), 0; }
int snd_seq_free_event(void* ev) { return (void)ev, 0; }
int snd_seq_poll_descriptors_count(void* seq, short events) { return (void)seq, (void)events, 1; }
int snd_seq_poll_descriptors(void* seq, struct pollfd* pfds, unsigned space, short events) {
  (void)events;
  if (space < 1) return 0;
  pfds[0].fd = ((Seq*)seq)->fds[0];
  pfds[0].events = POLLIN;
  pfds[0].revents = 0;
  return 1;
}

size_t snd_seq_client_info_sizeof(void) { return sizeof(Info); }
void snd_seq_client_info_set_client(Info* i, int client) { i->client = client; }
int snd_seq_client_info_get_client(const Info* i) { return i->client; }
const char* snd_seq_client_info_get_name(Info* i) { return i->name; }
int snd_seq_get_any_client_info(void* seq, int client, Info* i) {
  (void)seq;
  if (client != kClient) return -ENOENT;
  i->client = client;
  strcpy(i->name, "Qtractor");
  return 0;
}
int snd_seq_query_next_client(void* seq, Info* i) { return (void)seq, (void)i, -ENOENT; }

size_t snd_seq_port_info_sizeof(void) { return sizeof(Info); }
void snd_seq_port_info_set_client(Info* i, int client) { i->client = client; }
void snd_seq_port_info_set_port(Info* i, int port) { i->port = port; }
int snd_seq_port_info_get_port(const Info* i) { return i->port; }
const char* snd_seq_port_info_get_name(const Info* i) { return i->name; }
unsigned snd_seq_port_info_get_capability(const Info* i) { return (void)i, 0; }
void snd_seq_port_info_set_timestamping(Info* i, int enable) { (void)i, (void)enable; }
void snd_seq_port_info_set_timestamp_real(Info* i, int real) { (void)i, (void)real; }
void snd_seq_port_info_set_timestamp_queue(Info* i, int queue) { (void)i, (void)queue; }
int snd_seq_get_port_info(void* seq, int port, Info* i) { return (void)seq, i->client = kClient, i->port = port, 0; }
int snd_seq_get_any_port_info(void* seq, int client, int port, Info* i) {
  return (void)seq, (void)client, (void)port, (void)i, -ENOENT;
}
int snd_seq_set_port_info(void* seq, int port, Info* i) { return (void)seq, (void)port, (void)i, 0; }
int snd_seq_query_next_port(void* seq, Info* i) { return (void)seq, (void)i, -ENOENT; }

size_t snd_seq_port_subscribe_sizeof(void) { return sizeof(Info); }
void snd_seq_port_subscribe_set_sender(Info* i, const void* addr) { (void)i, (void)addr; }
void snd_seq_port_subscribe_set_dest(Info* i, const void* addr) { (void)i, (void)addr; }
int snd_seq_subscribe_port(void* seq, const Info* i) { return (void)seq, (void)i, 0; }
int snd_seq_unsubscribe_port(void* seq, const Info* i) { return (void)seq, (void)i, 0; }

size_t snd_seq_query_subscribe_sizeof(void) { return sizeof(Info); }
void snd_seq_query_subscribe_set_root(Info* i, const void* addr) { (void)i, (void)addr; }
void snd_seq_query_subscribe_set_type(Info* i, int type) { i->type = type; }
void snd_seq_query_subscribe_set_index(Info* i, int index) { i->index = index; }
int snd_seq_query_subscribe_get_index(const Info* i) { return i->index; }
const void* snd_seq_query_subscribe_get_addr(const Info* i) { return i->addr; }
int snd_seq_query_port_subscribers(void* seq, Info* i) { return (void)seq, (void)i, -ENOENT; }

size_t snd_seq_queue_status_sizeof(void) { return sizeof(Info); }
int snd_seq_get_queue_status(void* seq, int q, Info* i) { return (void)seq, (void)q, (void)i, 0; }
unsigned snd_seq_queue_status_get_tick_time(const Info* i) { return (void)i, 0; }

size_t snd_seq_queue_tempo_sizeof(void) { return sizeof(Info); }
unsigned snd_seq_queue_tempo_get_skew(const Info* i) { return (void)i, 0x10000; }
unsigned snd_seq_queue_tempo_get_skew_base(const Info* i) { return (void)i, 0x10000; }
void snd_seq_queue_tempo_set_ppq(Info* i, int ppq) { (void)i, (void)ppq; }
void snd_seq_queue_tempo_set_skew(Info* i, unsigned skew) { (void)i, (void)skew; }
void snd_seq_queue_tempo_set_tempo(Info* i, unsigned tempo) { (void)i, (void)tempo; }
int snd_seq_get_queue_tempo(void* seq, int q, Info* i) { return (void)seq, (void)q, (void)i, 0; }
int snd_seq_set_queue_tempo(void* seq, int q, Info* i) { return (void)seq, (void)q, (void)i, 0; }

size_t snd_seq_queue_timer_sizeof(void) { return sizeof(Info); }
void snd_seq_queue_timer_set_id(Info* i, const void* id) { (void)i, (void)id; }
void snd_seq_queue_timer_set_type(Info* i, int type) { i->type = type; }
int snd_seq_set_queue_timer(void* seq, int q, Info* i) { return (void)seq, (void)q, (void)i, 0; }

size_t snd_seq_remove_events_sizeof(void) { return sizeof(Info); }
void snd_seq_remove_events_set_channel(Info* i, int channel) { (void)i, (void)channel; }
void snd_seq_remove_events_set_condition(Info* i, unsigned flags) { (void)i, (void)flags; }
void snd_seq_remove_events_set_queue(Info* i, int queue) { (void)i, (void)queue; }
void snd_seq_remove_events_set_tag(Info* i, int tag) { (void)i, (void)tag; }
void snd_seq_remove_events_set_time(Info* i, const void* time) { (void)i, (void)time; }
int snd_seq_remove_events(void* seq, Info* i) { return (void)seq, (void)i, 0; }
