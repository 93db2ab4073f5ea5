// Sets and enumerations the module's identity is declared with.
#pragma once

#include <bitset>
#include <cstdint>
#include <initializer_list>

namespace vornix::host {

// Bit positions equal the record's flag bits.
enum class TEffFlag : int {
  effFlagsHasEditor = 0,
  effFlagsHasClip,
  effFlagsHasVu,
  effFlagsCanMono,
  effFlagsCanReplacing,
  effFlagsProgramChunks,
  effFlagsUnused1,
  effFlagsUnused2,
  effFlagsIsSynth,
  effFlagsNoSoundInStop,
  effFlagsExtIsAsync,
  effFlagsExtHasBuffer,
  effFlagsCanDoubleReplacing,
};

enum class TVstPluginCategory : int {
  vpcUnknown,
  vpcEffect,
  vpcSynth,
  vpcAnalysis,
  vpcMastering,
  vpcSpacializer,
  vpcRoomFx,
  vpcSurroundFx,
  vpcRestoration,
  vpcOfflineProcess,
  vpcShell,
  vpcGenerator,
};

enum class TVstCanDo : int {
  vcdSendVstEvents,
  vcdSendVstMidiEvent,
  vcdSendVstTimeInfo,
  vcdReceiveVstEvents,
  vcdReceiveVstMidiEvent,
  vcdReceiveVstTimeInfo,
  vcdOffline,
  vcdPlugAsChannelInsert,
  vcdPlugAsSend,
  vcdMixDryWet,
  vcdNoRealTime,
  vcdMultipass,
  vcdMetapass,
  vcd1in1out,
  vcd1in2out,
  vcd2in1out,
  vcd2in2out,
  vcd2in4out,
  vcd4in2out,
  vcd4in4out,
  vcd4in8out,
  vcd8in4out,
  vcd8in8out,
  vcdMidiProgramNames,
  vcdLiveWithoutToolbar,
  vcdConformsToWindowRules,
  vcdBypass,
  vcdCockosExtension,
  vcdChainPluginAPI,
  Count
};

enum class TProcessPrecision : int { pp32, pp64 };

// A small set over an enumeration, like the declared sets of the module's properties.
template <typename E, std::size_t N>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  EnumSet(std::initializer_list<E> members) {
    for (E m : members) Include(m);
  }
  void Include(E m) { bits_.set(static_cast<std::size_t>(m)); }
  void Exclude(E m) { bits_.reset(static_cast<std::size_t>(m)); }
  bool Contains(E m) const { return bits_.test(static_cast<std::size_t>(m)); }
  unsigned long Bits() const { return bits_.to_ulong(); }
  static EnumSet FromBits(unsigned long bits) {
    EnumSet s;
    s.bits_ = std::bitset<N>(bits);
    return s;
  }
  bool operator==(const EnumSet&) const = default;

 private:
  std::bitset<N> bits_;
};

using TEffFlags = EnumSet<TEffFlag, 16>;
using TVstCanDos = EnumSet<TVstCanDo, static_cast<std::size_t>(TVstCanDo::Count)>;

}  // namespace vornix::host
