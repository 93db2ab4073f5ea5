#include "plugin/EditHistory.h"

#include <algorithm>

namespace vornix::plugin {

namespace {

bool SameStep(const TStoredStep& a, const TStoredStep& b) {
  return a.Enabled == b.Enabled && a.Value == b.Value && a.RandomRange == b.RandomRange;
}

bool SameSteps(const std::vector<TStoredStep>& a, const std::vector<TStoredStep>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameStep);
}

// Same parts changed, so that two edits can be one.
bool SameParts(const TEdit& a, const TEdit& b) {
  if (a.Sequences.size() != b.Sequences.size() || a.CurrentSequence.has_value() != b.CurrentSequence.has_value() ||
      a.PresetName.has_value() != b.PresetName.has_value() || a.Links.has_value() != b.Links.has_value())
    return false;
  for (std::size_t i = 0; i < a.Sequences.size(); ++i) {
    const TSequenceEdit &x = a.Sequences[i], &y = b.Sequences[i];
    if (x.Sequence != y.Sequence || x.Title.has_value() != y.Title.has_value() ||
        x.Steps.has_value() != y.Steps.has_value() || x.Settings.size() != y.Settings.size())
      return false;
    for (std::size_t k = 0; k < x.Settings.size(); ++k)
      if (x.Settings[k].first != y.Settings[k].first) return false;
  }
  return true;
}

// `older` followed by `newer` as one edit: older's values before, newer's after.
void Join(TEdit& older, TEdit newer) {
  for (std::size_t i = 0; i < older.Sequences.size(); ++i) {
    TSequenceEdit &o = older.Sequences[i], &n = newer.Sequences[i];
    if (o.Title) o.Title->After = std::move(n.Title->After);
    for (std::size_t k = 0; k < o.Settings.size(); ++k) o.Settings[k].second.After = n.Settings[k].second.After;
    if (o.Steps) o.Steps->After = std::move(n.Steps->After);
  }
  if (older.CurrentSequence) older.CurrentSequence->After = newer.CurrentSequence->After;
  if (older.PresetName) older.PresetName->After = std::move(newer.PresetName->After);
  if (older.Links) older.Links->After = std::move(newer.Links->After);
}

}  // namespace

std::size_t TEdit::Bytes() const {
  std::size_t bytes = sizeof(TEdit) + Name.size();
  for (const TSequenceEdit& s : Sequences) {
    bytes += sizeof s + s.Settings.size() * sizeof s.Settings[0];
    if (s.Title) bytes += s.Title->Before.size() + s.Title->After.size();
    if (s.Steps) bytes += (s.Steps->Before.size() + s.Steps->After.size()) * sizeof(TStoredStep);
  }
  if (PresetName) bytes += PresetName->Before.size() + PresetName->After.size();
  if (Links) bytes += (Links->Before.Count() + Links->After.Count()) * (sizeof(TMidiCCItem) + 16);
  return bytes;
}

TEdit DiffStates(const TEditableState& before, const TEditableState& after) {
  TEdit edit;
  const auto& a = before.State.Sequences;
  const auto& b = after.State.Sequences;
  for (std::size_t s = 0; s < std::min(a.size(), b.size()); ++s) {
    TSequenceEdit change;
    change.Sequence = static_cast<int>(s);
    if (a[s].Title != b[s].Title) change.Title = TChange<std::string>{a[s].Title, b[s].Title};
    for (int k = 0; k < kSettingsPerSequence; ++k) {
      const float x = a[s].Settings[static_cast<std::size_t>(k)], y = b[s].Settings[static_cast<std::size_t>(k)];
      if (x != y) change.Settings.push_back({k, {x, y}});
    }
    if (!SameSteps(a[s].Steps, b[s].Steps)) change.Steps = TChange<std::vector<TStoredStep>>{a[s].Steps, b[s].Steps};
    if (change.Title || !change.Settings.empty() || change.Steps) edit.Sequences.push_back(std::move(change));
  }
  if (before.State.CurrentSequence != after.State.CurrentSequence)
    edit.CurrentSequence = TChange<int>{before.State.CurrentSequence, after.State.CurrentSequence};
  if (before.PresetName != after.PresetName)
    edit.PresetName = TChange<std::string>{before.PresetName, after.PresetName};
  if (!(before.Links == after.Links)) edit.Links = TChange<TMidiCCList>{before.Links, after.Links};
  return edit;
}

void ApplyEdit(TEditableState& state, const TEdit& edit, bool undo) {
  const auto pick = [undo](const auto& change) -> const auto& { return undo ? change.Before : change.After; };
  for (const TSequenceEdit& change : edit.Sequences) {
    if (change.Sequence < 0 || change.Sequence >= static_cast<int>(state.State.Sequences.size())) continue;
    TStoredSequence& sequence = state.State.Sequences[static_cast<std::size_t>(change.Sequence)];
    if (change.Title) sequence.Title = pick(*change.Title);
    for (const auto& [setting, values] : change.Settings)
      sequence.Settings[static_cast<std::size_t>(setting)] = pick(values);
    if (change.Steps) sequence.Steps = pick(*change.Steps);
  }
  if (edit.CurrentSequence) state.State.CurrentSequence = pick(*edit.CurrentSequence);
  if (edit.PresetName) state.PresetName = pick(*edit.PresetName);
  if (edit.Links) state.Links = pick(*edit.Links);
}

std::string DescribeEdit(const TEdit& edit) {
  if (edit.Sequences.size() != 1 || edit.PresetName || edit.Links) return "Edit";
  const TSequenceEdit& s = edit.Sequences.front();
  const int parts = (s.Title ? 1 : 0) + (s.Steps ? 1 : 0) + static_cast<int>(s.Settings.size());
  if (parts != 1) return "Edit";
  if (s.Title) return "Title";
  if (s.Steps) return "Draw";
  return ParameterName(s.Sequence, s.Settings.front().first);
}

void TEditHistory::Push(TEdit edit, bool merge) {
  if (edit.Empty()) return;
  // What could be redone is gone with a new edit.
  while (edits_.size() > next_) {
    bytes_ -= edits_.back().Bytes();
    edits_.pop_back();
  }
  if (merge && !edits_.empty() && edits_.back().Name == edit.Name && SameParts(edits_.back(), edit)) {
    bytes_ -= edits_.back().Bytes();
    Join(edits_.back(), std::move(edit));
    bytes_ += edits_.back().Bytes();
    return;
  }
  bytes_ += edit.Bytes();
  edits_.push_back(std::move(edit));
  next_ = edits_.size();
  Trim();
}

void TEditHistory::Trim() {
  while (edits_.size() > 1 && (edits_.size() > kMaxEdits || bytes_ > kMaxBytes)) {
    bytes_ -= edits_.front().Bytes();
    edits_.pop_front();
    --next_;
  }
}

const std::string& TEditHistory::UndoName() const {
  static const std::string none;
  return CanUndo() ? edits_[next_ - 1].Name : none;
}

const std::string& TEditHistory::RedoName() const {
  static const std::string none;
  return CanRedo() ? edits_[next_].Name : none;
}

const TEdit* TEditHistory::Undo() {
  if (!CanUndo()) return nullptr;
  return &edits_[--next_];
}

const TEdit* TEditHistory::Redo() {
  if (!CanRedo()) return nullptr;
  return &edits_[next_++];
}

}  // namespace vornix::plugin
