#pragma once
// ON_NurbsCurve: a B-spline curve with optional weights. Knots follow
// openNURBS: order + CV count - 2 values (the conventional vector without its
// first and last knot). A rational CV is stored homogeneous, (w x, w y, w z, w).
#include "on_curve.h"

class ON_NurbsCurve : public ON_Curve {
  ON_OBJECT_DECLARE(ON_NurbsCurve)
 public:
  int m_dim = 0;
  int m_is_rat = 0;
  int m_order = 0;
  int m_cv_count = 0;
  int m_knot_capacity = 0;
  double* m_knot = nullptr;
  int m_cv_stride = 0;
  int m_cv_capacity = 0;
  double* m_cv = nullptr;

  ON_NurbsCurve() = default;
  ON_NurbsCurve(int dimension, bool is_rational, int order, int cv_count);
  ON_NurbsCurve(const ON_NurbsCurve& src);
  ON_NurbsCurve(ON_NurbsCurve&& src) noexcept;
  ON_NurbsCurve& operator=(const ON_NurbsCurve& src);
  ON_NurbsCurve& operator=(ON_NurbsCurve&& src) noexcept;
  ~ON_NurbsCurve() override;

  // Allocates a curve with zero CVs and knots; false for impossible sizes.
  bool Create(int dimension, bool is_rational, int order, int cv_count);
  // Non-rational, clamped, knots 0, delta, 2 delta, ... with the order's
  // multiplicity at both ends, through no point but with these CVs.
  bool CreateClampedUniformNurbs(int dimension, int order, int point_count,
                                 const ON_3dPoint* points, double knot_delta = 1.0);
  // Periodic uniform curve whose CVs are the points followed by the first
  // order - 1 of them again.
  bool CreatePeriodicUniformNurbs(int dimension, int order, int point_count,
                                  const ON_3dPoint* points, double knot_delta = 1.0);
  void Destroy();
  void EmergencyDestroy() { Destroy(); }

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override { return m_dim; }
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain() const override;
  // Rescales the knots linearly; false (unchanged) unless t0 < t1.
  bool SetDomain(double t0, double t1) override;
  int SpanCount() const override;
  bool GetSpanVector(double* s) const override;
  int Degree() const override { return m_order >= 2 ? m_order - 1 : 0; }
  bool IsLinear(double tolerance = ON_ZERO_TOLERANCE) const override;
  bool IsArc(const ON_Plane* plane = nullptr, ON_Arc* arc = nullptr,
             double tolerance = ON_ZERO_TOLERANCE) const override;
  int IsPolyline(ON_SimpleArray<ON_3dPoint>* pline_points = nullptr,
                 ON_SimpleArray<double>* pline_t = nullptr) const override;
  bool IsPlanar(ON_Plane* plane = nullptr, double tolerance = ON_ZERO_TOLERANCE) const override;
  bool IsClosed() const override;
  bool IsPeriodic() const override;
  bool Reverse() override;
  bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0,
                int* hint = nullptr) const override;
  int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                  const ON_Interval* subdomain = nullptr) const override;
  bool Trim(const ON_Interval& domain) override;
  bool ChangeDimension(int desired_dimension) override;

  bool IsRational() const { return m_is_rat != 0; }
  int Order() const { return m_order; }
  int CVCount() const { return m_cv_count; }
  int KnotCount() const { return (m_order >= 2 && m_cv_count >= m_order) ? m_order + m_cv_count - 2 : 0; }
  int CVSize() const { return m_dim > 0 ? m_dim + (m_is_rat ? 1 : 0) : 0; }

  // Pointer to CV i, null when out of range.
  double* CV(int i) const;
  bool SetCV(int i, const ON_3dPoint& point);  // weight 1 for a rational curve
  bool SetCV(int i, const ON_4dPoint& point);  // homogeneous; w dropped if not rational
  // The Euclidean location; false for an index out of range or a weight of 0.
  bool GetCV(int i, ON_3dPoint& point) const;
  bool GetCV(int i, ON_4dPoint& point) const;
  // 1.0 for every CV of a non-rational curve.
  double Weight(int i) const;
  bool SetWeight(int i, double weight);
  double Knot(int i) const;
  // False for an index outside 0..KnotCount()-1.
  bool SetKnot(int i, double knot_value);
  int KnotMultiplicity(int i) const;
  const double* Knot() const { return m_knot; }
  bool MakeRational();
  bool MakeNonRational();
  bool ZeroCVs();
  bool ClampEnd(int end);  // 0: start, 1: end, 2: both
  bool IsClamped(int end = 2) const;
  bool IncreaseDegree(int desired_degree);
  bool InsertKnot(double knot_value, int knot_multiplicity);
  // Joins a curve that starts where this one ends (within a small
  // tolerance); its domain is moved to follow this one's.
  bool Append(const ON_NurbsCurve& other);
  bool ReserveCVCapacity(int capacity);
  bool ReserveKnotCapacity(int capacity);
};
