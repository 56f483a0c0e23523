#include "mfc/resource_handle.h"

#include "win32/modules.h"

// Weak: the extension-module support of the class library defines the
// module state's own versions, which take precedence once linked.
namespace {
HINSTANCE gResourceHandle = nullptr;
}

__attribute__((weak)) HINSTANCE AfxGetResourceHandle() {
  return gResourceHandle ? gResourceHandle : arxhost::Modules::Program();
}

__attribute__((weak)) void AfxSetResourceHandle(HINSTANCE hInstResource) { gResourceHandle = hInstResource; }
