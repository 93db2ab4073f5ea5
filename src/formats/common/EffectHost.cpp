#include "formats/common/EffectHost.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "formats/common/VornixEffect.h"
#include "host/BasicVSTModule.h"
#include "host/VendorSpecific.h"
#include "plugin/Plugin.h"
#include "plugin/StateChunk.h"

namespace vornix::formats {

using namespace vst;

namespace {

// The host the effect being made belongs to: the entry point calls back before the record exists.
thread_local TEffectHost* creating = nullptr;

}  // namespace

TEffectHost::TEffectHost(TListener& listener) : listener_(listener) {
  creating = this;
  effect_ = CreateVornixEffect(&Callback);
  creating = nullptr;
  if (effect_ == nullptr) throw std::runtime_error("the plug-in did not start");
  // The reserved field is the host's: ours finds itself through it.
  effect_->resvd1 = reinterpret_cast<VstIntPtr>(this);
  module_ = static_cast<plugin::TVSTPlugin*>(host::TBasicVSTModule::FromEffect(effect_));
  Dispatch(effOpen);
  Configure(sampleRate_, maxFrames_);
}

TEffectHost::~TEffectHost() {
  Dispatch(effMainsChanged, 0, 0);
  Dispatch(effClose);
}

VstIntPtr VSTCALLBACK TEffectHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                            void* ptr, float opt) {
  auto* self = effect != nullptr && effect->resvd1 != 0 ? reinterpret_cast<TEffectHost*>(effect->resvd1) : creating;
  if (self == nullptr) return opcode == audioMasterVersion ? 2400 : 0;
  try {
    return self->Answer(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

VstIntPtr TEffectHost::Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  (void)value;
  switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(time_);
    case audioMasterProcessEvents: {
      if (out_ == nullptr || ptr == nullptr) return 0;
      const auto& list = *static_cast<const VstEvents*>(ptr);
      for (VstInt32 i = 0; i < list.numEvents; ++i) {
        if (list.events[i] == nullptr || list.events[i]->type != kVstMidiType) continue;
        VstMidiEvent event = *reinterpret_cast<const VstMidiEvent*>(list.events[i]);
        event.deltaFrames += partOffset_;
        out_->Midi(event);
      }
      return 1;
    }
    case audioMasterAutomate: listener_.ParameterChanged(index, opt); return 0;
    case audioMasterBeginEdit: listener_.ParameterGesture(index, true); return 1;
    case audioMasterEndEdit: listener_.ParameterGesture(index, false); return 1;
    case audioMasterUpdateDisplay: listener_.StateChanged(); return 1;
    case audioMasterSizeWindow: return listener_.EditorResize(index, static_cast<int>(value)) ? 1 : 0;
    case audioMasterGetSampleRate: return static_cast<VstIntPtr>(sampleRate_);
    case audioMasterGetBlockSize: return maxFrames_;
    case audioMasterWantMidi: return 1;
    case audioMasterCanDo: {
      if (ptr == nullptr) return 0;
      const char* text = static_cast<const char*>(ptr);
      for (const char* can : {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo", "receiveVstEvents",
                              "receiveVstMidiEvent", "sizeWindow"})
        if (std::strcmp(text, can) == 0) return 1;
      return 0;
    }
    default: return 0;
  }
}

VstIntPtr TEffectHost::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void TEffectHost::Configure(float sampleRate, int maxFrames) {
  sampleRate_ = sampleRate > 0.0f ? sampleRate : 44100.0f;
  maxFrames_ = std::max(1, maxFrames);
  for (auto& channel : silence_) channel.assign(static_cast<std::size_t>(maxFrames_), 0.0f);
  Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate_);
  Dispatch(effSetBlockSize, 0, maxFrames_);
}

void TEffectHost::SetActive(bool active) { Dispatch(effMainsChanged, 0, active ? 1 : 0); }

