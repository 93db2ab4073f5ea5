#include "plugin/VSTPluginBaseDM.h"

namespace vornix::plugin {

using host::TEffFlag;
using host::TVstCanDo;

TVSTPluginBase::TVSTPluginBase() {
  DeclareValues([this] {
    SetVendorName("Orvane");
    SetVersionMajor(1);
    SetVersionMinor(0);
    SetVersionRelease(0);
    SetFlags({TEffFlag::effFlagsHasEditor, TEffFlag::effFlagsCanReplacing, TEffFlag::effFlagsProgramChunks,
              TEffFlag::effFlagsIsSynth});
    SetNumInputs(0);
    SetNumOutputs(2);
    PlugCategory = host::TVstPluginCategory::vpcSynth;
    CanDos = {TVstCanDo::vcdSendVstEvents, TVstCanDo::vcdSendVstMidiEvent, TVstCanDo::vcdReceiveVstMidiEvent,
              TVstCanDo::vcd2in2out};
    // The whole state travels in this one program's chunk.
    AddProgram().SetDisplayName("Default");
    OnEditGetSize = [this](host::TCustomVSTModule&, short& width, short& height) { VSTModuleEditGetSize(width, height); };
    OnVendorSpecific = [this](host::TCustomVSTModule&, vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt) {
      return VSTModuleVendorSpecific(index, value, ptr, opt);
    };
  });
}

void TVSTPluginBase::VSTModuleEditGetSize(short& width, short& height) {
  if (const host::TVSTEditorForm* form = EditorForm()) {
    width = static_cast<short>(form->Width());
    height = static_cast<short>(form->Height());
  }
}

vst::VstIntPtr TVSTPluginBase::VSTModuleVendorSpecific(vst::VstInt32, vst::VstIntPtr value, void*, float) {
  // 'Whee': the host saw the mouse wheel; the editor passes it to the control under the pointer.
  constexpr vst::VstIntPtr kWheel = 0x57686565;
  if (value == kWheel && EditorForm() != nullptr) FocusControlUnderCursor();
  return 0;
}

}  // namespace vornix::plugin
