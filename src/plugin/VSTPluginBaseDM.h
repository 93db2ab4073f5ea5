// The base of the plug-in module: presets, configuration, parameter values, MIDI learn and
// teach, and the handlers every Orvane plug-in shares.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "host/VSTModule.h"
#include "platform/DialogHost.h"
#include "platform/OrvRegistry.h"
#include "plugin/EditorInbox.h"
#include "plugin/OrvVSTParameterValues.h"
#include "plugin/RemoteControlMap.h"
#include "plugin/cc/OrvMidiCC.h"
#include "plugin/stream/Chunk.h"
#include "plugin/stream/TaggedValueReader.h"
#include "plugin/stream/TaggedValueWriter.h"
#include "sequencer/SharedText.h"

namespace vornix::plugin {

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<unsigned>::is_always_lock_free &&
                  std::atomic<double>::is_always_lock_free,
              "learn, teach and load state are read by the processing thread without waiting");

// A module's own section of a saved state, read completely before it is applied.
struct TPluginStateSection {
  virtual ~TPluginStateSection() = default;
};

class TVSTPluginBase : public host::TVSTModule {
 public:
  TVSTPluginBase();
  ~TVSTPluginBase() override;

  // What the editor shows that changed; the module's only way to its editor.
  TEditorInbox& EditorInbox() { return FEditorInbox; }

  // State shared with the editor and the state stream.
  std::string PresetName() const { return FPresetName.Get(); }
  void SetPresetName(const std::string& name);
  TVSTParameterValues& ParameterValues() { return *FParameterValues; }
  const std::string& Version() const { return FVersion; }
  const std::string& DataFolder() const { return FDataFolder; }
  const std::string& PresetsFolder() const { return FPresetsFolder; }
  int Style() const { return FStyle; }
  // The user guide's file name, looked up in the data folder and beside the plug-in.
  const std::string& UserGuideFileName() const { return FUserGuideFileName; }
  int LowestOctave() const { return FLowestOctave; }

  // Configuration kept per user; a change is written at once.
  void SetStyle(int style);
  void SetLowestOctave(int octave);

  // The editor's zoom, in percent of its design size (the steps of gfx::kZoomSteps). The user's
  // choice is kept in the configuration (0: none made). Any thread may ask.
  int ZoomChoice() const { return FZoom.load(std::memory_order_relaxed); }
  // A step; anything else is taken to the nearest step.
  void SetZoomChoice(int percent);
  // The zoom an editor opens at: the user's choice; without one the scale the host told (its UI
  // scale hint), else `displayPercent` (the scale of the screen the editor goes to; 0: the
  // desktop's, as the platform tells it), taken to the nearest step.
  int EditorZoom(double displayPercent = 0) const;
  // The editor's size at a zoom.
  static void EditorSizeAt(int zoom, int& width, int& height);
  // The host's UI scale hint in percent (0: none came).
  int HostScale() const { return FHostScale.load(std::memory_order_relaxed); }
  // The zoom the host was last told the editor's size for while no editor was open (0: none).
  int AnsweredZoom() const { return FAnsweredZoom.load(std::memory_order_relaxed); }
  // The host's UI scale, as a factor (1.5: 150 %); false for one that makes no sense.
  bool TakeHostScale(double factor);

  // Preset commands of the editor's menu.
  // "Init": the init preset, or the defaults; errors are reported through the dialog host.
  void InitPreset();
  // Loads one preset file; false (and reported) when it cannot be read. The state then is unchanged.
  bool LoadPresetFile(const std::string& presetName);
  // Saves the state as the preset `name` (a valid file name) and names the state after it. Throws
  // when the file cannot be written; the old file is then unchanged.
  void SavePresetFile(const std::string& name);
  std::filesystem::path PresetPath(const std::string& name) const;
  bool PresetFileExists(const std::string& name) const;

  // Puts the whole state back to its initial values, as one load.
  void ResetState();
  // Applies a change of the whole state (a chunk, a preset, Init) as one step for the processing
  // thread: until it is done the sequencer sends nothing, so no block plays defaults or half a
  // state. Afterwards every parameter is reported to the host once, with its final value. A load
  // started inside another one becomes part of it.
  void RunStateLoad(const std::function<void()>& apply);
  // Makes the loads that `loads` may start one load; nothing happens when it starts none.
  void GroupStateLoads(const std::function<void()>& loads);
  // Makes a change of the saved state that is not a parameter change reach the host. Hosts that
  // look for a display update instead hear of it once the editor's gesture ends.
  void NotifyHostOfChange();
  // The editor's thread, when a gesture has ended: a change of the saved state made meanwhile is
  // told to the host once, as a display update (which marks the host's project modified).
  void ReportStateChange();

