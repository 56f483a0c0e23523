#pragma once
// The root of the runtime classes and the system registry's dictionary.
#include "arx/rxdefs.h"

class AcRxObject {
 public:
  virtual ~AcRxObject() = default;
};

class AcRxDictionary : public AcRxObject {
 public:
  // The entry of that key, or null.
  virtual AcRxObject* at(const ACHAR* key) const = 0;
};

// The dictionary of the host's services ("DynamicLinker",
// "ACAD_REGISTERED_COMMANDS", ...).
AcRxDictionary* acrxSysRegistry();