void TEffectHost::Process(int frames, const VstTimeInfo* time, std::span<const VstMidiEvent> in, TMidiOut& out) {
  out_ = &out;
  for (int offset = 0; offset < frames; offset += maxFrames_) {
    const int part = std::min(maxFrames_, frames - offset);
    const VstTimeInfo* partTime = nullptr;
    if (time != nullptr) {
      // Each part starts where the transport is at its first sample.
      partTime_ = *time;
      partTime_.samplePos += offset;
      if ((time->flags & kVstTransportPlaying) != 0 && time->tempo > 0.0 && sampleRate_ > 0.0f)
        partTime_.ppqPos += offset * time->tempo / 60.0 / sampleRate_;
      partTime = &partTime_;
    }
    ProcessPart(offset, part, partTime, in);
  }
  out_ = nullptr;
  time_ = nullptr;
}

void TEffectHost::ProcessPart(int offset, int frames, const VstTimeInfo* time, std::span<const VstMidiEvent> in) {
  int count = 0;
  for (const VstMidiEvent& event : in) {
    if (event.deltaFrames < offset || event.deltaFrames >= offset + frames) continue;
    if (count == kMaxEventsIn) break;
    VstMidiEvent& e = partEvents_[static_cast<std::size_t>(count)];
    e = event;
    e.type = kVstMidiType;
    e.byteSize = sizeof e;
    e.deltaFrames -= offset;
    eventList_.events[static_cast<std::size_t>(count)] = reinterpret_cast<VstEvent*>(&e);
    ++count;
  }
  eventList_.numEvents = count;
  if (count > 0) Dispatch(effProcessEvents, 0, 0, &eventList_);
  time_ = time;
  partOffset_ = offset;
  float* outputs[2] = {silence_[0].data(), silence_[1].data()};
  effect_->processReplacing(effect_, nullptr, outputs, frames);
  partOffset_ = 0;
}

int TEffectHost::ParameterCount() const { return effect_->numParams; }

float TEffectHost::Parameter(int index) const { return effect_->getParameter(effect_, index); }

void TEffectHost::SetParameter(int index, float normalized) { effect_->setParameter(effect_, index, normalized); }

std::string TEffectHost::ParameterName(int index) {
  char text[64] = {};
  Dispatch(effGetParamName, index, 0, text);
  return text;
}

std::string TEffectHost::ParameterDisplay(int index) {
  char text[64] = {};
  Dispatch(effGetParamDisplay, index, 0, text);
  return text;
}

VstParameterProperties TEffectHost::ParameterProperties(int index) {
  VstParameterProperties properties{};
  Dispatch(effGetParameterProperties, index, 0, &properties);
  return properties;
}

std::vector<std::uint8_t> TEffectHost::SaveState() {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, 1, 0, &data);
  if (size <= 0 || data == nullptr) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  return {bytes, bytes + size};
}

bool TEffectHost::LoadState(std::span<const std::uint8_t> bytes) {
  stateCopy_.assign(bytes.begin(), bytes.end());
  try {
    plugin::CheckVornixState(stateCopy_);
  } catch (const std::exception&) {
    return false;
  }
  return Dispatch(effSetChunk, 1, static_cast<VstIntPtr>(stateCopy_.size()), stateCopy_.data()) != 0;
}

bool TEffectHost::OpenEditor(void* parent) { return Dispatch(effEditOpen, 0, 0, parent) != 0; }

void TEffectHost::IdleEditor() { Dispatch(effEditIdle); }

void TEffectHost::CloseEditor() { Dispatch(effEditClose); }

void TEffectHost::EditorSize(int& width, int& height) {
  ERect* rect = nullptr;
  Dispatch(effEditGetRect, 0, 0, &rect);
  width = rect != nullptr ? rect->right - rect->left : 0;
  height = rect != nullptr ? rect->bottom - rect->top : 0;
}

bool TEffectHost::TellScale(double factor) {
  return Dispatch(effVendorSpecific, kVendorScaleIndex, kVendorScaleValue, nullptr, static_cast<float>(factor)) != 0;
}

}  // namespace vornix::formats
