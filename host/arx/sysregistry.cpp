#include "arx/sysregistry.h"

#include <map>
#include <string>

#include "arx/names.h"
#include "editor/commandstack.h"

namespace arxhost {

AcRxObject* DynamicLinkerService();

namespace {

class SysRegistry final : public AcRxDictionary {
 public:
  SysRegistry() {
    services_[ACRX_COMMAND_DOCK] = &CommandStack();
    services_[ACRX_DYNAMIC_LINKER] = DynamicLinkerService();
  }
  AcRxObject* at(const ACHAR* key) const override {
    if (!key) return nullptr;
    auto it = services_.find(key);
    return it == services_.end() ? nullptr : it->second;
  }
  void Put(const wchar_t* name, AcRxObject* service) { services_[name] = service; }

 private:
  std::map<std::wstring, AcRxObject*> services_;
};

SysRegistry& Registry() {
  static SysRegistry registry;
  return registry;
}

}  // namespace

void RegisterService(const wchar_t* name, AcRxObject* service) {
  if (name) Registry().Put(name, service);
}

}  // namespace arxhost

AcRxDictionary* acrxSysRegistry() { return &arxhost::Registry(); }
