#pragma once
// MFC's extension-module start-up and the module state's resource handle.
// A module records itself with AfxInitExtensionModule at process attach and
// joins the chain of resource modules with a CDynLinkLibrary; MFC looks for
// resources in the current resource module first, then along that chain.
#include <vector>

#include "win32/wintypes.h"

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HMODULE hModule = nullptr;
  HMODULE hResource = nullptr;
};

struct AFX_MODULE_STATE {
  HINSTANCE m_hCurrentInstanceHandle = nullptr;
  HINSTANCE m_hCurrentResourceHandle = nullptr;
};

class CDynLinkLibrary {
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  virtual ~CDynLinkLibrary();
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

  HMODULE m_hModule;
  HMODULE m_hResource;
  BOOL m_bSystem;
};

// FALSE for a handle that names no loaded module. Once a record is
// initialised, later calls answer TRUE and change nothing.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
// Deletes the CDynLinkLibrary objects of the module (of every module with
// bAll) and clears the record.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

AFX_MODULE_STATE* AfxGetModuleState();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resource);
HINSTANCE AfxGetInstanceHandle();
// The module that holds the resource: the current resource module, else the
// first module of the CDynLinkLibrary chain that has it, else the current
// one.
HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);

namespace arxhost {
// The chain, oldest first (tests).
const std::vector<CDynLinkLibrary*>& DynLinkLibraries();
}  // namespace arxhost
