#pragma once
// The maker's GUI library: registry access and the About box.
#include "VRNRegistry.h"
#include "VRNGUIUtils.h"
