// Undo and redo of the editor's edits. An edit keeps only what it changed, each part with its value
// before and after, so undoing it puts back just those parts: a host that automated something else
// meanwhile keeps its values. Plain data and pure functions; the editor's thread owns the history.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "plugin/PluginStateStream.h"
#include "plugin/cc/OrvMidiCC.h"

namespace vornix::plugin {

// Everything an edit in the editor can change.
struct TEditableState {
  TStoredState State;
  std::string PresetName;
  TMidiCCList Links;
  friend bool operator==(const TEditableState&, const TEditableState&) = default;
};

template <class T>
struct TChange {
  T Before{};
  T After{};
};

struct TSequenceEdit {
  int Sequence = 0;
  std::optional<TChange<std::string>> Title;
  std::vector<std::pair<int, TChange<float>>> Settings;  // (setting, values)
  std::optional<TChange<std::vector<TStoredStep>>> Steps;
};

struct TEdit {
  std::string Name;  // what the menu offers to undo: "Ramp", "Seq1 Rate", "Draw"
  std::vector<TSequenceEdit> Sequences;
  std::optional<TChange<int>> CurrentSequence;
  std::optional<TChange<std::string>> PresetName;
  std::optional<TChange<TMidiCCList>> Links;

  bool Empty() const { return Sequences.empty() && !CurrentSequence && !PresetName && !Links; }
  // What it takes in memory, near enough to bound a history.
  std::size_t Bytes() const;
};

// What changed from `before` to `after`; the name is left empty.
TEdit DiffStates(const TEditableState& before, const TEditableState& after);
// The parts `edit` changed take their value before it (undo) or after it (redo); the rest of
// `state` stays as it is.
void ApplyEdit(TEditableState& state, const TEdit& edit, bool undo);
// A name for an edit made without a command: the one setting it changed ("Seq2 Rate"), "Draw"
// for steps, "Title" for a title; "Edit" otherwise.
std::string DescribeEdit(const TEdit& edit);

class TEditHistory {
 public:
  // Bounds: the newest edits are kept while there are at most kMaxEdits of them and they take at
  // most kMaxBytes together (the newest one always stays).
  static constexpr std::size_t kMaxEdits = 1000;
  static constexpr std::size_t kMaxBytes = 4u << 20;

  // A new edit, the newest to undo; what could be redone is forgotten. An empty edit is ignored.
  // `merge`: joined with the newest edit when that changed the same parts (a wheel run).
  void Push(TEdit edit, bool merge = false);
  bool CanUndo() const { return next_ > 0; }
  bool CanRedo() const { return next_ < edits_.size(); }
  const std::string& UndoName() const;
  const std::string& RedoName() const;
  // The edit to undo (to redo) now, which moves back (forward) in the history; none when there is
  // nothing to undo (to redo).
  const TEdit* Undo();
  const TEdit* Redo();
  std::size_t Count() const { return edits_.size(); }
  std::size_t Bytes() const { return bytes_; }

 private:
  void Trim();

  std::deque<TEdit> edits_;
  std::size_t next_ = 0;  // edits_[0, next_) can be undone, the rest redone
  std::size_t bytes_ = 0;
};

}  // namespace vornix::plugin