  // MIDI learn (1) and Set CC (2); 0 is off.
  int LearnMode() const { return FLearnMode.load(std::memory_order_relaxed); }
  void SetLearnMode(int mode);
  // The parameter waiting for a controller in learn mode 1; empty otherwise.
  std::string LearnTarget() const;
  // Controller taught to a receiving device; -1 is off.
  int TeachCC() const { return FTeachCC.load(std::memory_order_relaxed); }
  void SetTeachCC(int cc);
  // The teach ramp: climbs by 0.2 per call and wraps after 127.
  int NextTeachValue();

  // The whole state as a chunk body, and back. Loading reads and checks everything first: a body
  // that cannot be read changes nothing and is reported. Both report failures and answer false.
  bool SaveStateToChunk(TMemoryStreamChunk& chunk);
  bool LoadStateFromChunk(const TMemoryStreamChunk& chunk, bool checkPresetFile);
  // The CC map: which controller drives which parameter (a copy: loads change it on other threads).
  TMidiCCList MidiCCList() const;
  void SetCC(const std::string& parameterName, int cc);
  // The whole CC map at once; links to parameters this module does not have are left out.
  void ReplaceLinks(const TMidiCCList& links);

  // MIDI CC commands of the editor's menu (editor thread). Each answers the info text to show.
  std::string ToggleMidiLearn();
  std::string ToggleMidiSetCC();
  std::string ToggleMidiTeach(int teachCC);
  // A parameter control pressed while a learn mode is on; answers the info text.
  std::string LearnControlPressed(const std::string& parameterName);
  // The "MIDI CC Remove" entries, and removing the link an entry names.
  std::vector<TMidiCCRemoveEntry> RemoveEntries() const;
  void RemoveLink(int index);
  // A control was pressed: the host learns which parameter is being touched, and the edit begins.
  void TouchParameter(const std::string& parameterName);
  // The user's edits in the editor, told to the host as the beginning and end of an edit
  // (audioMasterBeginEdit, audioMasterEndEdit), so that hosts record and override automation
  // around them. A press on a control holds its parameter until the editor lets go of it; a change
  // made while nothing holds its parameter (the wheel, the keyboard, a menu) is an edit of its own.
  // The editor's thread only.
  void BeginParameterEdit(int index);
  void EndParameterEdit();
  // Sets a parameter by name as the user's edit.
  void EditParameter(const std::string& parameterName, float value);
  // A link learned on the processing thread is completed here, on the editor thread: at every idle
  // call of the editor and when it closes.
  void CompletePendingLearn();

  // Where messages and questions go; the editor installs its own while it is open. Setting one
  // answers the one it replaces (null when none was made yet).
  // Any thread may ask; the editor thread swaps the host while the editor opens and closes.
  std::shared_ptr<platform::TDialogHost> DialogHost();
  std::shared_ptr<platform::TDialogHost> SetDialogHost(std::shared_ptr<platform::TDialogHost> host);

  // An error of a command the user started, as a warning with the command's caption.
  void ShowError(const std::string& sentence, const std::exception& e, const std::string& caption);

  // Display text of a list value ("Rate", "Rate Type", "Order", "Trigger").
  virtual void GetValueText(const std::string& kind, int value, std::string& text) {
    (void)kind, (void)value, (void)text;
  }

