#include "on_circle.h"

#include "on_arc.h"
#include "on_nurbs_curve.h"
#include "on_xform.h"

bool ON_Circle::Create(const ON_Plane& p, double r) {
  plane = p;
  radius = r;
  return IsValid();
}

bool ON_Circle::Create(const ON_3dPoint& center, double r) {
  ON_Plane p;
  p.SetOrigin(center);
  return Create(p, r);
}

bool ON_Circle::Create(const ON_Plane& p, const ON_3dPoint& center, double r) {
  plane = p;
  plane.SetOrigin(center);
  radius = r;
  return IsValid();
}

bool ON_Circle::Create(const ON_3dPoint& p, const ON_3dPoint& q, const ON_3dPoint& r) {
  // Circumcentre in the plane of the three points.
  const ON_3dVector a = q - p, b = r - p;
  const ON_3dVector n = ON_CrossProduct(a, b);
  const double nn = n * n;
  if (!(nn > 0.0)) return false;
  const ON_3dVector c =
      (ON_CrossProduct(n, a) * (b * b) + ON_CrossProduct(b, n) * (a * a)) / (2.0 * nn);
  const ON_3dPoint center = p + c;
  ON_Plane pl(center, p - center, ON_CrossProduct(n, p - center));
  plane = pl;
  radius = c.Length();
  return IsValid();
}

ON_3dPoint ON_Circle::PointAt(double t) const {
  return plane.PointAt(radius * std::cos(t), radius * std::sin(t));
}

ON_3dVector ON_Circle::DerivativeAt(int d, double t) const {
  double c = std::cos(t), s = std::sin(t);
  // d-th derivative of (cos, sin) cycles through (-sin, cos), (-cos, -sin), ...
  switch (((d % 4) + 4) % 4) {
    case 1: { const double x = -s, y = c; c = x; s = y; break; }
    case 2: c = -c; s = -s; break;
    case 3: { const double x = s, y = -c; c = x; s = y; break; }
    default: break;
  }
  return plane.xaxis * (radius * c) + plane.yaxis * (radius * s);
}

ON_3dVector ON_Circle::TangentAt(double t) const { return DerivativeAt(1, t).UnitVector(); }

bool ON_Circle::ClosestPointTo(const ON_3dPoint& p, double* t) const {
  double u = 0.0, v = 0.0;
  plane.ClosestPointTo(p, &u, &v);
  if (u == 0.0 && v == 0.0) {
    if (t) *t = 0.0;
    return true;
  }
  double a = std::atan2(v, u);
  if (a < 0.0) a += 2.0 * ON_PI;
  if (t) *t = a;
  return true;
}

ON_3dPoint ON_Circle::ClosestPointTo(const ON_3dPoint& p) const {
  double t = 0.0;
  ClosestPointTo(p, &t);
  return PointAt(t);
}

ON_BoundingBox ON_Circle::BoundingBox() const {
  ON_BoundingBox b;
  const ON_3dPoint& c = plane.origin;
  ON_3dPoint lo, hi;
  for (int i = 0; i < 3; ++i) {
    const double e = std::fabs(radius) * std::hypot(plane.xaxis[i], plane.yaxis[i]);
    lo[i] = c[i] - e;
    hi[i] = c[i] + e;
  }
  b.Set(lo, false);
  b.Set(hi, true);
  return b;
}

bool ON_Circle::Transform(const ON_Xform& xform) {
  const ON_3dPoint c = xform * plane.origin;
  const ON_3dPoint px = xform * PointAt(0.0);
  const ON_3dPoint py = xform * PointAt(0.5 * ON_PI);
  const ON_3dVector x = px - c, y = py - c;
  ON_Plane p;
  if (!p.CreateFromFrame(c, x, y)) return false;
  plane = p;
  radius = 0.5 * (x.Length() + y.Length());
  return IsValid();
}

bool ON_Circle::Reverse() {
  plane.yaxis = -plane.yaxis;
  plane.zaxis = -plane.zaxis;
  return plane.UpdateEquation();
}

int ON_Circle::GetNurbForm(ON_NurbsCurve& nurbs_curve) const {
  return ON_Arc(*this, 2.0 * ON_PI).GetNurbForm(nurbs_curve);
}
