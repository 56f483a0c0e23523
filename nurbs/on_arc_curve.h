#pragma once
// ON_ArcCurve: an ON_Arc over the parameter interval m_t (by default 0 to the
// arc length), mapped linearly onto the arc's angle interval.
#include "on_curve.h"

class ON_ArcCurve : public ON_Curve {
  ON_OBJECT_DECLARE(ON_ArcCurve)
 public:
  ON_Arc m_arc;
  ON_Interval m_t{0.0, 2.0 * ON_PI};
  int m_dim = 3;

  ON_ArcCurve() = default;
  explicit ON_ArcCurve(const ON_Arc& arc);
  ON_ArcCurve(const ON_Arc& arc, double t0, double t1);
  explicit ON_ArcCurve(const ON_Circle& circle);
  ON_ArcCurve(const ON_Circle& circle, double t0, double t1);
  ON_ArcCurve& operator=(const ON_Arc& arc);
  ON_ArcCurve& operator=(const ON_Circle& circle);

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override { return m_dim; }
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain() const override { return m_t; }
  bool SetDomain(double t0, double t1) override;
  int SpanCount() const override { return 1; }
  bool GetSpanVector(double* s) const override;
  int Degree() const override { return 2; }
  bool IsLinear(double = ON_ZERO_TOLERANCE) const override { return false; }
  bool IsArc(const ON_Plane* plane = nullptr, ON_Arc* arc = nullptr,
             double tolerance = ON_ZERO_TOLERANCE) const override;
  int IsPolyline(ON_SimpleArray<ON_3dPoint>* pline_points = nullptr,
                 ON_SimpleArray<double>* pline_t = nullptr) const override;
  bool IsPlanar(ON_Plane* plane = nullptr, double tolerance = ON_ZERO_TOLERANCE) const override;
  bool IsClosed() const override { return m_arc.IsCircle(); }
  bool IsCircle() const { return m_arc.IsCircle(); }
  double Radius() const { return m_arc.radius; }
  double AngleRadians() const { return m_arc.AngleRadians(); }
  bool Reverse() override;
  bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0,
                int* hint = nullptr) const override;
  int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                  const ON_Interval* subdomain = nullptr) const override;
  bool Trim(const ON_Interval& domain) override;
  bool ChangeDimension(int desired_dimension) override;
};
