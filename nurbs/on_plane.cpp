#include "on_plane.h"

#include "on_xform.h"

const ON_Plane ON_Plane::World_xy;
const ON_Plane ON_xy_plane;
const ON_Plane ON_yz_plane(ON_3dPoint(0, 0, 0), ON_3dVector(0, 1, 0), ON_3dVector(0, 0, 1));
const ON_Plane ON_zx_plane(ON_3dPoint(0, 0, 0), ON_3dVector(0, 0, 1), ON_3dVector(1, 0, 0));

bool ON_PlaneEquation::Create(const ON_3dPoint& p, const ON_3dVector& n) {
  ON_3dVector u = n;
  if (!u.Unitize()) return false;
  x = u.x;
  y = u.y;
  z = u.z;
  d = -(x * p.x + y * p.y + z * p.z);
  return true;
}

ON_Plane::ON_Plane(const ON_3dPoint& o, const ON_3dVector& n) { CreateFromNormal(o, n); }
ON_Plane::ON_Plane(const ON_3dPoint& o, const ON_3dVector& x, const ON_3dVector& y) {
  CreateFromFrame(o, x, y);
}
ON_Plane::ON_Plane(const ON_3dPoint& o, const ON_3dPoint& xp, const ON_3dPoint& pp) {
  CreateFromPoints(o, xp, pp);
}

bool ON_Plane::CreateFromNormal(const ON_3dPoint& o, const ON_3dVector& n) {
  origin = o;
  zaxis = n;
  const bool ok = zaxis.Unitize();
  xaxis.PerpendicularTo(zaxis);
  xaxis.Unitize();
  yaxis = ON_CrossProduct(zaxis, xaxis);
  yaxis.Unitize();
  UpdateEquation();
  return ok;
}

bool ON_Plane::CreateFromFrame(const ON_3dPoint& o, const ON_3dVector& x, const ON_3dVector& y) {
  origin = o;
  xaxis = x;
  xaxis.Unitize();
  yaxis = y - xaxis * (y * xaxis);
  yaxis.Unitize();
  zaxis = ON_CrossProduct(xaxis, yaxis);
  const bool ok = zaxis.Unitize();
  UpdateEquation();
  return ok && IsValid();
}

bool ON_Plane::CreateFromPoints(const ON_3dPoint& o, const ON_3dPoint& xp, const ON_3dPoint& pp) {
  const ON_3dVector x = xp - o;
  const ON_3dVector y = pp - o;
  const ON_3dVector z = ON_CrossProduct(x, y);
  if (z.IsZero()) return false;
  return CreateFromFrame(o, x, ON_CrossProduct(z, x));
}

bool ON_Plane::UpdateEquation() { return plane_equation.Create(origin, zaxis); }

bool ON_Plane::IsValid() const {
  if (!origin.IsValid()) return false;
  const double tol = ON_SQRT_EPSILON;
  if (!xaxis.IsUnitVector() || !yaxis.IsUnitVector() || !zaxis.IsUnitVector()) return false;
  if (std::fabs(xaxis * yaxis) > tol || std::fabs(yaxis * zaxis) > tol || std::fabs(zaxis * xaxis) > tol)
    return false;
  // Right-handed.
  return ON_TripleProduct(xaxis, yaxis, zaxis) > 0.0;
}

bool ON_Plane::ClosestPointTo(const ON_3dPoint& p, double* s, double* t) const {
  const ON_3dVector v = p - origin;
  if (s) *s = v * xaxis;
  if (t) *t = v * yaxis;
  return true;
}

ON_3dPoint ON_Plane::ClosestPointTo(const ON_3dPoint& p) const {
  double s = 0.0, t = 0.0;
  ClosestPointTo(p, &s, &t);
  return PointAt(s, t);
}

double ON_Plane::DistanceTo(const ON_3dPoint& p) const { return (p - origin) * zaxis; }

bool ON_Plane::Transform(const ON_Xform& xform) {
  const ON_3dPoint o = xform * origin;
  const ON_3dVector x = (xform * (origin + xaxis)) - o;
  const ON_3dVector y = (xform * (origin + yaxis)) - o;
  return CreateFromFrame(o, x, y);
}

bool ON_Plane::Flip() {
  const ON_3dVector t = xaxis;
  xaxis = yaxis;
  yaxis = t;
  zaxis = -zaxis;
  return UpdateEquation();
}

bool ON_Plane::operator==(const ON_Plane& p) const {
  return origin == p.origin && xaxis == p.xaxis && yaxis == p.yaxis && zaxis == p.zaxis;
}
