#pragma once
// Shape tests shared by the curve classes.
#include <vector>

#include "on_point.h"

class ON_Arc;
class ON_Curve;
class ON_Plane;

namespace on_curve_shape {

// The tolerance, raised to what the coordinates' size can resolve.
double EffectiveTolerance(double tolerance, double scale);
// Every point within the tolerance of the segment start-end, in order along
// it; false for a segment shorter than the tolerance.
bool PointsAreLinear(const ON_3dPoint& start, const ON_3dPoint& end,
                     const std::vector<ON_3dPoint>& points, double tolerance);
bool PointsAreLinear(const ON_3dPoint& start, const ON_3dPoint& end, const ON_3dPoint* points,
                     int count, double tolerance);
bool PointsArePlanar(const std::vector<ON_3dPoint>& points, ON_Plane* plane, double tolerance);
// Samples the curve densely over every span and tests it against the circle
// through its start, middle and end (or through three points a third apart
// when it is closed).
bool CurveIsArc(const ON_Curve& curve, const ON_Plane* plane, ON_Arc* arc, double tolerance);

}  // namespace on_curve_shape
