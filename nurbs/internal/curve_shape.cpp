#include "internal/curve_shape.h"

#include <algorithm>
#include <cmath>

#include "on_arc.h"
#include "on_curve.h"
#include "on_plane.h"

namespace on_curve_shape {

double EffectiveTolerance(double tolerance, double scale) {
  const double floor_tol = 64.0 * ON_EPSILON * std::max(1.0, scale);
  return std::max(tolerance > 0.0 ? tolerance : 0.0, floor_tol);
}

bool PointsAreLinear(const ON_3dPoint& start, const ON_3dPoint& end, const ON_3dPoint* points,
                     int count, double tolerance) {
  double scale = std::max(start.MaximumCoordinate(), end.MaximumCoordinate());
  for (int i = 0; i < count; ++i) scale = std::max(scale, points[i].MaximumCoordinate());
  const double tol = EffectiveTolerance(tolerance, scale);
  const ON_3dVector chord = end - start;
  const double len = chord.Length();
  if (!(len > tol)) return false;
  const ON_3dVector dir = chord / len;
  double prev = -tol;
  for (int i = 0; i < count; ++i) {
    const ON_3dVector v = points[i] - start;
    const double t = v * dir;
    if ((v - dir * t).Length() > tol) return false;
    if (t < prev - tol || t > len + tol) return false;
    prev = std::max(prev, t);
  }
  return true;
}

bool PointsAreLinear(const ON_3dPoint& start, const ON_3dPoint& end,
                     const std::vector<ON_3dPoint>& points, double tolerance) {
  return PointsAreLinear(start, end, points.data(), static_cast<int>(points.size()), tolerance);
}

bool PointsArePlanar(const std::vector<ON_3dPoint>& pts, ON_Plane* plane, double tolerance) {
  if (pts.empty()) return false;
  double scale = 0.0;
  for (const auto& p : pts) scale = std::max(scale, p.MaximumCoordinate());
  const double tol = EffectiveTolerance(tolerance, scale);
  const ON_3dPoint& p0 = pts.front();
  ON_3dPoint p1 = p0;
  for (const auto& p : pts)
    if (p.DistanceTo(p0) > p1.DistanceTo(p0)) p1 = p;
  ON_3dVector n;
  if (p1.DistanceTo(p0) > tol) {
    const ON_3dVector x = (p1 - p0).UnitVector();
    double best = 0.0;
    for (const auto& p : pts) {
      const ON_3dVector c = ON_CrossProduct(x, p - p0);
      if (c.Length() > best) {
        best = c.Length();
        n = c;
      }
    }
    if (best <= tol) {
      // Collinear: any plane through the line.
      n.PerpendicularTo(x);
    }
  } else {
    n = ON_3dVector(0, 0, 1);
  }
  if (!n.Unitize()) return false;
  for (const auto& p : pts)
    if (std::fabs((p - p0) * n) > tol) return false;
  if (plane) {
    ON_Plane pl(p0, n);
    *plane = pl;
  }
  return true;
}

bool CurveIsArc(const ON_Curve& curve, const ON_Plane* plane, ON_Arc* arc_out, double tolerance) {
  const ON_Interval dom = curve.Domain();
  if (!dom.IsIncreasing()) return false;
  const int spans = curve.SpanCount();
  if (spans < 1) return false;
  std::vector<double> sv(static_cast<size_t>(spans + 1));
  if (!curve.GetSpanVector(sv.data())) return false;
  const int per_span = std::max(16, 4 * (curve.Degree() + 1));
  std::vector<ON_3dPoint> samples;
  samples.reserve(static_cast<size_t>(spans * per_span + 1));
  for (int s = 0; s < spans; ++s)
    for (int k = 0; k < per_span; ++k) {
      const double t = sv[static_cast<size_t>(s)] +
                       (sv[static_cast<size_t>(s + 1)] - sv[static_cast<size_t>(s)]) * k / per_span;
      samples.push_back(curve.PointAt(t));
    }
  samples.push_back(curve.PointAtEnd());
  double scale = 0.0;
  for (const auto& p : samples) {
    if (!p.IsValid()) return false;
    scale = std::max(scale, p.MaximumCoordinate());
  }
  const double tol = EffectiveTolerance(tolerance, scale);
  const ON_3dPoint a = samples.front(), c = samples.back();
  const bool closed = a.DistanceTo(c) <= tol;
  ON_Circle circle;
  if (closed) {
    if (!circle.Create(a, curve.PointAt(dom.ParameterAt(1.0 / 3.0)),
                       curve.PointAt(dom.ParameterAt(2.0 / 3.0))))
      return false;
  } else if (!circle.Create(a, curve.PointAt(dom.Mid()), c)) {
    return false;
  }
  if (!(circle.radius > tol) || !std::isfinite(circle.radius)) return false;
  // A nearly straight curve fits a huge circle whose centre no arithmetic
  // can place well; such curves are not arcs.
  double extent = 0.0;
  for (const auto& p : samples) extent = std::max(extent, p.DistanceTo(a));
  if (circle.radius > 1e6 * extent) return false;
  const ON_3dVector to_start = a - circle.Center();
  // Every sample on the circle, and the angle growing steadily.
  const double angle_tol = tol / circle.radius;
  double total = 0.0, prev = 0.0;
  for (size_t i = 0; i < samples.size(); ++i) {
    const ON_3dPoint& p = samples[i];
    if (std::fabs(circle.plane.DistanceTo(p)) > tol) return false;
    // |p - c| - r, computed from p - a and a - c to avoid cancellation.
    const ON_3dVector pa = p - a;
    const double dev = (pa * pa + 2.0 * (pa * to_start)) / (p.DistanceTo(circle.Center()) + circle.radius);
    if (std::fabs(dev) > tol) return false;
    if (plane && std::fabs(plane->DistanceTo(p)) > tol) return false;
    double u = 0.0, v = 0.0;
    circle.plane.ClosestPointTo(p, &u, &v);
    const double theta = std::atan2(v, u);
    if (i > 0) {
      double d = theta - prev;
      while (d > ON_PI) d -= 2.0 * ON_PI;
      while (d <= -ON_PI) d += 2.0 * ON_PI;
      if (d < -angle_tol) return false;
      total += d;
    }
    prev = theta;
  }
  const double sweep = closed ? 2.0 * ON_PI : total;
  if (closed && std::fabs(total - 2.0 * ON_PI) > 1e-6) return false;
  if (!(sweep > angle_tol) || sweep > 2.0 * ON_PI + 1e-9) return false;
  if (arc_out) {
    ON_Arc arc;
    arc.plane = circle.plane;
    arc.radius = circle.radius;
    arc.m_angle.Set(0.0, sweep);
    *arc_out = arc;
  }
  return true;
}

}  // namespace on_curve_shape
