#include "on_line.h"

#include "on_xform.h"

ON_3dPoint ON_Line::PointAt(double t) const {
  // Exact at both ends.
  const double s = 1.0 - t;
  return {(from.x == to.x) ? from.x : s * from.x + t * to.x,
          (from.y == to.y) ? from.y : s * from.y + t * to.y,
          (from.z == to.z) ? from.z : s * from.z + t * to.z};
}

bool ON_Line::ClosestPointTo(const ON_3dPoint& p, double* t) const {
  const ON_3dVector d = Direction();
  const double dd = d * d;
  if (!(dd > 0.0)) {
    if (t) *t = 0.0;
    return false;
  }
  if (t) *t = ((p - from) * d) / dd;
  return true;
}

ON_3dPoint ON_Line::ClosestPointTo(const ON_3dPoint& p) const {
  double t = 0.0;
  ClosestPointTo(p, &t);
  return PointAt(t);
}

double ON_Line::DistanceTo(const ON_3dPoint& p) const { return p.DistanceTo(ClosestPointTo(p)); }

double ON_Line::MinimumDistanceTo(const ON_3dPoint& p) const {
  double t = 0.0;
  ClosestPointTo(p, &t);
  if (t < 0.0) t = 0.0;
  if (t > 1.0) t = 1.0;
  return p.DistanceTo(PointAt(t));
}

ON_BoundingBox ON_Line::BoundingBox() const {
  ON_BoundingBox b;
  b.Set(from, false);
  b.Set(to, true);
  return b;
}

bool ON_Line::Transform(const ON_Xform& xform) {
  from = xform * from;
  to = xform * to;
  return true;
}
