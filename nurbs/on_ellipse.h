#pragma once
// ON_Ellipse: radius[0] along the plane's x axis, radius[1] along its y axis,
// centred on the plane's origin; parameter t gives
// origin + radius[0] cos t x + radius[1] sin t y.
#include "on_plane.h"

class ON_NurbsCurve;

class ON_Ellipse {
 public:
  ON_Plane plane;
  double radius[2] = {1.0, 1.0};

  ON_Ellipse() = default;
  ON_Ellipse(const ON_Plane& p, double r0, double r1) { Create(p, r0, r1); }

  bool Create(const ON_Plane& p, double r0, double r1);
  bool IsValid() const;
  bool IsCircle() const { return IsValid() && radius[0] == radius[1]; }
  const ON_3dPoint& Center() const { return plane.origin; }
  double Radius(int i) const { return radius[i ? 1 : 0]; }
  ON_3dPoint PointAt(double t) const;
  ON_3dVector DerivativeAt(int d, double t) const;
  // The exact rational quadratic form: nine control points, four spans of a
  // quarter each, domain 0 to 2 pi. Returns 2, or 0 for an invalid ellipse.
  int GetNurbForm(ON_NurbsCurve& nurbs_curve) const;
};
