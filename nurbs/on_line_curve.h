#pragma once
// ON_LineCurve: an ON_Line over the parameter interval m_t (by default 0 to
// the length, or 0 to 1 for a segment of length at most 1e-12).
#include "on_curve.h"
#include "on_line.h"

class ON_LineCurve : public ON_Curve {
  ON_OBJECT_DECLARE(ON_LineCurve)
 public:
  ON_Line m_line;
  ON_Interval m_t{0.0, 1.0};
  int m_dim = 3;

  ON_LineCurve() = default;
  ON_LineCurve(const ON_2dPoint& a, const ON_2dPoint& b);
  ON_LineCurve(const ON_3dPoint& a, const ON_3dPoint& b);
  explicit ON_LineCurve(const ON_Line& line);
  ON_LineCurve(const ON_Line& line, double t0, double t1);
  ON_LineCurve& operator=(const ON_Line& line);

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override { return m_dim; }
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain() const override { return m_t; }
  bool SetDomain(double t0, double t1) override;
  int SpanCount() const override { return 1; }
  bool GetSpanVector(double* s) const override;
  int Degree() const override { return 1; }
  bool IsLinear(double tolerance = ON_ZERO_TOLERANCE) const override;
  bool IsArc(const ON_Plane* = nullptr, ON_Arc* = nullptr,
             double = ON_ZERO_TOLERANCE) const override { return false; }
  int IsPolyline(ON_SimpleArray<ON_3dPoint>* pline_points = nullptr,
                 ON_SimpleArray<double>* pline_t = nullptr) const override;
  bool IsClosed() const override { return false; }
  bool Reverse() override;
  bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0,
                int* hint = nullptr) const override;
  int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                  const ON_Interval* subdomain = nullptr) const override;
  bool Trim(const ON_Interval& domain) override;
  bool ChangeDimension(int desired_dimension) override;
};
