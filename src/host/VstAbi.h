// The VST 2.x binary interface as hosts see it: records, opcodes, flags and callback types.
// Written from the published facts of the interface; every record is checked for size and
// field offsets below, on 64-bit and 32-bit targets alike.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

namespace vst {

using VstInt16 = std::int16_t;
using VstInt32 = std::int32_t;
using VstIntPtr = std::intptr_t;

constexpr VstInt32 FourCC(char a, char b, char c, char d) {
  return static_cast<VstInt32>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                               (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                               (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                               static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr VstInt32 kEffectMagic = FourCC('V', 's', 't', 'P');
constexpr VstInt32 kVstVersion = 2400;
constexpr VstInt32 kIdentifyReply = FourCC('N', 'v', 'E', 'f');

struct AEffect;

using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                                    void* ptr, float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                                      void* ptr, float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VSTCALLBACK*)(AEffect* effect, double** inputs, double** outputs,
                                                    VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index, float value);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

struct AEffect {
  VstInt32 magic;
  AEffectDispatcherProc dispatcher;
  AEffectProcessProc process;
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 numInputs;
  VstInt32 numOutputs;
  VstInt32 flags;
  VstIntPtr resvd1;
  VstIntPtr resvd2;
  VstInt32 initialDelay;
  VstInt32 realQualities;
  VstInt32 offQualities;
  float ioRatio;
  void* object;
  void* user;
  VstInt32 uniqueID;
  VstInt32 version;
  AEffectProcessProc processReplacing;
  AEffectProcessDoubleProc processDoubleReplacing;
  char future[56];
};

struct VstTimeInfo {
  double samplePos;
  double sampleRate;
  double nanoSeconds;
  double ppqPos;
  double tempo;
  double barStartPos;
  double cycleStartPos;
  double cycleEndPos;
  VstInt32 timeSigNumerator;
  VstInt32 timeSigDenominator;
  VstInt32 smpteOffset;
  VstInt32 smpteFrameRate;
  VstInt32 samplesToNextClock;
  VstInt32 flags;
};

struct VstEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  char data[16];
};

struct VstMidiEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 noteLength;
  VstInt32 noteOffset;
  char midiData[4];
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

struct VstMidiSysexEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 dumpBytes;
  VstIntPtr resvd1;
  char* sysexDump;
  VstIntPtr resvd2;
};

// The event array really holds numEvents pointers; size a list with VstEventsSize, never sizeof.
struct VstEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* events[2];
};

constexpr std::size_t VstEventsSize(std::size_t count) {
  return offsetof(VstEvents, events) + count * sizeof(VstEvent*);
}

struct VstPinProperties {
  char label[64];
  VstInt32 flags;
  VstInt32 arrangementType;
  char shortLabel[8];
  char future[48];
};

struct VstParameterProperties {
  float stepFloat;
  float smallStepFloat;
  float largeStepFloat;
  char label[64];
  VstInt32 flags;
  VstInt32 minInteger;
  VstInt32 maxInteger;
  VstInt32 stepInteger;
  VstInt32 largeStepInteger;
  char shortLabel[8];
  VstInt16 displayIndex;
  VstInt16 category;
  VstInt16 numParametersInCategory;
  VstInt16 reserved;
  char categoryLabel[24];
  char future[16];
};

struct VstPatchChunkInfo {
  VstInt32 version;
  VstInt32 pluginUniqueID;
  VstInt32 pluginVersion;
  VstInt32 numElements;
  char future[48];
};

struct ERect {
  VstInt16 top;
  VstInt16 left;
  VstInt16 bottom;
  VstInt16 right;
};

