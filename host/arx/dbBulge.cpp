#include "arx/dbBulge.h"

#include <cmath>

namespace arxhost {

bool BulgeToArc(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge, BulgeArc& arc) {
  AcGeVector2d chord = p1 - p0;
  double c = chord.length();
  if (bulge == 0.0 || !std::isfinite(bulge) || c <= 0.0) return false;
  AcGeVector2d left(-chord.y / c, chord.x / c);
  AcGePoint2d mid = p0 + chord * 0.5;
  arc.center = mid + left * ((1.0 - bulge * bulge) / (4.0 * bulge) * c);
  arc.radius = c * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
  arc.startAngle = (p0 - arc.center).angle();
  arc.sweep = 4.0 * std::atan(bulge);
  return true;
}

AcGePoint2d PointOnBulgeSegment(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge, double f) {
  BulgeArc arc;
  if (!BulgeToArc(p0, p1, bulge, arc)) return p0 + (p1 - p0) * f;
  double a = arc.startAngle + f * arc.sweep;
  return {arc.center.x + arc.radius * std::cos(a), arc.center.y + arc.radius * std::sin(a)};
}

double BulgeSegmentLength(const AcGePoint2d& p0, const AcGePoint2d& p1, double bulge) {
  BulgeArc arc;
  if (!BulgeToArc(p0, p1, bulge, arc)) return p0.distanceTo(p1);
  return arc.radius * std::fabs(arc.sweep);
}

BulgePlaneMove MoveBulgePlane(const AcGeMatrix3d& xform, const AcGeVector3d& normal) {
  BulgePlaneMove move;
  move.mirrored = xform.det() < 0.0;
  move.normal = (xform * normal).normal();
  if (move.mirrored) move.normal = -move.normal;
  move.toPlane = AcGeMatrix3d::worldToPlane(move.normal);
  move.scale = xform.scale();
  return move;
}

}  // namespace arxhost
