#pragma once
// The maker's GUI library: registry access and the About box.
#if __has_include("VRNRegistry.h")
#include "VRNRegistry.h"
#endif
#if __has_include("VRNGUIUtils.h")
#include "VRNGUIUtils.h"
#endif
