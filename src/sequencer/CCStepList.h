// Step records. A step is read by the processing thread while the editor or a state load writes
// it, so each field is a single atomic value and lists never give memory back while in use.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace vornix::sequencer {

static_assert(std::atomic<float>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the processing thread reads steps without waiting");

class TCCStepItem {
 public:
  static constexpr float kDefaultValue = 63.0f;

  TCCStepItem() = default;
  TCCStepItem(const TCCStepItem& source) { Assign(source); }
  TCCStepItem& operator=(const TCCStepItem& source) {
    Assign(source);
    return *this;
  }

  // Copies all three fields.
  void Assign(const TCCStepItem& source) {
    SetEnabled(source.Enabled());
    SetRandomRange(source.RandomRange());
    SetValue(source.Value());
  }
  void ResetToDefault() {
    SetEnabled(true);
    SetRandomRange(0.0f);
    SetValue(kDefaultValue);
  }

  // Stored and copied with the step; the clock plays every step regardless.
  bool Enabled() const { return enabled_.load(std::memory_order_relaxed); }
  void SetEnabled(bool v) { enabled_.store(v, std::memory_order_relaxed); }
  // Random amount added above Value at play time; 0 or less means none.
  float RandomRange() const { return randomRange_.load(std::memory_order_relaxed); }
  void SetRandomRange(float v) { randomRange_.store(v, std::memory_order_relaxed); }
  // Controller value, normally 0..127; fractions occur.
  float Value() const { return value_.load(std::memory_order_relaxed); }
  void SetValue(float v) { value_.store(v, std::memory_order_relaxed); }

 private:
  std::atomic<bool> enabled_{true};
  std::atomic<float> randomRange_{0.0f};
  std::atomic<float> value_{kDefaultValue};
};

// Up to 64 steps in fixed storage.
class TCCStepList {
 public:
  static constexpr int kMaxSteps = 64;

  TCCStepList() = default;
  // A list of count default steps.
  explicit TCCStepList(int count);
  TCCStepList(const TCCStepList& source) { Assign(source); }
  TCCStepList& operator=(const TCCStepList& source) {
    Assign(source);
    return *this;
  }

  // Replaces the items by copies of the source's.
  void Assign(const TCCStepList& source);
  // Appends a default step; throws std::length_error when the list already holds 64.
  TCCStepItem& Add();
  // Inserts a default step at position (0..Count); throws like Add and Items.
  TCCStepItem& Insert(int position);
  void Clear() { count_ = 0; }
  // Every step back to its default, in place.
  void ResetToDefaults();

  int Count() const { return count_; }
  // Throws std::out_of_range "List index out of bounds (<position>)" outside 0..Count-1.
  TCCStepItem& Items(int position);
  const TCCStepItem& Items(int position) const;
  TCCStepItem& operator[](int position) { return items_[static_cast<std::size_t>(position)]; }
  const TCCStepItem& operator[](int position) const { return items_[static_cast<std::size_t>(position)]; }

 private:
  void CheckIndex(int position) const;

  std::array<TCCStepItem, kMaxSteps> items_{};
  int count_ = 0;
};

}  // namespace vornix::sequencer
