// The last class of the host binding: applies the declared values of the module classes in
// order during creation, and creates instances for the entry point.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "host/DspVSTModule.h"

namespace vornix::host {

class TVSTModule : public TDspVSTModule {
 public:
  TVSTModule() = default;

  // Finishes creation once every constructor has run: each class's declared values in class
  // order (base first), each followed by OnInitialize, then OnCreate.
  void AfterConstruction();

 protected:
  // Called by each module class's constructor with the values that class declares.
  void DeclareValues(std::function<void()> apply) { FDeclaredValues.push_back(std::move(apply)); }

 private:
  std::vector<std::function<void()>> FDeclaredValues;
};

// Creates a module, hands it the host callback and returns its record, or null when creation
// failed (a null callback included). The instance is recorded as live until effClose; the record
// names it only once it is complete, after the last request to the host.
vst::AEffect* CreateEffect(const std::function<std::unique_ptr<TVSTModule>()>& factory,
                           vst::audioMasterCallback audioMaster);

}  // namespace vornix::host
