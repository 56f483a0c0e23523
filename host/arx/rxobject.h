#pragma once
// The root of the runtime classes and the system registry's dictionary.
// Every class of the drawing database has one AcRxClass with its name and
// parent, reached through the static desc() and the virtual isA(); all of
// them sit in one registry.
#include <vector>

#include "arx/rxdefs.h"

class AcRxClass {
 public:
  AcRxClass(const ACHAR* name, AcRxClass* parent, const ACHAR* dxfName);
  AcRxClass(const AcRxClass&) = delete;
  AcRxClass& operator=(const AcRxClass&) = delete;

  const ACHAR* name() const { return name_; }
  const ACHAR* dxfName() const { return dxfName_; }
  AcRxClass* myParent() const { return parent_; }
  bool isDerivedFrom(const AcRxClass* other) const;

 private:
  const ACHAR* name_;
  AcRxClass* parent_;
  const ACHAR* dxfName_;
};

class AcRxObject {
 public:
  virtual ~AcRxObject() = default;
  static AcRxClass* desc();
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* c) const { return c && isA()->isDerivedFrom(c); }
  static AcRxObject* cast(const AcRxObject* p) { return const_cast<AcRxObject*>(p); }
};

class AcRxDictionary : public AcRxObject {
 public:
  // The entry of that key, or null.
  virtual AcRxObject* at(const ACHAR* key) const = 0;
};

// The dictionary of the host's services ("DynamicLinker",
// "ACAD_REGISTERED_COMMANDS", ...).
AcRxDictionary* acrxSysRegistry();

namespace arxhost {
// Every run-time class created so far, in creation order.
const std::vector<AcRxClass*>& RxClasses();
// The class of that name, or null.
AcRxClass* FindRxClass(const ACHAR* name);
}  // namespace arxhost

// Declares desc(), isA() and cast() in a class of the database.
#define ARXHOST_RX_MEMBERS(CLASS)                                                       \
 public:                                                                                \
  static AcRxClass* desc();                                                             \
  AcRxClass* isA() const override;                                                      \
  static CLASS* cast(const AcRxObject* p) {                                             \
    return (p && p->isKindOf(CLASS::desc())) ? static_cast<CLASS*>(const_cast<AcRxObject*>(p)) : nullptr; \
  }

// Defines them; the class registers itself when the library loads.
#define ARXHOST_RX_DEFINE(CLASS, PARENT, DXFNAME)                                        \
  AcRxClass* CLASS::desc() {                                                             \
    static AcRxClass cls(L## #CLASS, PARENT::desc(), DXFNAME);                           \
    return &cls;                                                                         \
  }                                                                                      \
  AcRxClass* CLASS::isA() const { return CLASS::desc(); }                                \
  namespace {                                                                            \
  [[maybe_unused]] const AcRxClass* const kRegistered##CLASS = CLASS::desc();            \
  }
