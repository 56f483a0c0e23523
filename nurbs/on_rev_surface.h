#pragma once
// ON_RevSurface: m_curve revolved about m_axis through the angles m_angle.
// Parameters: (angle parameter over m_t, curve parameter), swapped when
// m_bTransposed. Spheres, cylinders, cones and tori are revolutions of a
// line or an arc, and IsSphere/IsCylinder/IsCone/IsTorus recover them exactly.
#include "on_line.h"
#include "on_surface.h"

class ON_Curve;

class ON_RevSurface : public ON_Surface {
  ON_OBJECT_DECLARE(ON_RevSurface)
 public:
  ON_Curve* m_curve = nullptr;  // owned
  ON_Line m_axis;
  ON_Interval m_angle{0.0, 2.0 * ON_PI};
  ON_Interval m_t{0.0, 2.0 * ON_PI};
  bool m_bTransposed = false;

  ON_RevSurface() = default;
  ON_RevSurface(const ON_RevSurface& src);
  ON_RevSurface& operator=(const ON_RevSurface& src);
  ~ON_RevSurface() override;
  void Destroy();
  // Takes over the curve.
  bool Create(ON_Curve* curve, const ON_Line& axis, const ON_Interval& angle = ON_Interval(0.0, 2.0 * ON_PI));

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain(int dir) const override;
  bool SetDomain(int dir, double t0, double t1) override;
  int SpanCount(int dir) const override;
  bool GetSpanVector(int dir, double* s) const override;
  int Degree(int dir) const override;
  bool Evaluate(double s, double t, int der_count, int v_stride, double* v, int side = 0,
                int* hint = nullptr) const override;
  bool IsPlanar(ON_Plane* plane = nullptr, double tolerance = ON_ZERO_TOLERANCE) const override;
  bool IsSphere(ON_Sphere* sphere = nullptr, double tolerance = ON_ZERO_TOLERANCE) const override;
  bool IsCylinder(ON_Cylinder* cylinder = nullptr, double tolerance = ON_ZERO_TOLERANCE) const override;
  bool IsCone(ON_Cone* cone = nullptr, double tolerance = ON_ZERO_TOLERANCE) const override;
  bool IsTorus(ON_Torus* torus = nullptr, double tolerance = ON_ZERO_TOLERANCE) const override;
  bool Transpose() override;
  bool Reverse(int dir) override;
  int GetNurbForm(ON_NurbsSurface& nurbs_surface, double tolerance = 0.0) const override;
};
