#pragma once
// ON_PolyCurve: segments joined end to start. Segment i spans the parameters
// m_t[i] to m_t[i+1], mapped linearly onto its own domain. The poly-curve owns
// its segments.
#include "on_curve.h"

class ON_PolyCurve : public ON_Curve {
  ON_OBJECT_DECLARE(ON_PolyCurve)
 public:
  ON_CurveArray m_segment;
  ON_SimpleArray<double> m_t;

  ON_PolyCurve() = default;
  explicit ON_PolyCurve(int capacity) : m_segment(capacity), m_t(capacity + 1) {}

  // Takes over the curve (which must come from new); the next segment's
  // parameters follow on from the last. A curve without an increasing
  // domain is deleted and false returned; null gives false.
  bool Append(ON_Curve* curve);
  bool Prepend(ON_Curve* curve);
  bool AppendAndMatch(ON_Curve* curve) { return Append(curve); }
  int Count() const { return m_segment.Count(); }
  ON_Curve* SegmentCurve(int segment_index) const;
  ON_Curve* operator[](int segment_index) const { return SegmentCurve(segment_index); }
  ON_Curve* FirstSegmentCurve() const { return SegmentCurve(0); }
  ON_Curve* LastSegmentCurve() const { return SegmentCurve(Count() - 1); }
  ON_Interval SegmentDomain(int segment_index) const;
  double SegmentCurveParameter(double polycurve_parameter) const;
  // Index of the segment that holds the parameter, -1 when there is none.
  int SegmentIndex(double polycurve_parameter) const;
  void Destroy();

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override;
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain() const override;
  bool SetDomain(double t0, double t1) override;
  int SpanCount() const override;
  bool GetSpanVector(double* s) const override;
  int Degree() const override;
  bool IsLinear(double tolerance = ON_ZERO_TOLERANCE) const override;
  int IsPolyline(ON_SimpleArray<ON_3dPoint>* pline_points = nullptr,
                 ON_SimpleArray<double>* pline_t = nullptr) const override;
  bool IsClosed() const override;
  bool Reverse() override;
  bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0,
                int* hint = nullptr) const override;
  // The segments' NURBS forms over their poly-curve parameters, raised to one
  // degree and joined into a single curve.
  int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                  const ON_Interval* subdomain = nullptr) const override;
  bool ChangeDimension(int desired_dimension) override;
};
