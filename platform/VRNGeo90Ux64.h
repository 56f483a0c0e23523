#pragma once
// The maker's geometry library: shape tests on curves, mesh face helpers and
// surface patches, on the openNURBS classes.
#include "VRNCurve.h"
#include "VRNMesh.h"
#include "VRNNurbsSurface.h"
