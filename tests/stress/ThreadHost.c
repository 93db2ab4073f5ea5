/* A small host in C that drives the built plug-in the way hosts with a GUI thread of their own do
 * (Ardour among them), all at once for a few seconds:
 * - a GUI thread makes a real X11 window, opens the editor in it with effEditOpen, calls
 *   effEditIdle every few milliseconds and now and then clicks and drags inside it (XTest);
 * - the main thread loads host chunks, fetches them as an autosave does, sets the program,
 *   automates every parameter and asks for their texts;
 * - an audio thread plays with a rolling transport and note and controller input.
 * Built with ThreadSanitizer together with a plug-in built the same way, it must end without a
 * report. Usage: vornix_thread_host PLUGIN.so [SECONDS]; needs DISPLAY. */
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <dlfcn.h>
#include <pthread.h>
#include <stdatomic.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

/* The few VST 2.x facts this host needs. */
typedef intptr_t VstIntPtr;
typedef struct AEffect AEffect;
typedef VstIntPtr (*HostCallback)(AEffect*, int32_t, int32_t, VstIntPtr, void*, float);
struct AEffect {
  int32_t magic;
  VstIntPtr (*dispatcher)(AEffect*, int32_t, int32_t, VstIntPtr, void*, float);
  void (*process)(AEffect*, float**, float**, int32_t);
  void (*setParameter)(AEffect*, int32_t, float);
  float (*getParameter)(AEffect*, int32_t);
  int32_t numPrograms, numParams, numInputs, numOutputs, flags;
  VstIntPtr resvd1, resvd2;
  int32_t initialDelay, realQualities, offQualities;
  float ioRatio;
  void *object, *user;
  int32_t uniqueID, version;
  void (*processReplacing)(AEffect*, float**, float**, int32_t);
  void (*processDoubleReplacing)(AEffect*, double**, double**, int32_t);
  char future[56];
};
enum {
  effOpen = 0, effClose = 1, effSetProgram = 2, effGetParamDisplay = 7, effSetSampleRate = 10, effSetBlockSize = 11,
  effMainsChanged = 12, effEditGetRect = 13, effEditOpen = 14, effEditClose = 15, effEditIdle = 19, effGetChunk = 23,
  effSetChunk = 24, effProcessEvents = 25
};
enum { audioMasterAutomate = 0, audioMasterVersion = 1, audioMasterGetTime = 7, audioMasterProcessEvents = 8 };
typedef struct {
  double samplePos, sampleRate, nanoSeconds, ppqPos, tempo, barStartPos, cycleStartPos, cycleEndPos;
  int32_t timeSigNumerator, timeSigDenominator, smpteOffset, smpteFrameRate, samplesToNextClock, flags;
} VstTimeInfo;
typedef struct {
  int32_t type, byteSize, deltaFrames, flags, noteLength, noteOffset;
  char midiData[4];
  char detune, noteOffVelocity, reserved1, reserved2;
} VstMidiEvent;
typedef struct {
  int32_t numEvents;
  VstIntPtr reserved;
  void* events[2];
} VstEvents;
enum { kVstMidiType = 1 };
enum { kVstTransportPlaying = 1 << 1, kVstPpqPosValid = 1 << 9, kVstTempoValid = 1 << 10, kVstTimeSigValid = 1 << 13 };

static AEffect* effect;
static atomic_int done;
static atomic_long processed, idles, loads, received;
static VstTimeInfo timeInfo; /* the audio thread's only */

static VstIntPtr Callback(AEffect* e, int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt) {
  (void)e, (void)index, (void)value, (void)opt;
  switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetTime: return (VstIntPtr)&timeInfo;
    case audioMasterProcessEvents: atomic_fetch_add(&received, ((VstEvents*)ptr)->numEvents); return 1;
    default: return 0;
  }
}

static void SleepMs(int ms) {
  struct timespec t = {0, ms * 1000000L};
  nanosleep(&t, NULL);
}

static void* Audio(void* unused) {
  (void)unused;
  float a[256], b[256];
  float* out[2] = {a, b};
  VstMidiEvent event;
  memset(&event, 0, sizeof event);
  event.type = kVstMidiType;
  event.byteSize = sizeof event;
  VstEvents events = {1, 0, {&event, NULL}};
  timeInfo.sampleRate = 48000.0;
  timeInfo.tempo = 133.0;
  timeInfo.timeSigNumerator = 4;
  timeInfo.timeSigDenominator = 4;
  timeInfo.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid;
  double ppq = 0.0;
  for (long block = 0; !atomic_load(&done); ++block) {
    static const unsigned char kinds[] = {0x90, 0xB0, 0x80, 0xB2};
    event.midiData[0] = (char)kinds[block % 4];
    event.midiData[1] = (char)(block % 4 == 1 ? 20 + block % 3 : 60 + block % 12);
    event.midiData[2] = (char)(block % 128);
    effect->dispatcher(effect, effProcessEvents, 0, 0, &events, 0.0f);
    timeInfo.ppqPos = block % 700 == 699 ? 0.0 : ppq;
    effect->processReplacing(effect, NULL, out, 256);
    ppq += 256 * 133.0 / 60.0 / 48000.0;
    atomic_fetch_add(&processed, 1);
    if (block % 8 == 7) SleepMs(1); /* about as often as a real device asks */
  }
  return NULL;
}

