#include "mfc/afxext.h"

#include <algorithm>

#include "win32/modules.h"
#include "win32/winapi.h"

namespace {

std::vector<CDynLinkLibrary*>& Chain() {
  static std::vector<CDynLinkLibrary*> chain;
  return chain;
}

AFX_MODULE_STATE& State() {
  static AFX_MODULE_STATE state{arxhost::Modules::Program(), arxhost::Modules::Program()};
  return state;
}

}  // namespace

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem) {
  Chain().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() { std::erase(Chain(), this); }

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module) {
  if (state.bInitialized) return TRUE;
  if (!module || !arxhost::Modules::IsKnown(module)) return FALSE;
  state.hModule = module;
  state.hResource = module;
  state.bInitialized = TRUE;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
  // Copy first: each delete takes its library out of the chain.
  std::vector<CDynLinkLibrary*> doomed;
  for (CDynLinkLibrary* lib : Chain())
    if (bAll || lib->m_hModule == state.hModule) doomed.push_back(lib);
  for (CDynLinkLibrary* lib : doomed) delete lib;
  if (State().m_hCurrentResourceHandle == state.hResource || bAll)
    State().m_hCurrentResourceHandle = arxhost::Modules::Program();
  state = AFX_EXTENSION_MODULE{};
}

AFX_MODULE_STATE* AfxGetModuleState() { return &State(); }
HINSTANCE AfxGetResourceHandle() { return State().m_hCurrentResourceHandle; }
void AfxSetResourceHandle(HINSTANCE resource) { State().m_hCurrentResourceHandle = resource; }
HINSTANCE AfxGetInstanceHandle() { return State().m_hCurrentInstanceHandle; }

HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type) {
  HINSTANCE current = AfxGetResourceHandle();
  if (FindResourceW(current, name, type)) return current;
  for (CDynLinkLibrary* lib : Chain())
    if (FindResourceW(lib->m_hResource, name, type)) return lib->m_hResource;
  return current;
}

namespace arxhost {
const std::vector<CDynLinkLibrary*>& DynLinkLibraries() { return Chain(); }
}  // namespace arxhost
