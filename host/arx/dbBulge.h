#pragma once
// Segments of 2D polylines: straight, or arcs given by a bulge (the tangent
// of a quarter of the included angle, positive counter-clockwise).
#include "arx/geMatrix3d.h"
#include "arx/geVector2d.h"
#include "arx/geVector3d.h"

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

// Where a transform (rotations, mirrors, translations, one scale) takes the
// plane of bulged segments: a mirror keeps the plane's normal on the side it
// was and turns the bulges instead.
struct BulgePlaneMove {
  AcGeVector3d normal;   // of the moved plane
  AcGeMatrix3d toPlane;  // world into the moved plane
  double scale = 1.0;
  bool mirrored = false;
  double Bulge(double bulge) const { return mirrored ? -bulge : bulge; }
};
BulgePlaneMove MoveBulgePlane(const AcGeMatrix3d& xform, const AcGeVector3d& normal);

}  // namespace arxhost
