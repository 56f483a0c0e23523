#pragma once
// The maker's geometry library: shape tests on curves, mesh face helpers and
// surface patches, on the openNURBS classes.
#include "VRNCurve.h"
#if __has_include("VRNMesh.h")
#include "VRNMesh.h"
#endif
#if __has_include("VRNNurbsSurface.h")
#include "VRNNurbsSurface.h"
#endif
