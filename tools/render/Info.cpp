#include "render/Info.h"

#include <array>
#include <iomanip>

namespace vornix::render {

using namespace vst;

namespace {

std::string FourChars(VstInt32 id) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
  return s;
}

constexpr std::array<const char*, 13> kCanDoQuestions = {"sendVstEvents",
                                                         "sendVstMidiEvent",
                                                         "sendVstTimeInfo",
                                                         "receiveVstEvents",
                                                         "receiveVstMidiEvent",
                                                         "receiveVstTimeInfo",
                                                         "offline",
                                                         "midiProgramNames",
                                                         "bypass",
                                                         "1in1out",
                                                         "2in2out",
                                                         "plugAsChannelInsert",
                                                         "hasCockosExtensions"};

}  // namespace

void PrintInfo(hostkit::PluginHost& host, std::ostream& out) {
  const AEffect& e = *host.Effect();
  out << "Effect:      " << host.DispatchText(effGetEffectName) << "\n"
      << "Vendor:      " << host.DispatchText(effGetVendorString) << "\n"
      << "Product:     " << host.DispatchText(effGetProductString) << "\n"
      << "Unique ID:   " << FourChars(e.uniqueID) << " (0x" << std::hex << std::setw(8) << std::setfill('0')
      << static_cast<std::uint32_t>(e.uniqueID) << std::dec << std::setfill(' ') << ")\n"
      << "Version:     " << e.version << " (vendor version " << host.Dispatch(effGetVendorVersion) << ")\n"
      << "VST version: " << host.Dispatch(effGetVstVersion) << "\n"
      << "Category:    " << host.Dispatch(effGetPlugCategory) << "\n"
      << "Flags:       0x" << std::hex << e.flags << std::dec << "\n"
      << "Inputs:      " << e.numInputs << "\n"
      << "Outputs:     " << e.numOutputs << "\n"
      << "Programs:    " << e.numPrograms << " (current: " << host.DispatchText(effGetProgramName) << ")\n"
      << "Parameters:  " << e.numParams << "\n"
      << "Can do:\n";
  for (const char* question : kCanDoQuestions) {
    const VstIntPtr answer = host.Dispatch(effCanDo, 0, 0, const_cast<char*>(question));
    out << "  " << std::left << std::setw(22) << question << std::right << answer << "\n";
  }
  out << "Parameters (index, name, value shown, host value):\n";
  for (VstInt32 i = 0; i < e.numParams; ++i) {
    out << "  " << std::setw(2) << i << "  " << std::left << std::setw(16) << host.DispatchText(effGetParamName, i)
        << std::setw(14) << host.DispatchText(effGetParamDisplay, i) << std::right << e.getParameter(host.Effect(), i)
        << "\n";
  }
}

}  // namespace vornix::render
