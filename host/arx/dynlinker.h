#pragma once
// The dynamic linker: loads and unloads modules as the host's loader does.
#include "arx/rxobject.h"

class AcRxDynamicLinker : public AcRxObject {
 public:
  // Loads a module (an .arx file); prints what went wrong when printIt.
  virtual bool loadModule(const ACHAR* fileName, bool printIt, bool asCmd = false) = 0;
  // Unloads it by path or by name ("Tolvane.arx" or "Tolvane").
  virtual bool unloadModule(const ACHAR* fileName, bool printIt, bool asCmd = false) = 0;
  // The app id is the packet of kInitAppMsg. An application that is not
  // unlocked cannot be unloaded.
  virtual bool unlockApplication(void* appId) const = 0;
  virtual bool lockApplication(void* appId) const = 0;
  virtual bool isApplicationLocked(const ACHAR* name) const = 0;
  virtual bool registerAppMDIAware(void* appId) const = 0;
  virtual bool registerAppNotMDIAware(void* appId) const = 0;
};

#define acrxDynamicLinker (dynamic_cast<AcRxDynamicLinker*>(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER)))