// Dispatcher opcodes (host to plug-in); the number is the position.
enum DispatcherOpcode : VstInt32 {
  effOpen = 0,
  effClose,
  effSetProgram,
  effGetProgram,
  effSetProgramName,
  effGetProgramName,
  effGetParamLabel,
  effGetParamDisplay,
  effGetParamName,
  effGetVu,
  effSetSampleRate,
  effSetBlockSize,
  effMainsChanged,
  effEditGetRect,
  effEditOpen,
  effEditClose,
  effEditDraw,
  effEditMouse,
  effEditKey,
  effEditIdle,
  effEditTop,
  effEditSleep,
  effIdentify,
  effGetChunk,
  effSetChunk,
  effProcessEvents,
  effCanBeAutomated,
  effString2Parameter,
  effGetNumProgramCategories,
  effGetProgramNameIndexed,
  effCopyProgram,
  effConnectInput,
  effConnectOutput,
  effGetInputProperties,
  effGetOutputProperties,
  effGetPlugCategory,
  effGetCurrentPosition,
  effGetDestinationBuffer,
  effOfflineNotify,
  effOfflinePrepare,
  effOfflineRun,
  effProcessVarIo,
  effSetSpeakerArrangement,
  effSetBlockSizeAndSampleRate,
  effSetBypass,
  effGetEffectName,
  effGetErrorText,
  effGetVendorString,
  effGetProductString,
  effGetVendorVersion,
  effVendorSpecific,
  effCanDo,
  effGetTailSize,
  effIdle,
  effGetIcon,
  effSetViewPosition,
  effGetParameterProperties,
  effKeysRequired,
  effGetVstVersion,
  effEditKeyDown,
  effEditKeyUp,
  effSetEditKnobMode,
  effGetMidiProgramName,
  effGetCurrentMidiProgram,
  effGetMidiProgramCategory,
  effHasMidiProgramsChanged,
  effGetMidiKeyName,
  effBeginSetProgram,
  effEndSetProgram,
  effGetSpeakerArrangement,
  effShellGetNextPlugin,
  effStartProcess,
  effStopProcess,
  effSetTotalSampleToProcess,
  effSetPanLaw,
  effBeginLoadBank,
  effBeginLoadProgram,
  effSetProcessPrecision,
  effGetNumMidiInputChannels,
  effGetNumMidiOutputChannels,
  kNumDispatcherOpcodes
};
static_assert(effGetNumMidiOutputChannels == 79);

// Host callback opcodes (plug-in to host).
enum AudioMasterOpcode : VstInt32 {
  audioMasterAutomate = 0,
  audioMasterVersion,
  audioMasterCurrentId,
  audioMasterIdle,
  audioMasterPinConnected,
  audioMasterUnused5,
  audioMasterWantMidi,
  audioMasterGetTime,
  audioMasterProcessEvents,
  audioMasterSetTime,
  audioMasterTempoAt,
  audioMasterGetNumAutomatableParameters,
  audioMasterGetParameterQuantization,
  audioMasterIOChanged,
  audioMasterNeedIdle,
  audioMasterSizeWindow,
  audioMasterGetSampleRate,
  audioMasterGetBlockSize,
  audioMasterGetInputLatency,
  audioMasterGetOutputLatency,
  audioMasterGetPreviousPlug,
  audioMasterGetNextPlug,
  audioMasterWillReplaceOrAccumulate,
  audioMasterGetCurrentProcessLevel,
  audioMasterGetAutomationState,
  audioMasterOfflineStart,
  audioMasterOfflineRead,
  audioMasterOfflineWrite,
  audioMasterOfflineGetCurrentPass,
  audioMasterOfflineGetCurrentMetaPass,
  audioMasterSetOutputSampleRate,
  audioMasterGetOutputSpeakerArrangement,
  audioMasterGetVendorString,
  audioMasterGetProductString,
  audioMasterGetVendorVersion,
  audioMasterVendorSpecific,
  audioMasterSetIcon,
  audioMasterCanDo,
  audioMasterGetLanguage,
  audioMasterOpenWindow,
  audioMasterCloseWindow,
  audioMasterGetDirectory,
  audioMasterUpdateDisplay,
  audioMasterBeginEdit,
  audioMasterEndEdit,
  audioMasterOpenFileSelector,
  audioMasterCloseFileSelector,
  audioMasterEditFile,
  audioMasterGetChunkFile,
  audioMasterGetInputSpeakerArrangement
};
static_assert(audioMasterGetProductString == 33 && audioMasterUpdateDisplay == 42 &&
              audioMasterGetInputSpeakerArrangement == 49);

enum EffectFlags : VstInt32 {
  effFlagsHasEditor = 1 << 0,
  effFlagsHasClip = 1 << 1,
  effFlagsHasVu = 1 << 2,
  effFlagsCanMono = 1 << 3,
  effFlagsCanReplacing = 1 << 4,
  effFlagsProgramChunks = 1 << 5,
  effFlagsIsSynth = 1 << 8,
  effFlagsNoSoundInStop = 1 << 9,
  effFlagsExtIsAsync = 1 << 10,
  effFlagsExtHasBuffer = 1 << 11,
  effFlagsCanDoubleReplacing = 1 << 12,
};

enum TimeInfoFlags : VstInt32 {
  kVstTransportChanged = 1 << 0,
  kVstTransportPlaying = 1 << 1,
  kVstTransportCycleActive = 1 << 2,
  kVstTransportRecording = 1 << 3,
  kVstAutomationWriting = 1 << 6,
  kVstAutomationReading = 1 << 7,
  kVstNanosValid = 1 << 8,
  kVstPpqPosValid = 1 << 9,
  kVstTempoValid = 1 << 10,
  kVstBarsValid = 1 << 11,
  kVstCyclePosValid = 1 << 12,
  kVstTimeSigValid = 1 << 13,
  kVstSmpteValid = 1 << 14,
  kVstClockValid = 1 << 15,
};

