#pragma once
// ON_PolylineCurve: an ON_Polyline whose point i sits at parameter m_t[i]
// (0, 1, 2, ... by default).
#include "on_curve.h"
#include "on_polyline.h"

class ON_PolylineCurve : public ON_Curve {
  ON_OBJECT_DECLARE(ON_PolylineCurve)
 public:
  ON_Polyline m_pline;
  ON_SimpleArray<double> m_t;
  int m_dim = 3;

  ON_PolylineCurve() = default;
  ON_PolylineCurve(const ON_3dPointArray& points);
  ON_PolylineCurve& operator=(const ON_3dPointArray& points);

  int PointCount() const { return m_pline.Count(); }
  ON_3dPoint Point(int i) const { return (i >= 0 && i < m_pline.Count()) ? m_pline[i] : ON_UNSET_POINT; }
  bool SetPoint(int i, const ON_3dPoint& p);
  double ParameterAt(int i) const { return (i >= 0 && i < m_t.Count()) ? m_t[i] : ON_UNSET_VALUE; }

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override { return m_dim; }
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain() const override;
  bool SetDomain(double t0, double t1) override;
  int SpanCount() const override { return m_pline.SegmentCount(); }
  bool GetSpanVector(double* s) const override;
  int Degree() const override { return 1; }
  bool IsLinear(double tolerance = ON_ZERO_TOLERANCE) const override;
  bool IsArc(const ON_Plane* = nullptr, ON_Arc* = nullptr,
             double = ON_ZERO_TOLERANCE) const override { return false; }
  int IsPolyline(ON_SimpleArray<ON_3dPoint>* pline_points = nullptr,
                 ON_SimpleArray<double>* pline_t = nullptr) const override;
  bool IsClosed() const override { return m_pline.IsClosed(0.0); }
  bool Reverse() override;
  bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0,
                int* hint = nullptr) const override;
  int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                  const ON_Interval* subdomain = nullptr) const override;
  bool ChangeDimension(int desired_dimension) override;
};
