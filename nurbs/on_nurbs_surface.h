#pragma once
// ON_NurbsSurface: a tensor-product B-spline surface. CV (i, j) has i along
// direction 0 and j along direction 1; knots per direction in openNURBS form
// (order + CV count - 2 values).
#include "on_surface.h"

class ON_NurbsSurface : public ON_Surface {
  ON_OBJECT_DECLARE(ON_NurbsSurface)
 public:
  int m_dim = 0;
  int m_is_rat = 0;
  int m_order[2] = {0, 0};
  int m_cv_count[2] = {0, 0};
  int m_knot_capacity[2] = {0, 0};
  double* m_knot[2] = {nullptr, nullptr};
  int m_cv_stride[2] = {0, 0};
  int m_cv_capacity = 0;
  double* m_cv = nullptr;

  ON_NurbsSurface() = default;
  ON_NurbsSurface(int dim, bool is_rat, int order0, int order1, int cv_count0, int cv_count1);
  ON_NurbsSurface(const ON_NurbsSurface& src);
  ON_NurbsSurface& operator=(const ON_NurbsSurface& src);
  ~ON_NurbsSurface() override;

  bool Create(int dim, bool is_rat, int order0, int order1, int cv_count0, int cv_count1);
  void Destroy();
  // Knots 0, delta, 2 delta, ... clamped at both ends in one direction.
  bool MakeClampedUniformKnotVector(int dir, double delta = 1.0);

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override { return m_dim; }
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain(int dir) const override;
  bool SetDomain(int dir, double t0, double t1) override;
  int SpanCount(int dir) const override;
  bool GetSpanVector(int dir, double* s) const override;
  int Degree(int dir) const override;
  bool Evaluate(double s, double t, int der_count, int v_stride, double* v, int side = 0,
                int* hint = nullptr) const override;
  bool IsPlanar(ON_Plane* plane = nullptr, double tolerance = ON_ZERO_TOLERANCE) const override;
  bool Transpose() override;
  bool Reverse(int dir) override;
  int GetNurbForm(ON_NurbsSurface& nurbs_surface, double tolerance = 0.0) const override;

  bool IsRational() const { return m_is_rat != 0; }
  int Order(int dir) const { return m_order[dir ? 1 : 0]; }
  int CVCount(int dir) const { return m_cv_count[dir ? 1 : 0]; }
  int CVCount() const { return m_cv_count[0] * m_cv_count[1]; }
  int KnotCount(int dir) const;
  int CVSize() const { return m_dim > 0 ? m_dim + (m_is_rat ? 1 : 0) : 0; }
  double* CV(int i, int j) const;
  bool SetCV(int i, int j, const ON_3dPoint& point);
  bool SetCV(int i, int j, const ON_4dPoint& point);
  bool GetCV(int i, int j, ON_3dPoint& point) const;
  bool GetCV(int i, int j, ON_4dPoint& point) const;
  double Weight(int i, int j) const;
  bool SetWeight(int i, int j, double weight);
  double Knot(int dir, int i) const;
  bool SetKnot(int dir, int i, double knot_value);
  bool MakeRational();
};
