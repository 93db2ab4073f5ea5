#include "formats/clap/Parameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/HostText.h"

namespace vornix::formats::clapface {

using namespace clap;

void TParameters::Attach(TEffectHost& effect) {
  infos_ = DescribeParameters(effect.Module());
  effect_ = &effect;
  HostKnowsAll();
}

void TParameters::HostKnowsAll() {
  for (std::size_t i = 0; i < infos_.size(); ++i)
    known_[i].store(effect_->Parameter(static_cast<int>(i)), std::memory_order_relaxed);
}

bool TParameters::Info(std::uint32_t index, clap_param_info& info) const {
  if (!Valid(index)) return false;
  const TParameterInfo& p = infos_[index];
  info = clap_param_info{};
  info.id = index;
  // Every setting takes whole values; the lists and switches name each of them.
  info.flags = CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_AUTOMATABLE;
  if (p.Kind != TParameterKind::Integer) info.flags |= CLAP_PARAM_IS_ENUM;
  info.cookie = nullptr;
  const std::string name = host::CutText(p.Name, CLAP_NAME_SIZE - 1);
  std::memcpy(info.name, name.c_str(), name.size() + 1);
  // Hosts that group parameters show one group per sequence ("Seq3").
  const std::string group = p.Name.substr(0, p.Name.find(' '));
  std::memcpy(info.module, group.c_str(), std::min<std::size_t>(group.size(), CLAP_PATH_SIZE - 1));
  info.min_value = p.Min;
  info.max_value = p.Max;
  info.default_value = p.Default;
  return true;
}

double TParameters::Plain(int index, float normalized) const {
  const TParameterInfo& p = infos_[static_cast<std::size_t>(index)];
  return std::clamp(std::round(static_cast<double>(p.Value(normalized))), static_cast<double>(p.Min),
                    static_cast<double>(p.Max));
}

bool TParameters::Value(clap_id id, double& value) const {
  if (!Valid(id)) return false;
  value = Plain(static_cast<int>(id), effect_->Parameter(static_cast<int>(id)));
  return true;
}

bool TParameters::ToText(clap_id id, double value, char* text, std::uint32_t capacity) const {
  if (!Valid(id) || text == nullptr || capacity == 0 || !std::isfinite(value)) return false;
  const TParameterInfo& p = infos_[id];
  const auto v = static_cast<float>(std::clamp(std::round(value), static_cast<double>(p.Min), static_cast<double>(p.Max)));
  const std::string shown = host::CutText(ValueText(effect_->Module(), p, v), capacity - 1);
  std::memcpy(text, shown.c_str(), shown.size() + 1);
  return true;
}

bool TParameters::FromText(clap_id id, const char* text, double& value) const {
  if (!Valid(id) || text == nullptr) return false;
  float v = 0.0f;
  if (!ValueOfText(effect_->Module(), infos_[id], text, v)) return false;
  value = v;
  return true;
}

bool TParameters::Apply(const clap_event_header& event) {
  if (event.space_id != CLAP_CORE_EVENT_SPACE_ID || event.type != CLAP_EVENT_PARAM_VALUE ||
      event.size < sizeof(clap_event_param_value))
    return false;
  const auto& e = reinterpret_cast<const clap_event_param_value&>(event);
  if (!Valid(e.param_id) || !std::isfinite(e.value)) return true;
  const TParameterInfo& p = infos_[e.param_id];
  const auto index = static_cast<int>(e.param_id);
  const double plain = std::clamp(std::round(e.value), static_cast<double>(p.Min), static_cast<double>(p.Max));
  effect_->SetParameter(index, p.Normalized(static_cast<float>(plain)));
  // As the module reads it back, so that its later reports compare equal.
  known_[e.param_id].store(effect_->Parameter(index), std::memory_order_relaxed);
  return true;
}

void TParameters::SendWaiting(const clap_output_events& out, std::uint32_t time) {
  const bool lost = outbox_.Drain([&](const TOutbox::TEntry& entry) { Send(out, time, entry.Kind, entry.Index); });
  if (lost) {
    for (std::size_t i = 0; i < infos_.size(); ++i) Send(out, time, TOutbox::TKind::Value, static_cast<int>(i));
  }
}

// A value event carries the module's value at the time it is sent: whatever the host hears is what
// the module holds.
void TParameters::Send(const clap_output_events& out, std::uint32_t time, TOutbox::TKind kind, int index,
                       std::uint32_t flags) {
  const auto i = static_cast<std::size_t>(index);
  if (kind == TOutbox::TKind::Value) {
    const float normalized = effect_->Parameter(index);
    if (normalized == known_[i].load(std::memory_order_relaxed)) return;
    clap_event_param_value e{};
    e.header = {sizeof e, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, flags};
    e.param_id = static_cast<clap_id>(index);
    e.cookie = nullptr;
    e.note_id = -1;
    e.port_index = e.channel = e.key = -1;
    e.value = Plain(index, normalized);
    if (out.try_push(&out, &e.header)) known_[i].store(normalized, std::memory_order_relaxed);
    return;
  }
  clap_event_param_gesture e{};
  const auto type = kind == TOutbox::TKind::GestureBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN : CLAP_EVENT_PARAM_GESTURE_END;
  e.header = {sizeof e, time, CLAP_CORE_EVENT_SPACE_ID, type, flags};
  e.param_id = static_cast<clap_id>(index);
  out.try_push(&out, &e.header);
}

void TParameters::Changed(int index, float normalized) {
  if (effect_ == nullptr || index < 0 || static_cast<std::size_t>(index) >= infos_.size()) return;
  if (host_.InAudio()) {
    // A mapped controller: the host records the controller, not the parameter as well.
    if (playOut_ != nullptr) Send(*playOut_, playTime_, TOutbox::TKind::Value, index, CLAP_EVENT_DONT_RECORD);
    return;
  }
  if (normalized == known_[static_cast<std::size_t>(index)].load(std::memory_order_relaxed)) return;
  Queue(TOutbox::TKind::Value, index);
}

void TParameters::Gesture(int index, bool begins) {
  if (effect_ == nullptr || index < 0 || static_cast<std::size_t>(index) >= infos_.size() || host_.InAudio()) return;
  Queue(begins ? TOutbox::TKind::GestureBegin : TOutbox::TKind::GestureEnd, index);
}

void TParameters::Queue(TOutbox::TKind kind, int index) {
  bool& lost = beginLost_[static_cast<std::size_t>(index)];
  if (kind == TOutbox::TKind::GestureEnd && lost) {
    lost = false;
    return;
  }
  const bool queued = outbox_.Push({kind, index});
  if (kind == TOutbox::TKind::GestureBegin) lost = !queued;
  if (!processing_.load(std::memory_order_acquire)) host_.RequestFlush();
}

}  // namespace vornix::formats::clapface