  // Handlers bound to the module events.
  virtual void VSTModuleCreate();
  virtual void VSTModuleDestroy();
  virtual void VSTModuleProcess32Replacing(float* const* inputs, float* const* outputs, unsigned sampleFrames);
  virtual void VSTModuleProcessMidi(const vst::VstMidiEvent& event);
  virtual void VSTModuleEditIdle();
  void VSTModuleEditGetSize(short& width, short& height);
  vst::VstIntPtr VSTModuleVendorSpecific(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  float VSTModuleGetChunkParameter(int index);

 protected:
  // The initial state, applied inside a load: nothing is reported to the host from here.
  virtual void ApplyInitialState();
  // The last step of every load, still before the processing thread may play again.
  virtual void StateLoaded() {}
  // A load is being applied, or one began after `generation` was read (processing thread).
  bool LoadSince(unsigned generation) const;
  unsigned LoadGeneration() const { return FLoadGeneration.load(std::memory_order_acquire); }
  virtual void CreateParameterValues() {}
  virtual void LoadConfig();
  virtual void SaveConfig();
  virtual void ReadCustomConfig(platform::TOrvRegIniFile& config) { (void)config; }
  virtual void WriteCustomConfig(platform::TOrvRegIniFile& config) { (void)config; }
  // Throws when the init preset file exists but cannot be read as a chunk.
  virtual void LoadInitPreset();
  // The module's own section of the state.
  virtual void SavePluginState(TaggedValueWriter& writer) { (void)writer; }
  virtual std::unique_ptr<TPluginStateSection> ReadPluginState(TaggedValueReader& reader, const std::string& version);
  virtual void ApplyPluginState(const TPluginStateSection& section) { (void)section; }
  // The one program's chunk: the container with the whole state.
  void VSTPluginBasePrograms0StoreChunk(host::TCustomVstProgram& program);
  void VSTPluginBasePrograms0LoadChunk(host::TCustomVstProgram& program);
  vst::VstIntPtr EditorOpen(void* parentWindow, vst::VstIntPtr value) override;
  vst::VstIntPtr HostCallEditClose(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetChunk(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  void BeforeDestruction() override;
  // Every change of the CC map goes through here, with FCCMapLock held: the processing thread gets
  // a new copy.
  void CCMapChanged();
  // The CC map as a saved state holds it, a link still waiting for the editor thread included.
  TMidiCCList MidiCCListToSave() const;

  // Set at creation, read-only afterwards.
  std::string FDataFolder;
  std::string FPresetsFolder;
  std::string FUserGuideFileName;
  std::string FVersion;
  // The editor's thread only (and creation).
  int FLowestOctave = -2;
  int FStyle = 0;
  // The host may ask for the editor's size, and tell its scale, on another thread than the editor's.
  std::atomic<int> FZoom{0};
  std::atomic<int> FHostScale{0};
  std::atomic<int> FAnsweredZoom{0};
  // The desktop's scale, read once (-1: not yet).
  mutable std::atomic<int> FDesktopScale{-1};
  // Loads on the host's main thread and edits on the editor's change these.
  sequencer::TSharedText FPresetName;
  mutable std::mutex FCCMapLock;
  TMidiCCList FMidiCCList;  // under FCCMapLock; published to the processing thread through FRemoteControl
  TEditorInbox FEditorInbox;
  // Created before the host's threads come in; the entries are atomic values.
  std::unique_ptr<TVSTParameterValues> FParameterValues;

  // Questions may come from any thread (a host loading a chunk); the editor swaps the host.
  std::atomic<std::shared_ptr<platform::TDialogHost>> FDialogHost;

  // Shared with the processing thread.
  std::atomic<int> FLearnMode{0};
  // The learn target as a parameter index (-1 none), so the processing thread can test it safely.
  std::atomic<int> FLearnTarget{-1};
  // A link learned on the processing thread, parameter index << 8 | controller; -1 none.
  std::atomic<int> FPendingLearn{-1};
  TRemoteControlMap FRemoteControl;
  std::atomic<int> FTeachCC{-1};
  std::atomic<double> FTeachValue{0.0};  // the processing thread only, once teach runs
  bool FWasPlaying = false;              // processing thread only

 private:
  void ReportAllParameters();
  // The body of GroupStateLoads, under FLoadLock; true when the host is to hear the new values.
  bool ApplyStateLoads(const std::function<void()>& loads);

  // Odd while a load is being applied; moves on by two with every load. Written by the thread
  // that loads, read by the processing thread.
  std::atomic<unsigned> FLoadGeneration{0};
  // One load at a time, whichever thread starts it (the host's main thread, the editor's).
  std::recursive_mutex FLoadLock;
  // Under FLoadLock.
  int FLoadDepth = 0;
  bool FLoadBegun = false;
  unsigned FLoadReported = 0;
  // A change of the saved state that the host has not heard of as a display update yet.
  std::atomic<bool> FStateChangeUnreported{false};
  // The parameter the editor holds in an edit; -1 for none. The editor's thread only.
  int FEditedParameter = -1;
};

}  // namespace vornix::plugin
