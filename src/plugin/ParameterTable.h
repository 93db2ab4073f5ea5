// The nine settings every sequence exposes as host parameters, and how they are named.
#pragma once

#include <array>
#include <string>

#include "sequencer/CCStepList.h"
#include "sequencer/Sequencer.h"

namespace vornix::plugin {

constexpr int kSequenceCount = sequencer::TSequencer::kSequenceCount;
constexpr int kMaxSteps = sequencer::TCCStepList::kMaxSteps;
constexpr int kSettingsPerSequence = 9;
constexpr int kParameterCount = kSequenceCount * kSettingsPerSequence;

enum Setting : int { kActive, kSteps, kChannel, kCC, kRate, kRateType, kOrder, kTrigger, kSmooth };

struct SettingInfo {
  const char* suffix;
  float min;
  float max;
};

constexpr std::array<SettingInfo, kSettingsPerSequence> kSettings = {{
    {" Active", 0, 1},
    {" Steps", 1, kMaxSteps},
    {" Channel", 1, 16},
    {" CC#", 0, 127},
    {" Rate", 0, 12},
    {" Rate Type", 0, 2},
    {" Order", 0, 8},
    {" Trigger", 0, 4},
    {" Smooth", 0, 1},
}};

constexpr int ParameterIndex(int sequence, int setting) { return kSettingsPerSequence * sequence + setting; }
constexpr int SequenceOf(int index) { return index / kSettingsPerSequence; }
constexpr int SettingOf(int index) { return index % kSettingsPerSequence; }

// "Seq3 Rate Type": names the parameter, its stored value, its CC link and its editor control.
std::string ParameterName(int sequence, int setting);
// The host's short label: "Active_" for every Active, "Seq 1 C" for channels, else "Seq1 Ra" style.
std::string ParameterShortLabel(int sequence, int setting);
// Defaults in parameter units: only sequence 1 active, CC 20 + sequence, "1/4", normal, forward,
// synchronised to the host, smoothing on, 32 steps, channel 1.
float ParameterDefault(int sequence, int setting);

}  // namespace vornix::plugin
