// The four shape tests: each asks the curve itself (openNURBS knows its own
// classes best) with a tolerance scaled to the curve, and then holds the
// answer to what a drafter would call that shape.
#include "VRNCurve.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "PolylineCorners.h"

double VRNCurve::Tolerance(const ON_Curve& curve) {
  const ON_BoundingBox box = curve.BoundingBox();
  const double size = box.IsValid() ? box.Diagonal().Length() : 0.0;
  return std::isfinite(size) ? kRelativeTolerance * size : 0.0;
}

namespace {

// A curve that can be asked at all: finite, with an increasing domain.
bool Usable(const ON_Curve* curve) {
  if (curve == nullptr || !curve->Domain().IsIncreasing()) return false;
  return curve->PointAtStart().IsValid() && curve->PointAtEnd().IsValid() && VRNCurve::Tolerance(*curve) > 0.0;
}

}  // namespace

int VRNCurve::IsLine(const ON_Curve* curve, ON_Line& line) {
  if (!Usable(curve)) return 0;
  const double tol = Tolerance(*curve);
  const ON_Line found(curve->PointAtStart(), curve->PointAtEnd());
  if (!(found.Length() > tol) || !curve->IsLinear(tol)) return 0;
  line = found;
  return 1;
}

int VRNCurve::IsCircle(const ON_Curve* curve, ON_Circle& circle) {
  if (!Usable(curve) || curve->Degree() < 2) return 0;
  ON_Arc arc;
  if (!curve->IsArc(nullptr, &arc, Tolerance(*curve)) || !arc.IsCircle()) return 0;
  // Angle 0 at the curve's start, whatever interval the arc came with.
  const ON_3dVector x = arc.StartPoint() - arc.Center();
  const ON_Plane plane(arc.Center(), x, ON_CrossProduct(arc.Normal(), x));
  if (!plane.IsValid()) return 0;
  circle = ON_Circle(plane, arc.Radius());
  return 1;
}

int VRNCurve::IsArc(const ON_Curve* curve, ON_Arc& arc) {
  if (!Usable(curve) || curve->Degree() < 2) return 0;
  ON_Arc found;
  if (!curve->IsArc(nullptr, &found, Tolerance(*curve)) || found.IsCircle()) return 0;
  if (!(found.AngleRadians() > 0.0) || !found.IsValid()) return 0;
  arc = found;
  return 1;
}

int VRNCurve::IsPolyline(const ON_Curve* curve, ON_Polyline& polyline) {
  if (!Usable(curve)) return 0;
  ON_SimpleArray<ON_3dPoint> points;
  if (curve->IsPolyline(&points) < 2) return 0;
  const double tol = Tolerance(*curve);
  std::vector<ON_3dPoint> chain(points.Array(), points.Array() + points.Count());
  const bool closed = curve->IsClosed() || chain.front().DistanceTo(chain.back()) <= tol;
  std::vector<ON_3dPoint> corners = vrngeo::CornerPoints(chain, tol);
  if (corners.size() < 2) return 0;
  if (closed && corners.size() >= 4) corners.back() = corners.front();
  ON_Polyline result;
  for (const ON_3dPoint& p : corners) result.Append(p);
  polyline = result;
  return 1;
}
