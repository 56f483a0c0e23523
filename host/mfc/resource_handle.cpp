#include "mfc/resource_handle.h"

#include "win32/modules.h"

namespace {
HINSTANCE gResourceHandle = nullptr;
}

HINSTANCE AfxGetResourceHandle() { return gResourceHandle ? gResourceHandle : arxhost::Modules::Program(); }

void AfxSetResourceHandle(HINSTANCE hInstResource) { gResourceHandle = hInstResource; }
