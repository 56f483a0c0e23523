#pragma once
// ON_Arc: a circle with an angle interval m_angle (radians, increasing, at
// most a full turn); the arc runs counter-clockwise about the plane's z axis.
#include "on_circle.h"
#include "on_interval.h"

class ON_Arc : public ON_Circle {
 public:
  ON_Interval m_angle{0.0, 2.0 * ON_PI};

  ON_Arc() = default;
  ON_Arc(const ON_Circle& circle, double angle_radians) { Create(circle, angle_radians); }
  ON_Arc(const ON_Circle& circle, const ON_Interval& angle_interval) { Create(circle, angle_interval); }
  ON_Arc(const ON_Plane& plane, double r, double angle_radians) { Create(plane, r, angle_radians); }
  ON_Arc(const ON_3dPoint& center, double r, double angle_radians) { Create(center, r, angle_radians); }
  ON_Arc(const ON_Plane& plane, const ON_3dPoint& center, double r, double angle_radians) {
    Create(plane, center, r, angle_radians);
  }
  // Start at p, through q, end at r.
  ON_Arc(const ON_3dPoint& p, const ON_3dPoint& q, const ON_3dPoint& r) { Create(p, q, r); }

  ON_Arc& operator=(const ON_Circle& circle);

  bool Create(const ON_Circle& circle, double angle_radians);
  bool Create(const ON_Circle& circle, const ON_Interval& angle_interval);
  bool Create(const ON_Plane& plane, double r, double angle_radians);
  bool Create(const ON_3dPoint& center, double r, double angle_radians);
  bool Create(const ON_Plane& plane, const ON_3dPoint& center, double r, double angle_radians);
  bool Create(const ON_3dPoint& p, const ON_3dPoint& q, const ON_3dPoint& r);

  bool IsValid() const;
  // True when the sweep is a full turn (within 1e-12).
  bool IsCircle() const;
  double AngleRadians() const { return m_angle[1] - m_angle[0]; }
  double AngleDegrees() const { return AngleRadians() * 180.0 / ON_PI; }
  ON_Interval Domain() const { return m_angle; }
  ON_Interval DomainRadians() const { return m_angle; }
  bool SetAngleRadians(double angle_radians);
  bool SetAngleIntervalRadians(const ON_Interval& angle_interval);
  ON_3dPoint StartPoint() const { return PointAt(m_angle[0]); }
  ON_3dPoint MidPoint() const { return PointAt(m_angle.Mid()); }
  ON_3dPoint EndPoint() const { return PointAt(m_angle[1]); }
  double Length() const { return std::fabs(AngleRadians() * radius); }
  // Angle parameter (within m_angle) of the closest point of the arc.
  bool ClosestPointTo(const ON_3dPoint& p, double* t) const;
  ON_3dPoint ClosestPointTo(const ON_3dPoint& p) const;
  ON_BoundingBox BoundingBox() const;
  bool Transform(const ON_Xform& xform);
  bool Reverse();
  // The exact rational quadratic form with one span per quarter turn or less
  // and the domain of m_angle. Returns 2, or 0 for an invalid arc.
  int GetNurbForm(ON_NurbsCurve& nurbs_curve) const;
};
