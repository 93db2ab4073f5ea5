#include "host/VSTModule.h"

#include <cstdio>
#include <exception>

#include "host/ModuleRegistry.h"

namespace vornix::host {

void TVSTModule::AfterConstruction() {
  try {
    for (auto& apply : FDeclaredValues) {
      for (auto& program : Programs()) {
        if (program->OnInitialize) program->OnInitialize(*program);
      }
      SetCurrentProgram(0);
      apply();
      if (OnInitialize) OnInitialize(*this);
    }
    RecountCategories();
  } catch (...) {
    // A module whose declared values fail keeps what it has.
  }
  FDeclaredValues.clear();
  try {
    if (OnCreate) OnCreate(*this);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Vornix: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "Vornix: unknown error during creation\n");
  }
}

vst::AEffect* CreateEffect(const std::function<std::unique_ptr<TVSTModule>()>& factory,
                           vst::audioMasterCallback audioMaster) {
  try {
    std::unique_ptr<TVSTModule> module = factory();
    module->AfterConstruction();
    module->SetAudioMaster(audioMaster);
    vst::AEffect* effect = module->GetEffect();
    ModuleRegistry::Add(module.get());
    module->Complete();
    module.release();
    return effect;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace vornix::host
