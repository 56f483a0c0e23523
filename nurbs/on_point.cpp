#include "on_point.h"

#include "on_xform.h"

const ON_3dPoint ON_origin(0.0, 0.0, 0.0);
const ON_3dVector ON_xaxis(1.0, 0.0, 0.0);
const ON_3dVector ON_yaxis(0.0, 1.0, 0.0);
const ON_3dVector ON_zaxis(0.0, 0.0, 1.0);
const ON_3dPoint ON_UNSET_POINT(ON_UNSET_VALUE, ON_UNSET_VALUE, ON_UNSET_VALUE);

const ON_3dVector ON_3dVector::ZeroVector(0.0, 0.0, 0.0);
const ON_3dVector ON_3dVector::XAxis(1.0, 0.0, 0.0);
const ON_3dVector ON_3dVector::YAxis(0.0, 1.0, 0.0);
const ON_3dVector ON_3dVector::ZAxis(0.0, 0.0, 1.0);

bool ON_2dVector::Unitize() {
  const double len = Length();
  if (!(len > 0.0)) return false;
  x /= len;
  y /= len;
  return true;
}

double ON_3dPoint::DistanceTo(const ON_3dPoint& p) const { return (p - *this).Length(); }

double ON_3dPoint::MaximumCoordinate() const {
  return std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z)));
}

void ON_3dPoint::Transform(const ON_Xform& xform) { *this = xform * *this; }

double ON_3fPoint::DistanceTo(const ON_3fPoint& p) const {
  return ON_3dPoint(*this).DistanceTo(ON_3dPoint(p));
}

double ON_3dVector::Length() const {
  // Scaled so that huge and tiny components neither overflow nor underflow.
  const double m = std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z)));
  if (m == 0.0 || !std::isfinite(m)) return m;
  const double a = x / m, b = y / m, c = z / m;
  return m * std::sqrt(a * a + b * b + c * c);
}

bool ON_3dVector::Unitize() {
  const double len = Length();
  if (!(len > 0.0) || !std::isfinite(len)) return false;
  x /= len;
  y /= len;
  z /= len;
  return true;
}

ON_3dVector ON_3dVector::UnitVector() const {
  ON_3dVector v(*this);
  if (!v.Unitize()) return ZeroVector;
  return v;
}

bool ON_3dVector::IsTiny(double tiny_tol) const {
  return std::fabs(x) <= tiny_tol && std::fabs(y) <= tiny_tol && std::fabs(z) <= tiny_tol;
}

bool ON_3dVector::IsUnitVector() const { return std::fabs(Length() - 1.0) <= ON_SQRT_EPSILON; }

bool ON_3dVector::PerpendicularTo(const ON_3dVector& v) {
  const double ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z);
  // big: index of the largest component, mid: the next, low: the smallest;
  // ties settle in the order the comparisons below give.
  int big, mid, low;
  if (ay > ax) {
    if (az > ay) { big = 2; mid = 1; low = 0; }
    else if (az >= ax) { big = 1; mid = 2; low = 0; }
    else { big = 1; mid = 0; low = 2; }
  } else if (az > ax) {
    big = 2; mid = 0; low = 1;
  } else if (az > ay) {
    big = 0; mid = 2; low = 1;
  } else {
    big = 0; mid = 1; low = 2;
  }
  const double a = v[big];
  const double b = -v[mid];
  (*this)[big] = b;
  (*this)[mid] = a;
  (*this)[low] = 0.0;
  return a != 0.0;
}

int ON_3dVector::IsParallelTo(const ON_3dVector& v, double angle_tolerance) const {
  const double la = Length(), lb = v.Length();
  if (!(la > 0.0) || !(lb > 0.0)) return 0;
  const double c = (*this * v) / (la * lb);
  const double cos_tol = std::cos(angle_tolerance);
  if (c >= cos_tol) return 1;
  if (c <= -cos_tol) return -1;
  return 0;
}

bool ON_3dVector::IsPerpendicularTo(const ON_3dVector& v, double angle_tolerance) const {
  const double la = Length(), lb = v.Length();
  if (!(la > 0.0) || !(lb > 0.0)) return false;
  return std::fabs((*this * v) / (la * lb)) <= std::sin(angle_tolerance);
}

void ON_3dVector::Transform(const ON_Xform& xform) { *this = xform * *this; }

double ON_DotProduct(const ON_3dVector& a, const ON_3dVector& b) { return a * b; }

ON_3dVector ON_CrossProduct(const ON_3dVector& a, const ON_3dVector& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double ON_TripleProduct(const ON_3dVector& a, const ON_3dVector& b, const ON_3dVector& c) {
  return a * ON_CrossProduct(b, c);
}

bool ON_3dPointArray::Transform(const ON_Xform& xform) {
  for (auto& p : *this) p.Transform(xform);
  return true;
}