// effEditKeyDown / effEditKeyUp: index the character, value the virtual key, opt the modifiers.
enum VstVirtualKey : VstInt32 {
  VKEY_BACK = 1,
  VKEY_TAB,
  VKEY_CLEAR,
  VKEY_RETURN,
  VKEY_PAUSE,
  VKEY_ESCAPE,
  VKEY_SPACE,
  VKEY_NEXT,
  VKEY_END,
  VKEY_HOME,
  VKEY_LEFT,
  VKEY_UP,
  VKEY_RIGHT,
  VKEY_DOWN,
  VKEY_PAGEUP,
  VKEY_PAGEDOWN,
  VKEY_SELECT,
  VKEY_PRINT,
  VKEY_ENTER,
  VKEY_SNAPSHOT,
  VKEY_INSERT,
  VKEY_DELETE,
  VKEY_HELP,
  VKEY_NUMPAD0,
  VKEY_NUMPAD9 = VKEY_NUMPAD0 + 9,
  VKEY_MULTIPLY,
  VKEY_ADD,
  VKEY_SEPARATOR,
  VKEY_SUBTRACT,
  VKEY_DECIMAL,
  VKEY_DIVIDE,
  VKEY_F1,
  VKEY_F12 = VKEY_F1 + 11,
  VKEY_NUMLOCK,
  VKEY_SCROLL,
  VKEY_SHIFT,
  VKEY_CONTROL,
  VKEY_ALT,
  VKEY_EQUALS,
};
static_assert(VKEY_EQUALS == 57);

enum VstModifierKey : VstInt32 {
  MODIFIER_SHIFT = 1,
  MODIFIER_ALTERNATE = 2,
  MODIFIER_COMMAND = 4,
  MODIFIER_CONTROL = 8,
};

enum EventTypes : VstInt32 {
  kVstMidiType = 1,
  kVstAudioType = 2,
  kVstVideoType = 3,
  kVstParameterType = 4,
  kVstTriggerType = 5,
  kVstSysExType = 6,
};
constexpr VstInt32 kVstMidiEventIsRealtime = 1;

enum PinFlags : VstInt32 {
  kVstPinIsActive = 1 << 0,
  kVstPinIsStereo = 1 << 1,
  kVstPinUseSpeaker = 1 << 2,
};

enum SpeakerArrangementType : VstInt32 {
  kSpeakerArrUserDefined = -2,
  kSpeakerArrEmpty = -1,
  kSpeakerArrMono = 0,
  kSpeakerArrStereo = 1,
  kSpeakerArr40Music = 11,
};

enum ParameterFlags : VstInt32 {
  kVstParameterIsSwitch = 1 << 0,
  kVstParameterUsesIntegerMinMax = 1 << 1,
  kVstParameterUsesFloatStep = 1 << 2,
  kVstParameterUsesIntStep = 1 << 3,
  kVstParameterSupportsDisplayIndex = 1 << 4,
  kVstParameterSupportsDisplayCategory = 1 << 5,
  kVstParameterCanRamp = 1 << 6,
};

enum StringLimits : int {
  kVstMaxProgNameLen = 24,
  kVstMaxParamStrLen = 8,
  kVstMaxVendorStrLen = 64,
  kVstMaxProductStrLen = 64,
  kVstMaxEffectNameLen = 32,
  kVstMaxNameLen = 64,
  kVstMaxLabelLen = 64,
  kVstMaxShortLabelLen = 8,
  kVstMaxCategLabelLen = 24,
};

enum ProcessPrecision : VstInt32 { kVstProcessPrecision32 = 0, kVstProcessPrecision64 = 1 };

