#include "on_analytic_surfaces.h"

#include "on_arc_curve.h"
#include "on_line_curve.h"
#include "on_rev_surface.h"

namespace {
ON_RevSurface* Revolve(ON_RevSurface* srf, ON_Curve* profile, const ON_Line& axis) {
  if (!srf) srf = new ON_RevSurface();
  srf->Create(profile, axis);
  return srf;
}
}  // namespace

bool ON_Sphere::Create(const ON_3dPoint& center, double r) {
  plane = ON_xy_plane;
  plane.SetOrigin(center);
  radius = r;
  return IsValid();
}

ON_3dPoint ON_Sphere::PointAt(double lon, double lat) const {
  return plane.PointAt(radius * std::cos(lat) * std::cos(lon), radius * std::cos(lat) * std::sin(lon),
                       radius * std::sin(lat));
}

ON_RevSurface* ON_Sphere::RevSurfaceForm(ON_RevSurface* srf) const {
  if (!IsValid()) return nullptr;
  // Half circle in the x-z plane from the south pole to the north pole.
  ON_Plane profile_plane(plane.origin, plane.xaxis, plane.zaxis);
  ON_Arc half(ON_Circle(profile_plane, radius), ON_Interval(-0.5 * ON_PI, 0.5 * ON_PI));
  return Revolve(srf, new ON_ArcCurve(half), ON_Line(plane.origin, plane.origin + plane.zaxis));
}

bool ON_Cylinder::Create(const ON_Circle& c, double h) {
  circle = c;
  height[0] = h < 0.0 ? h : 0.0;
  height[1] = h < 0.0 ? 0.0 : h;
  return IsValid();
}

ON_3dPoint ON_Cylinder::PointAt(double angle, double h) const {
  return circle.PointAt(angle) + circle.plane.zaxis * h;
}

ON_RevSurface* ON_Cylinder::RevSurfaceForm(ON_RevSurface* srf) const {
  if (!IsValid() || !IsFinite()) return nullptr;
  const ON_3dVector z = circle.plane.zaxis;
  const ON_3dPoint c = circle.Center();
  ON_Line profile(PointAt(0.0, height[0]), PointAt(0.0, height[1]));
  return Revolve(srf, new ON_LineCurve(profile), ON_Line(c + z * height[0], c + z * height[1]));
}

bool ON_Cone::Create(const ON_Plane& p, double h, double r) {
  plane = p;
  height = h;
  radius = r;
  return IsValid();
}

ON_3dPoint ON_Cone::PointAt(double angle, double h) const {
  const double r = radius * h / height;
  return plane.PointAt(r * std::cos(angle), r * std::sin(angle), h);
}

ON_RevSurface* ON_Cone::RevSurfaceForm(ON_RevSurface* srf) const {
  if (!IsValid()) return nullptr;
  ON_Line profile(plane.origin, PointAt(0.0, height));
  return Revolve(srf, new ON_LineCurve(profile), ON_Line(plane.origin, plane.origin + plane.zaxis));
}

bool ON_Torus::Create(const ON_Plane& p, double major, double minor) {
  plane = p;
  major_radius = major;
  minor_radius = minor;
  return IsValid();
}

ON_3dPoint ON_Torus::PointAt(double major_angle, double minor_angle) const {
  const double r = major_radius + minor_radius * std::cos(minor_angle);
  return plane.PointAt(r * std::cos(major_angle), r * std::sin(major_angle),
                       minor_radius * std::sin(minor_angle));
}

ON_RevSurface* ON_Torus::RevSurfaceForm(ON_RevSurface* srf) const {
  if (!IsValid()) return nullptr;
  ON_Plane profile_plane(plane.origin + plane.xaxis * major_radius, plane.xaxis, plane.zaxis);
  ON_Circle profile(profile_plane, minor_radius);
  return Revolve(srf, new ON_ArcCurve(profile), ON_Line(plane.origin, plane.origin + plane.zaxis));
}
