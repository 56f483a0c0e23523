// The run-time class registry.
#include "arx/rxobject.h"

#include <cwchar>

namespace {
std::vector<AcRxClass*>& Registry() {
  static std::vector<AcRxClass*> classes;
  return classes;
}
}  // namespace

AcRxClass::AcRxClass(const ACHAR* name, AcRxClass* parent, const ACHAR* dxfName)
    : name_(name), parent_(parent), dxfName_(dxfName ? dxfName : L"") {
  Registry().push_back(this);
}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  for (const AcRxClass* c = this; c; c = c->parent_)
    if (c == other) return true;
  return false;
}

AcRxClass* AcRxObject::desc() {
  static AcRxClass cls(L"AcRxObject", nullptr, L"");
  return &cls;
}
AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }

const std::vector<AcRxClass*>& arxhost::RxClasses() { return Registry(); }

AcRxClass* arxhost::FindRxClass(const ACHAR* name) {
  if (!name) return nullptr;
  for (AcRxClass* c : Registry())
    if (std::wcscmp(c->name(), name) == 0) return c;
  return nullptr;
}