// Record layouts must match every host bit for bit.
#define VST_CHECK_OFFSET(rec, field, off64, off32) \
  static_assert(offsetof(rec, field) == (sizeof(void*) == 8 ? (off64) : (off32)), #rec "." #field)
#define VST_CHECK_SIZE(rec, s64, s32) static_assert(sizeof(rec) == (sizeof(void*) == 8 ? (s64) : (s32)), "sizeof " #rec)

VST_CHECK_OFFSET(AEffect, dispatcher, 8, 4);
VST_CHECK_OFFSET(AEffect, process, 16, 8);
VST_CHECK_OFFSET(AEffect, setParameter, 24, 12);
VST_CHECK_OFFSET(AEffect, getParameter, 32, 16);
VST_CHECK_OFFSET(AEffect, numPrograms, 40, 20);
VST_CHECK_OFFSET(AEffect, numParams, 44, 24);
VST_CHECK_OFFSET(AEffect, numInputs, 48, 28);
VST_CHECK_OFFSET(AEffect, numOutputs, 52, 32);
VST_CHECK_OFFSET(AEffect, flags, 56, 36);
VST_CHECK_OFFSET(AEffect, resvd1, 64, 40);
VST_CHECK_OFFSET(AEffect, resvd2, 72, 44);
VST_CHECK_OFFSET(AEffect, initialDelay, 80, 48);
VST_CHECK_OFFSET(AEffect, realQualities, 84, 52);
VST_CHECK_OFFSET(AEffect, offQualities, 88, 56);
VST_CHECK_OFFSET(AEffect, ioRatio, 92, 60);
VST_CHECK_OFFSET(AEffect, object, 96, 64);
VST_CHECK_OFFSET(AEffect, user, 104, 68);
VST_CHECK_OFFSET(AEffect, uniqueID, 112, 72);
VST_CHECK_OFFSET(AEffect, version, 116, 76);
VST_CHECK_OFFSET(AEffect, processReplacing, 120, 80);
VST_CHECK_OFFSET(AEffect, processDoubleReplacing, 128, 84);
VST_CHECK_OFFSET(AEffect, future, 136, 88);
VST_CHECK_SIZE(AEffect, 192, 144);

VST_CHECK_OFFSET(VstTimeInfo, ppqPos, 24, 24);
VST_CHECK_OFFSET(VstTimeInfo, tempo, 32, 32);
VST_CHECK_OFFSET(VstTimeInfo, timeSigNumerator, 64, 64);
VST_CHECK_OFFSET(VstTimeInfo, timeSigDenominator, 68, 68);
VST_CHECK_OFFSET(VstTimeInfo, samplesToNextClock, 80, 80);
VST_CHECK_OFFSET(VstTimeInfo, flags, 84, 84);
VST_CHECK_SIZE(VstTimeInfo, 88, 88);

VST_CHECK_SIZE(VstEvent, 32, 32);
VST_CHECK_OFFSET(VstMidiEvent, deltaFrames, 8, 8);
VST_CHECK_OFFSET(VstMidiEvent, midiData, 24, 24);
VST_CHECK_OFFSET(VstMidiEvent, detune, 28, 28);
VST_CHECK_SIZE(VstMidiEvent, 32, 32);
VST_CHECK_OFFSET(VstMidiSysexEvent, dumpBytes, 16, 16);
VST_CHECK_OFFSET(VstMidiSysexEvent, resvd1, 24, 20);
VST_CHECK_OFFSET(VstMidiSysexEvent, sysexDump, 32, 24);
VST_CHECK_OFFSET(VstMidiSysexEvent, resvd2, 40, 28);
VST_CHECK_SIZE(VstMidiSysexEvent, 48, 32);
VST_CHECK_OFFSET(VstEvents, reserved, 8, 4);
VST_CHECK_OFFSET(VstEvents, events, 16, 8);

VST_CHECK_OFFSET(VstPinProperties, flags, 64, 64);
VST_CHECK_OFFSET(VstPinProperties, arrangementType, 68, 68);
VST_CHECK_OFFSET(VstPinProperties, shortLabel, 72, 72);
VST_CHECK_OFFSET(VstPinProperties, future, 80, 80);
VST_CHECK_SIZE(VstPinProperties, 128, 128);

VST_CHECK_OFFSET(VstParameterProperties, label, 12, 12);
VST_CHECK_OFFSET(VstParameterProperties, flags, 76, 76);
VST_CHECK_OFFSET(VstParameterProperties, minInteger, 80, 80);
VST_CHECK_OFFSET(VstParameterProperties, largeStepInteger, 92, 92);
VST_CHECK_OFFSET(VstParameterProperties, shortLabel, 96, 96);
VST_CHECK_OFFSET(VstParameterProperties, displayIndex, 104, 104);
VST_CHECK_OFFSET(VstParameterProperties, category, 106, 106);
VST_CHECK_OFFSET(VstParameterProperties, numParametersInCategory, 108, 108);
VST_CHECK_OFFSET(VstParameterProperties, categoryLabel, 112, 112);
VST_CHECK_OFFSET(VstParameterProperties, future, 136, 136);
VST_CHECK_SIZE(VstParameterProperties, 152, 152);

VST_CHECK_OFFSET(VstPatchChunkInfo, numElements, 12, 12);
VST_CHECK_SIZE(VstPatchChunkInfo, 64, 64);

VST_CHECK_OFFSET(ERect, bottom, 4, 4);
VST_CHECK_OFFSET(ERect, right, 6, 6);
VST_CHECK_SIZE(ERect, 8, 8);

#undef VST_CHECK_OFFSET
#undef VST_CHECK_SIZE

}  // namespace vst