/* The pointer to a point of the window, pressed, moved and released. */
static void Drag(Display* d, Window w, int x0, int y0, int x1, int y1) {
  XWarpPointer(d, None, w, 0, 0, 0, 0, x0, y0);
  XTestFakeButtonEvent(d, 1, True, CurrentTime);
  XWarpPointer(d, None, w, 0, 0, 0, 0, x1, y1);
  XTestFakeButtonEvent(d, 1, False, CurrentTime);
  XFlush(d);
}

static void* Gui(void* unused) {
  (void)unused;
  Display* d = XOpenDisplay(NULL);
  if (d == NULL) {
    fprintf(stderr, "vornix_thread_host: no X display\n");
    exit(2);
  }
  Window parent = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 786, 421, 0, 0, 0);
  XMapWindow(d, parent);
  XSync(d, False);
  if (effect->dispatcher(effect, effEditOpen, 0, 0, (void*)(uintptr_t)parent, 0.0f) != 1) {
    fprintf(stderr, "vornix_thread_host: the editor did not open\n");
    exit(2);
  }
  for (long round = 0; !atomic_load(&done); ++round) {
    effect->dispatcher(effect, effEditIdle, 0, 0, NULL, 0.0f);
    /* A sequence button (centres at x 21, y 95 + 26 k), and a stroke across the step grid. */
    const int k = (int)(round / 40 % 8);
    if (round % 40 == 0) Drag(d, parent, 21, 95 + 26 * k, 21, 95 + 26 * k);
    if (round % 25 == 0) Drag(d, parent, 90 + (int)(round % 300), 120, 300 + (int)(round % 300), 300);
    while (XPending(d) > 0) {
      XEvent e;
      XNextEvent(d, &e);
    }
    atomic_fetch_add(&idles, 1);
    SleepMs(4);
  }
  effect->dispatcher(effect, effEditClose, 0, 0, NULL, 0.0f);
  XDestroyWindow(d, parent);
  XCloseDisplay(d);
  return NULL;
}

static void HostRound(long round) {
  for (int i = 0; i < effect->numParams; ++i) {
    effect->setParameter(effect, i, (float)((i * 5 + round) % 9) / 8.0f);
    (void)effect->getParameter(effect, i);
  }
  char text[64] = {0};
  effect->dispatcher(effect, effGetParamDisplay, (int32_t)(round % effect->numParams), 0, text, 0.0f);
  void* data = NULL;
  const VstIntPtr size = effect->dispatcher(effect, effGetChunk, (int32_t)(round % 2), 0, &data, 0.0f);
  if (size > 0) {
    unsigned char* copy = malloc((size_t)size);
    memcpy(copy, data, (size_t)size);
    effect->dispatcher(effect, effSetChunk, (int32_t)(round % 2), size, copy, 0.0f);
    free(copy);
  }
  if (round % 4 == 0) effect->dispatcher(effect, effSetProgram, 0, 0, NULL, 0.0f);
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: vornix_thread_host PLUGIN.so [SECONDS]\n");
    return 2;
  }
  const int seconds = argc > 2 ? atoi(argv[2]) : 4;
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == NULL) {
    fprintf(stderr, "vornix_thread_host: %s\n", dlerror());
    return 2;
  }
  AEffect* (*entry)(HostCallback) = (AEffect * (*)(HostCallback)) dlsym(library, "VSTPluginMain");
  if (entry == NULL || (effect = entry(Callback)) == NULL) {
    fprintf(stderr, "vornix_thread_host: no effect\n");
    return 2;
  }
  effect->dispatcher(effect, effOpen, 0, 0, NULL, 0.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, NULL, 48000.0f);
  effect->dispatcher(effect, effSetBlockSize, 0, 256, NULL, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, NULL, 0.0f);

  pthread_t gui, audio;
  pthread_create(&gui, NULL, Gui, NULL);
  pthread_create(&audio, NULL, Audio, NULL);
  const time_t end = time(NULL) + seconds;
  for (long round = 0; time(NULL) < end; ++round) {
    HostRound(round);
    atomic_fetch_add(&loads, 1);
    SleepMs(2);
  }
  atomic_store(&done, 1);
  pthread_join(gui, NULL);
  pthread_join(audio, NULL);
  effect->dispatcher(effect, effMainsChanged, 0, 0, NULL, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, NULL, 0.0f);
  dlclose(library);
  printf("vornix_thread_host: %ld blocks, %ld editor idle calls, %ld loads, %ld events received\n",
         atomic_load(&processed), atomic_load(&idles), atomic_load(&loads), atomic_load(&received));
  if (atomic_load(&processed) == 0 || atomic_load(&idles) == 0 || atomic_load(&loads) == 0) return 1;
  return 0;
}
