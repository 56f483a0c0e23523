#include "on_ellipse.h"

#include "on_nurbs_curve.h"

bool ON_Ellipse::Create(const ON_Plane& p, double r0, double r1) {
  plane = p;
  radius[0] = r0;
  radius[1] = r1;
  return IsValid();
}

bool ON_Ellipse::IsValid() const {
  return plane.IsValid() && ON_IsValid(radius[0]) && ON_IsValid(radius[1]) && radius[0] > 0.0 &&
         radius[1] > 0.0;
}

ON_3dPoint ON_Ellipse::PointAt(double t) const {
  return plane.PointAt(radius[0] * std::cos(t), radius[1] * std::sin(t));
}

ON_3dVector ON_Ellipse::DerivativeAt(int d, double t) const {
  double c = std::cos(t), s = std::sin(t);
  switch (((d % 4) + 4) % 4) {
    case 1: { const double x = -s, y = c; c = x; s = y; break; }
    case 2: c = -c; s = -s; break;
    case 3: { const double x = s, y = -c; c = x; s = y; break; }
    default: break;
  }
  return plane.xaxis * (radius[0] * c) + plane.yaxis * (radius[1] * s);
}

int ON_Ellipse::GetNurbForm(ON_NurbsCurve& c) const {
  if (!IsValid()) return 0;
  // The unit circle's form scaled by the radii in the plane: an affine image
  // of an exact circle is an exact ellipse.
  static const double corners[9][2] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1}, {-1, 0},
                                       {-1, -1}, {0, -1}, {1, -1}, {1, 0}};
  const double w = std::sqrt(0.5);
  c.Create(3, true, 3, 9);
  for (int i = 0; i < 9; ++i) {
    const ON_3dPoint p = plane.PointAt(radius[0] * corners[i][0], radius[1] * corners[i][1]);
    const double wi = (i % 2) ? w : 1.0;
    c.SetCV(i, ON_4dPoint(p.x * wi, p.y * wi, p.z * wi, wi));
  }
  const double k[10] = {0.0,          0.0,          0.5 * ON_PI, 0.5 * ON_PI, ON_PI,
                        ON_PI,        1.5 * ON_PI,  1.5 * ON_PI, 2.0 * ON_PI, 2.0 * ON_PI};
  for (int i = 0; i < 10; ++i) c.SetKnot(i, k[i]);
  return 2;
}
