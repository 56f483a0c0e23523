#pragma once
// Segments of 2D polylines: straight, or arcs given by a bulge (the tangent
// of a quarter of the included angle, positive counter-clockwise).
#include "arx/geVector2d.h"

namespace arxhost {

struct BulgeArc {
  AcGePoint2d center;
  double radius = 0.0;
  double startAngle = 0.0;  // of the segment's first point about the centre
  double sweep = 0.0;       // signed: positive counter-clockwise
};

// The arc of a bulged segment; false for a straight or degenerate one.
bool BulgeToArc(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge, BulgeArc& arc);
// The point at fraction f (0 to 1) of the segment.
AcGePoint2d PointOnBulgeSegment(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge, double f);
// The segment's length.
double BulgeSegmentLength(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge);

}  // namespace arxhost
