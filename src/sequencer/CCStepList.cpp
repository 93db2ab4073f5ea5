#include "sequencer/CCStepList.h"

#include <stdexcept>
#include <string>

namespace vornix::sequencer {

TCCStepList::TCCStepList(int count) {
  for (int i = 0; i < count; ++i) Add();
}

void TCCStepList::Assign(const TCCStepList& source) {
  if (&source == this) return;
  for (int i = 0; i < source.count_; ++i)
    items_[static_cast<std::size_t>(i)] = source.items_[static_cast<std::size_t>(i)];
  count_ = source.count_;
}

TCCStepItem& TCCStepList::Add() { return Insert(count_); }

TCCStepItem& TCCStepList::Insert(int position) {
  if (count_ == kMaxSteps) throw std::length_error("TCCStepList.Add - List capacity exceeded (64)");
  if (position < 0 || position > count_)
    throw std::out_of_range("List index out of bounds (" + std::to_string(position) + ")");
  for (int i = count_; i > position; --i) items_[static_cast<std::size_t>(i)] = items_[static_cast<std::size_t>(i - 1)];
  ++count_;
  TCCStepItem& item = items_[static_cast<std::size_t>(position)];
  item.ResetToDefault();
  return item;
}

void TCCStepList::ResetToDefaults() {
  for (int i = 0; i < count_; ++i) items_[static_cast<std::size_t>(i)].ResetToDefault();
}

void TCCStepList::CheckIndex(int position) const {
  if (position < 0 || position >= count_)
    throw std::out_of_range("List index out of bounds (" + std::to_string(position) + ")");
}

TCCStepItem& TCCStepList::Items(int position) {
  CheckIndex(position);
  return items_[static_cast<std::size_t>(position)];
}

const TCCStepItem& TCCStepList::Items(int position) const {
  CheckIndex(position);
  return items_[static_cast<std::size_t>(position)];
}

}  // namespace vornix::sequencer
