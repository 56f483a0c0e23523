#pragma once
// ON_Plane: an origin with an orthonormal frame (x, y, z axes) and the
// matching plane equation.
#include "on_point.h"

class ON_Xform;

class ON_PlaneEquation {
 public:
  double x = 0.0, y = 0.0, z = 0.0, d = 0.0;
  // Signed value of the equation at p; the distance when (x, y, z) is a unit vector.
  double ValueAt(const ON_3dPoint& p) const { return x * p.x + y * p.y + z * p.z + d; }
  bool Create(const ON_3dPoint& p, const ON_3dVector& n);
};

class ON_Plane {
 public:
  ON_3dPoint origin{0.0, 0.0, 0.0};
  ON_3dVector xaxis{1.0, 0.0, 0.0};
  ON_3dVector yaxis{0.0, 1.0, 0.0};
  ON_3dVector zaxis{0.0, 0.0, 1.0};
  ON_PlaneEquation plane_equation{0.0, 0.0, 1.0, 0.0};

  // The world xy plane.
  ON_Plane() = default;
  // z axis along the normal; the x axis is perpendicular to it as
  // ON_3dVector::PerpendicularTo picks it, y = z x x.
  ON_Plane(const ON_3dPoint& origin, const ON_3dVector& normal);
  // x along x_dir, y the part of y_dir perpendicular to it, z = x x y.
  ON_Plane(const ON_3dPoint& origin, const ON_3dVector& x_dir, const ON_3dVector& y_dir);
  // Through three points: origin at the first, x toward the second.
  ON_Plane(const ON_3dPoint& origin, const ON_3dPoint& x_point, const ON_3dPoint& plane_point);

  bool CreateFromNormal(const ON_3dPoint& origin, const ON_3dVector& normal);
  bool CreateFromFrame(const ON_3dPoint& origin, const ON_3dVector& x_dir, const ON_3dVector& y_dir);
  bool CreateFromPoints(const ON_3dPoint& origin, const ON_3dPoint& x_point, const ON_3dPoint& plane_point);
  bool IsValid() const;
  bool UpdateEquation();

  const ON_3dPoint& Origin() const { return origin; }
  const ON_3dVector& Xaxis() const { return xaxis; }
  const ON_3dVector& Yaxis() const { return yaxis; }
  const ON_3dVector& Zaxis() const { return zaxis; }
  const ON_3dVector& Normal() const { return zaxis; }
  void SetOrigin(const ON_3dPoint& p) { origin = p; UpdateEquation(); }

  ON_3dPoint PointAt(double s, double t) const { return origin + xaxis * s + yaxis * t; }
  ON_3dPoint PointAt(double s, double t, double c) const { return origin + xaxis * s + yaxis * t + zaxis * c; }
  // Plane coordinates of the projection of p.
  bool ClosestPointTo(const ON_3dPoint& p, double* s, double* t) const;
  ON_3dPoint ClosestPointTo(const ON_3dPoint& p) const;
  double DistanceTo(const ON_3dPoint& p) const;
  bool Transform(const ON_Xform& xform);
  bool Flip();
  bool operator==(const ON_Plane& p) const;
  bool operator!=(const ON_Plane& p) const { return !(*this == p); }

  static const ON_Plane World_xy;
};

extern const ON_Plane ON_xy_plane;
extern const ON_Plane ON_yz_plane;
extern const ON_Plane ON_zx_plane;
