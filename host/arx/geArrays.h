#pragma once
// The arrays of geometry values.
#include "arx/AcArray.h"
#include "arx/adesk.h"
#include "arx/gePoint3d.h"

using AcGePoint3dArray = AcArray<AcGePoint3d>;
using AcGePoint2dArray = AcArray<AcGePoint2d>;
using AcGeVector3dArray = AcArray<AcGeVector3d>;
using AcGeDoubleArray = AcArray<double>;
using AcGeIntArray = AcArray<int>;
