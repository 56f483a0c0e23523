#pragma once
// ON_Circle: a circle in a plane about the plane's origin; parameter t is the
// angle from the plane's x axis, counter-clockwise about its z axis.
#include "on_bounding_box.h"
#include "on_plane.h"

class ON_NurbsCurve;
class ON_Xform;

class ON_Circle {
 public:
  ON_Plane plane;
  double radius = 1.0;

  ON_Circle() = default;
  ON_Circle(const ON_Plane& p, double r) { Create(p, r); }
  ON_Circle(const ON_3dPoint& center, double r) { Create(center, r); }
  ON_Circle(const ON_Plane& p, const ON_3dPoint& center, double r) { Create(p, center, r); }
  // Through three points, counter-clockwise from the first through the second.
  ON_Circle(const ON_3dPoint& p, const ON_3dPoint& q, const ON_3dPoint& r) { Create(p, q, r); }

  bool Create(const ON_Plane& p, double r);
  bool Create(const ON_3dPoint& center, double r);
  bool Create(const ON_Plane& p, const ON_3dPoint& center, double r);
  bool Create(const ON_3dPoint& p, const ON_3dPoint& q, const ON_3dPoint& r);

  bool IsValid() const { return ON_IsValid(radius) && radius > 0.0 && plane.IsValid(); }
  const ON_3dPoint& Center() const { return plane.origin; }
  const ON_3dVector& Normal() const { return plane.zaxis; }
  const ON_Plane& Plane() const { return plane; }
  double Radius() const { return radius; }
  double Diameter() const { return 2.0 * radius; }
  double Circumference() const { return 2.0 * ON_PI * std::fabs(radius); }

  ON_3dPoint PointAt(double t) const;
  ON_3dVector DerivativeAt(int d, double t) const;
  ON_3dVector TangentAt(double t) const;
  // Angle parameter of the closest point.
  bool ClosestPointTo(const ON_3dPoint& p, double* t) const;
  ON_3dPoint ClosestPointTo(const ON_3dPoint& p) const;
  ON_BoundingBox BoundingBox() const;
  bool Transform(const ON_Xform& xform);
  bool Reverse();
  // The exact rational quadratic form: 9 control points, domain 0 to 2 pi.
  // Returns 2 (the parameterisation differs from the angle), 0 on failure.
  int GetNurbForm(ON_NurbsCurve& nurbs_curve) const;
};
