// MIDI CC remote control, learn, Set CC, Remove and teach.
//
// Threads: incoming controllers arrive on the processing thread, the menu commands on the editor
// thread, loads on the host's main thread. The processing thread reads the links through
// TRemoteControlMap and never changes the map: a learned link is parked in FPendingLearn and
// completed on the editor thread. The others change the map under FCCMapLock.
#include <cmath>

#include "plugin/VSTPluginBaseDM.h"

namespace vornix::plugin {

namespace {
constexpr int kLearnCC = 1;
constexpr int kLearnSetCC = 2;
}  // namespace

void TVSTPluginBase::SetLearnMode(int mode) {
  FLearnMode.store(mode, std::memory_order_relaxed);
  if (mode != kLearnCC) FLearnTarget.store(-1, std::memory_order_relaxed);
}

std::string TVSTPluginBase::LearnTarget() const {
  const int index = FLearnTarget.load(std::memory_order_relaxed);
  return index >= 0 && index < numParams() ? ParameterProperties()[static_cast<std::size_t>(index)]->DisplayName()
                                           : std::string();
}

void TVSTPluginBase::SetCC(const std::string& parameterName, int cc) {
  // A link to a parameter this module does not have could never act; it is left out.
  if (IndexOfParameter(parameterName) < 0) return;
  const std::lock_guard lock(FCCMapLock);
  FMidiCCList.SetCC(parameterName, cc);
  CCMapChanged();
}

void TVSTPluginBase::ReplaceLinks(const TMidiCCList& links) {
  const std::lock_guard lock(FCCMapLock);
  FMidiCCList.Clear();
  for (const TMidiCCItem& link : links) {
    if (IndexOfParameter(link.ParameterName) >= 0) FMidiCCList.SetCC(link.ParameterName, link.CC);
  }
  CCMapChanged();
}

TMidiCCList TVSTPluginBase::MidiCCList() const {
  const std::lock_guard lock(FCCMapLock);
  return FMidiCCList;
}

std::vector<TMidiCCRemoveEntry> TVSTPluginBase::RemoveEntries() const {
  const std::lock_guard lock(FCCMapLock);
  return FMidiCCList.RemoveEntries();
}

void TVSTPluginBase::CCMapChanged() {
  std::vector<TRemoteLink> links;
  links.reserve(static_cast<std::size_t>(FMidiCCList.Count()));
  for (const TMidiCCItem& item : FMidiCCList) {
    if (const int index = IndexOfParameter(item.ParameterName); index >= 0) links.push_back({item.CC, index});
  }
  FRemoteControl.Publish(std::move(links));
}

void TVSTPluginBase::VSTModuleProcessMidi(const vst::VstMidiEvent& event) {
  const auto status = static_cast<unsigned char>(event.midiData[0]);
  if ((status & 0xF0) != 0xB0) return;
  const int d1 = event.midiData[1] & 0x7F;
  const int d2 = event.midiData[2] & 0x7F;
  if (FLearnMode.load(std::memory_order_relaxed) == kLearnCC) {
    const int target = FLearnTarget.load(std::memory_order_relaxed);
    if (target < 0) return;  // no control pressed yet
    FPendingLearn.store(target << 8 | d1, std::memory_order_release);
    SetLearnMode(0);
    EditorNeedsUpdate = true;
    return;
  }
  FRemoteControl.ForEachWithCC(d1, [&](const TRemoteLink& link) {
    const auto& p = *ParameterProperties()[static_cast<std::size_t>(link.ParameterIndex)];
    SetParameter(link.ParameterIndex, RemoteControlValue(p.Min, p.Max, d2));
  });
}

void TVSTPluginBase::CompletePendingLearn() {
  const int pending = FPendingLearn.exchange(-1, std::memory_order_acquire);
  if (pending < 0) return;
  const int index = pending >> 8;
  const int cc = pending & 0xFF;
  if (index >= numParams()) return;
  const std::string name = ParameterProperties()[static_cast<std::size_t>(index)]->DisplayName();
  SetCC(name, cc);
  NotifyHostOfChange();
  FEditorInbox.PostInfo(name + " = CC# " + std::to_string(cc));
}

// A host may ask for the state on another thread than the editor's: the map is read from the
// published copy, and a link learned a moment ago is saved with it but left for the editor thread
// to complete and publish.
TMidiCCList TVSTPluginBase::MidiCCListToSave() const {
  const auto name = [this](int index) { return ParameterProperties()[static_cast<std::size_t>(index)]->DisplayName(); };
  TMidiCCList links;
  for (const TRemoteLink& link : FRemoteControl.Snapshot()) links.SetCC(name(link.ParameterIndex), link.CC);
  const int pending = FPendingLearn.load(std::memory_order_acquire);
  if (pending >= 0 && (pending >> 8) < numParams()) links.SetCC(name(pending >> 8), pending & 0xFF);
  return links;
}

std::string TVSTPluginBase::ToggleMidiLearn() {
  if (LearnMode() == kLearnCC) {
    SetLearnMode(0);
    return "";
  }
  SetLearnMode(kLearnCC);
  SetTeachCC(-1);
  return "MIDI Learn: Click control";
}

std::string TVSTPluginBase::ToggleMidiSetCC() {
  if (LearnMode() == kLearnSetCC) {
    SetLearnMode(0);
    return "";
  }
  SetLearnMode(kLearnSetCC);
  SetTeachCC(-1);
  return "MIDI Set CC: Click control";
}

std::string TVSTPluginBase::ToggleMidiTeach(int teachCC) {
  SetLearnMode(0);
  if (TeachCC() == -1) {
    if (teachCC < 0 || teachCC > 127) return "";  // no controller to teach
    SetTeachCC(teachCC);
    return "MIDI Teach CC: Sending CC#" + std::to_string(teachCC);
  }
  SetTeachCC(-1);
  return "";
}

std::string TVSTPluginBase::LearnControlPressed(const std::string& parameterName) {
  if (LearnMode() == kLearnCC) {
    const int index = IndexOfParameter(parameterName);
    if (index < 0) return "MIDI Learn: Click control";
    FLearnTarget.store(index, std::memory_order_relaxed);
    return "MIDI Learn: Move MIDI controller";
  }
  if (LearnMode() != kLearnSetCC) return "";
  int proposed = 1;
  {
    const std::lock_guard lock(FCCMapLock);
    if (const int existing = FMidiCCList.IndexOfName(parameterName); existing >= 0)
      proposed = FMidiCCList.Items(existing).CC;
  }
  const auto number = DialogHost()->InputNumber("MIDI Set CC: " + parameterName, "CC# (0-127)", proposed, 0, 127, 0);
  SetLearnMode(0);
  if (!number) return "";
  const int cc = static_cast<int>(std::nearbyint(*number));
  SetCC(parameterName, cc);
  NotifyHostOfChange();
  return parameterName + " = CC# " + std::to_string(cc);
}

// The entry was listed before a load may have replaced the map: an index it no longer has
// removes nothing.
void TVSTPluginBase::RemoveLink(int index) {
  {
    const std::lock_guard lock(FCCMapLock);
    if (index < 0 || index >= FMidiCCList.Count()) return;
    FMidiCCList.Delete(index);
    CCMapChanged();
  }
  NotifyHostOfChange();
}

void TVSTPluginBase::TouchParameter(const std::string& parameterName) {
  const int index = IndexOfParameter(parameterName);
  if (index < 0) return;
  BeginParameterEdit(index);
  const auto& p = *ParameterProperties()[static_cast<std::size_t>(index)];
  CallAudioMaster(vst::audioMasterAutomate, index, 0, nullptr,
                  p.NormalizeValue(FParameterValues->Items(index).Value()));
}

void TVSTPluginBase::BeginParameterEdit(int index) {
  if (index == FEditedParameter) return;
  EndParameterEdit();
  if (index < 0 || index >= numParams()) return;
  FEditedParameter = index;
  HostBeginEdit(index);
}

void TVSTPluginBase::EndParameterEdit() {
  if (FEditedParameter < 0) return;
  const int index = FEditedParameter;
  FEditedParameter = -1;
  HostEndEdit(index);
}

void TVSTPluginBase::EditParameter(const std::string& parameterName, float value) {
  const int index = IndexOfParameter(parameterName);
  const bool held = index >= 0 && index == FEditedParameter;
  if (!held) BeginParameterEdit(index);
  SetParameterByName(parameterName, value);
  if (!held) EndParameterEdit();
}

}  // namespace vornix::plugin
