#include "hostkit/PluginHost.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace vornix::hostkit {

using namespace vst;

namespace {
// The entry point gives no context, so the host being asked is the one that is creating or
// owns the effect. Requests come from the thread that drives the host.
thread_local PluginHost* creatingHost = nullptr;
std::vector<std::pair<AEffect*, PluginHost*>> hostsByEffect;

PluginHost* HostOf(AEffect* effect) {
  for (auto& [e, h] : hostsByEffect)
    if (e == effect) return h;
  return creatingHost;
}
}  // namespace

PluginHost::PluginHost(const std::string& path) : library_(std::make_unique<PluginLibrary>(path)) {
  using Function = AEffect*(VSTCALLBACK*)(audioMasterCallback);
  if (auto* f = reinterpret_cast<Function>(library_->Symbol("VSTPluginMain"))) entry_ = f;
  if (auto* f = reinterpret_cast<Function>(library_->Symbol("main"))) main_ = f;
  if (!entry_ && !main_) throw std::runtime_error("not a VST 2.x plug-in: no VSTPluginMain or main in " + path);
}

PluginHost::PluginHost(EntryPoint entry) : entry_(std::move(entry)) {}

PluginHost::~PluginHost() {
  if (effect_ != nullptr) Close();
  std::erase_if(hostsByEffect, [this](auto& p) { return p.second == this; });
}

AEffect* PluginHost::Create(bool viaMain) {
  const EntryPoint& fn = viaMain && main_ ? main_ : entry_ ? entry_ : main_;
  creatingHost = this;
  effect_ = fn(&PluginHost::Callback);
  creatingHost = nullptr;
  if (effect_ != nullptr) hostsByEffect.emplace_back(effect_, this);
  return effect_;
}

VstIntPtr PluginHost::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginHost::DispatchText(VstInt32 opcode, VstInt32 index) {
  std::array<char, 256> text{};
  Dispatch(opcode, index, 0, text.data());
  text.back() = '\0';
  return text.data();
}

VstIntPtr PluginHost::Close() {
  if (effect_ == nullptr) return 0;
  AEffect* e = effect_;
  const VstIntPtr result = e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  std::erase_if(hostsByEffect, [e](auto& p) { return p.first == e; });
  effect_ = nullptr;
  return result;
}

void PluginHost::ProcessBlock(int frames) {
  for (auto& o : outputs) o.assign(static_cast<std::size_t>(std::max(frames, 0)), 1.0f);
  float* out[2] = {outputs[0].data(), outputs[1].data()};
  effect_->processReplacing(effect_, nullptr, out, frames);
  ++blocksProcessed;
}

void PluginHost::SendMidi(const std::vector<VstMidiEvent>& events) {
  std::vector<unsigned char> block(VstEventsSize(events.size()) + sizeof(VstEvent*));
  auto* list = reinterpret_cast<VstEvents*>(block.data());
  list->numEvents = static_cast<VstInt32>(events.size());
  list->reserved = 0;
  for (std::size_t i = 0; i < events.size(); ++i)
    list->events[i] = reinterpret_cast<VstEvent*>(const_cast<VstMidiEvent*>(&events[i]));
  Dispatch(effProcessEvents, 0, 0, list);
}

std::vector<unsigned char> PluginHost::GetChunk(bool bank) {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
  if (size <= 0 || data == nullptr) return {};
  const auto* bytes = static_cast<const unsigned char*>(data);
  return {bytes, bytes + size};
}

VstIntPtr PluginHost::SetChunk(const std::vector<unsigned char>& bytes, bool bank) {
  // The plug-in may not keep the pointer, so a copy it can scribble on is enough.
  std::vector<unsigned char> copy = bytes;
  return Dispatch(effSetChunk, bank ? 0 : 1, static_cast<VstIntPtr>(copy.size()), copy.data());
}

std::size_t PluginHost::CountRequests(VstInt32 opcode) const {
  return static_cast<std::size_t>(
      std::count_if(requests.begin(), requests.end(), [opcode](const HostRequest& r) { return r.opcode == opcode; }));
}

VstIntPtr VSTCALLBACK PluginHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                           float opt) {
  PluginHost* host = HostOf(effect);
  if (host == nullptr) return 0;
  return host->Answer(opcode, index, value, ptr, opt);
}

VstIntPtr PluginHost::Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  const HostRequest request{opcode, index, value, opt};
  if (recordRequests) requests.push_back(request);
  if (override) {
    if (auto answer = override(request, ptr)) return *answer;
  }
  switch (opcode) {
    case audioMasterVersion: return versionAnswer;
    case audioMasterGetProductString:
      if (ptr != nullptr) std::strncpy(static_cast<char*>(ptr), productString.c_str(), 63);
      return 1;
    case audioMasterGetTime: return timeInfo ? reinterpret_cast<VstIntPtr>(&*timeInfo) : 0;
    case audioMasterProcessEvents: {
      ++processEventsCalls;
      const auto* list = static_cast<const VstEvents*>(ptr);
      for (VstInt32 i = 0; i < list->numEvents; ++i) {
        const auto* e = reinterpret_cast<const VstMidiEvent*>(list->events[i]);
        if (e->type != kVstMidiType) continue;
        midi.push_back({blocksProcessed, e->deltaFrames, static_cast<unsigned char>(e->midiData[0]),
                        static_cast<unsigned char>(e->midiData[1]), static_cast<unsigned char>(e->midiData[2])});
      }
      return 1;
    }
    default: return 0;
  }
}

}  // namespace vornix::hostkit
