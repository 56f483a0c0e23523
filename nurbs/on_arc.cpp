#include "on_arc.h"

#include "on_nurbs_curve.h"
#include "on_xform.h"

namespace {
constexpr double kTwoPi = 2.0 * ON_PI;
constexpr double kFullTurnTolerance = 1e-12;
}  // namespace

ON_Arc& ON_Arc::operator=(const ON_Circle& circle) {
  plane = circle.plane;
  radius = circle.radius;
  m_angle.Set(0.0, kTwoPi);
  return *this;
}

bool ON_Arc::Create(const ON_Circle& circle, double angle_radians) {
  return Create(circle, ON_Interval(0.0, angle_radians));
}

bool ON_Arc::Create(const ON_Circle& circle, const ON_Interval& angle_interval) {
  plane = circle.plane;
  radius = circle.radius;
  m_angle = angle_interval;
  if (m_angle.IsDecreasing()) m_angle.Swap();
  return IsValid();
}

bool ON_Arc::Create(const ON_Plane& p, double r, double angle_radians) {
  return Create(ON_Circle(p, r), angle_radians);
}

bool ON_Arc::Create(const ON_3dPoint& center, double r, double angle_radians) {
  return Create(ON_Circle(center, r), angle_radians);
}

bool ON_Arc::Create(const ON_Plane& p, const ON_3dPoint& center, double r, double angle_radians) {
  return Create(ON_Circle(p, center, r), angle_radians);
}

bool ON_Arc::Create(const ON_3dPoint& p, const ON_3dPoint& q, const ON_3dPoint& r) {
  ON_Circle c;
  if (!c.Create(p, q, r)) return false;
  // The circle's x axis points at p and it runs through q to r.
  double a = 0.0;
  c.ClosestPointTo(r, &a);
  if (a <= 0.0) a = kTwoPi;
  return Create(c, a);
}

bool ON_Arc::IsValid() const {
  if (!ON_Circle::IsValid() || !m_angle.IsValid()) return false;
  const double a = AngleRadians();
  return a > ON_ZERO_TOLERANCE && a <= kTwoPi + kFullTurnTolerance;
}

bool ON_Arc::IsCircle() const {
  return std::fabs(std::fabs(AngleRadians()) - kTwoPi) <= kFullTurnTolerance;
}

bool ON_Arc::SetAngleRadians(double a) {
  if (a < 0.0) {
    const double t = m_angle[0];
    m_angle.Set(t + a, t);
  } else {
    m_angle[1] = m_angle[0] + a;
  }
  return IsValid();
}

bool ON_Arc::SetAngleIntervalRadians(const ON_Interval& angle_interval) {
  if (!angle_interval.IsIncreasing()) return false;
  m_angle = angle_interval;
  return IsValid();
}

bool ON_Arc::ClosestPointTo(const ON_3dPoint& p, double* t) const {
  double a = 0.0;
  ON_Circle::ClosestPointTo(p, &a);
  // Bring the angle into [m_angle[0], m_angle[0] + 2 pi).
  double s = a - m_angle[0];
  s -= kTwoPi * std::floor(s / kTwoPi);
  double best = m_angle[0] + s;
  if (best > m_angle[1]) {
    // Outside the arc: the nearer end point.
    best = p.DistanceTo(StartPoint()) <= p.DistanceTo(EndPoint()) ? m_angle[0] : m_angle[1];
  }
  if (t) *t = best;
  return true;
}

ON_3dPoint ON_Arc::ClosestPointTo(const ON_3dPoint& p) const {
  double t = 0.0;
  ClosestPointTo(p, &t);
  return PointAt(t);
}

ON_BoundingBox ON_Arc::BoundingBox() const {
  if (IsCircle()) return ON_Circle::BoundingBox();
  ON_BoundingBox b;
  b.Set(StartPoint(), false);
  b.Set(EndPoint(), true);
  // Axis extremes that lie inside the arc: angles where one coordinate's
  // derivative vanishes.
  for (int i = 0; i < 3; ++i) {
    const double a = radius * plane.xaxis[i], c = radius * plane.yaxis[i];
    if (a == 0.0 && c == 0.0) continue;
    const double t0 = std::atan2(c, a);
    for (int k = 0; k < 2; ++k) {
      double t = t0 + k * ON_PI;
      t = m_angle[0] + (t - m_angle[0]) - kTwoPi * std::floor((t - m_angle[0]) / kTwoPi);
      if (t <= m_angle[1]) b.Set(PointAt(t), true);
    }
  }
  return b;
}

bool ON_Arc::Transform(const ON_Xform& xform) {
  const ON_3dPoint s = xform * StartPoint();
  const ON_3dPoint m = xform * MidPoint();
  const double a = AngleRadians();
  if (!ON_Circle::Transform(xform)) return false;
  double ts = 0.0, tm = 0.0;
  ON_Circle::ClosestPointTo(s, &ts);
  ON_Circle::ClosestPointTo(m, &tm);
  double d = tm - ts;
  d -= kTwoPi * std::floor(d / kTwoPi);
  if (d > 0.5 * a + 1e-9) {
    // A mirror: turn the plane over so that the arc still runs
    // counter-clockwise from its start point.
    ON_Circle::Reverse();
    ON_Circle::ClosestPointTo(s, &ts);
  }
  m_angle.Set(ts, ts + a);
  return IsValid();
}

bool ON_Arc::Reverse() {
  const double a0 = m_angle[0], a1 = m_angle[1];
  ON_Circle::Reverse();
  m_angle.Set(-a1, -a0);
  return true;
}

int ON_Arc::GetNurbForm(ON_NurbsCurve& c) const {
  if (!IsValid()) return 0;
  const double sweep = AngleRadians();
  int spans = 4;
  if (sweep <= 0.5 * ON_PI + ON_ZERO_TOLERANCE) spans = 1;
  else if (sweep <= ON_PI + ON_ZERO_TOLERANCE) spans = 2;
  else if (sweep <= 1.5 * ON_PI + ON_ZERO_TOLERANCE) spans = 3;
  const int cv_count = 2 * spans + 1;
  c.Create(3, true, 3, cv_count);
  const double half = 0.5 * sweep / spans;
  const double w = std::cos(half);
  for (int i = 0; i < cv_count; ++i) {
    const double t = m_angle[0] + i * half;
    if (i % 2 == 0) {
      c.SetCV(i, ON_4dPoint(PointAt(t)));
    } else {
      // The corner of the two tangents, weighted by cos(half angle).
      const ON_3dPoint p = plane.PointAt(radius * std::cos(t) / w, radius * std::sin(t) / w);
      c.SetCV(i, ON_4dPoint(p.x * w, p.y * w, p.z * w, w));
    }
  }
  // The end points exactly as the arc gives them.
  for (int k = 0; k < spans; ++k) {
    const double t = m_angle.ParameterAt(static_cast<double>(k) / spans);
    c.SetKnot(2 * k, t);
    c.SetKnot(2 * k + 1, t);
  }
  c.SetKnot(2 * spans, m_angle[1]);
  c.SetKnot(2 * spans + 1, m_angle[1]);
  return 2;
}
