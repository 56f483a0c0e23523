#pragma once
// Three-dimensional vectors.
#include "arx/geTol.h"

class AcGeMatrix3d;

class AcGeVector3d {
 public:
  AcGeVector3d() = default;
  AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  static const AcGeVector3d kIdentity, kXAxis, kYAxis, kZAxis;

  double length() const;
  double lengthSqrd() const { return x * x + y * y + z * z; }
  double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
  AcGeVector3d crossProduct(const AcGeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
  }
  // Scales to unit length; a vector not longer than the tolerance's
  // equalVector is left as it is.
  AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol);
  AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const;
  // Angle between the two, 0 to pi.
  double angleTo(const AcGeVector3d& v) const;
  // Angle from this vector to v counter-clockwise about ref, 0 to 2 pi.
  double angleTo(const AcGeVector3d& v, const AcGeVector3d& ref) const;
  AcGeVector3d perpVector() const;  // a vector perpendicular to this one
  bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
  bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const;
  bool isParallelTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isCodirectionalTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeVector3d& negate() { x = -x; y = -y; z = -z; return *this; }
  AcGeVector3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }
  AcGeVector3d& transformBy(const AcGeMatrix3d& m);
  AcGeVector3d& rotateBy(double angle, const AcGeVector3d& axis);

  AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-() const { return {-x, -y, -z}; }
  AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
  friend AcGeVector3d operator*(double s, const AcGeVector3d& v) { return v * s; }
  AcGeVector3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
  AcGeVector3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  AcGeVector3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
  AcGeVector3d& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
  bool operator==(const AcGeVector3d& v) const { return isEqualTo(v); }
  bool operator!=(const AcGeVector3d& v) const { return !isEqualTo(v); }
  double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }

  double x = 0.0, y = 0.0, z = 0.0;
};
