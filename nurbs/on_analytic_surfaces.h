#pragma once
// Analytic surface values: ON_Cylinder, ON_Cone, ON_Sphere, ON_Torus, each
// with its ON_RevSurface form.
#include "on_circle.h"
#include "on_plane.h"

class ON_RevSurface;

class ON_Sphere {
 public:
  ON_Plane plane;  // origin at the centre; the z axis points at the north pole
  double radius = 1.0;

  ON_Sphere() = default;
  ON_Sphere(const ON_3dPoint& center, double r) { Create(center, r); }
  bool Create(const ON_3dPoint& center, double r);
  bool IsValid() const { return plane.IsValid() && radius > 0.0; }
  const ON_3dPoint& Center() const { return plane.origin; }
  double Radius() const { return radius; }
  // Longitude and latitude in radians.
  ON_3dPoint PointAt(double longitude, double latitude) const;
  // The half circle from the south to the north pole revolved about the z axis.
  ON_RevSurface* RevSurfaceForm(ON_RevSurface* srf = nullptr) const;
};

class ON_Cylinder {
 public:
  ON_Circle circle;  // the axis is the circle's normal through its centre
  double height[2] = {0.0, 0.0};  // both 0: infinite

  ON_Cylinder() = default;
  ON_Cylinder(const ON_Circle& c, double h) { Create(c, h); }
  bool Create(const ON_Circle& c, double h);
  bool IsValid() const { return circle.IsValid() && height[0] <= height[1]; }
  bool IsFinite() const { return height[0] != height[1]; }
  ON_3dPoint Center() const { return circle.Center(); }
  const ON_3dVector& Axis() const { return circle.Normal(); }
  double Radius() const { return circle.radius; }
  double Height() const { return height[1] - height[0]; }
  ON_3dPoint PointAt(double angle, double h) const;
  ON_RevSurface* RevSurfaceForm(ON_RevSurface* srf = nullptr) const;
};

class ON_Cone {
 public:
  ON_Plane plane;  // origin at the apex; the axis is the z axis
  double height = 1.0;  // signed distance from the apex to the base circle
  double radius = 1.0;  // radius of the base circle

  ON_Cone() = default;
  ON_Cone(const ON_Plane& p, double h, double r) { Create(p, h, r); }
  bool Create(const ON_Plane& p, double h, double r);
  bool IsValid() const { return plane.IsValid() && height != 0.0 && radius != 0.0; }
  const ON_3dPoint& ApexPoint() const { return plane.origin; }
  const ON_3dVector& Axis() const { return plane.zaxis; }
  ON_3dPoint BasePoint() const { return plane.origin + plane.zaxis * height; }
  double AngleInRadians() const { return std::atan(std::fabs(radius / height)); }
  ON_3dPoint PointAt(double angle, double h) const;
  ON_RevSurface* RevSurfaceForm(ON_RevSurface* srf = nullptr) const;
};

class ON_Torus {
 public:
  ON_Plane plane;  // origin at the centre; the axis is the z axis
  double major_radius = 1.0;
  double minor_radius = 0.5;

  ON_Torus() = default;
  ON_Torus(const ON_Plane& p, double major, double minor) { Create(p, major, minor); }
  bool Create(const ON_Plane& p, double major, double minor);
  bool IsValid() const { return plane.IsValid() && minor_radius > 0.0 && major_radius > 0.0; }
  const ON_3dPoint& Center() const { return plane.origin; }
  const ON_3dVector& Axis() const { return plane.zaxis; }
  ON_3dPoint PointAt(double major_angle, double minor_angle) const;
  ON_RevSurface* RevSurfaceForm(ON_RevSurface* srf = nullptr) const;
};
