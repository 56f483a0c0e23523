#pragma once
// ON_PlaneSurface: the part of a plane over m_extents (plane coordinates),
// parameterised over m_domain.
#include "on_plane.h"
#include "on_surface.h"

class ON_PlaneSurface : public ON_Surface {
  ON_OBJECT_DECLARE(ON_PlaneSurface)
 public:
  ON_Plane m_plane;
  ON_Interval m_domain[2] = {ON_Interval(0.0, 1.0), ON_Interval(0.0, 1.0)};
  ON_Interval m_extents[2] = {ON_Interval(0.0, 1.0), ON_Interval(0.0, 1.0)};

  ON_PlaneSurface() = default;
  explicit ON_PlaneSurface(const ON_Plane& plane);
  ON_PlaneSurface& operator=(const ON_Plane& plane);
  bool SetExtents(int dir, const ON_Interval& extents, bool sync_domain = false);
  ON_Interval Extents(int dir) const { return m_extents[dir ? 1 : 0]; }

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain(int dir) const override { return m_domain[dir ? 1 : 0]; }
  bool SetDomain(int dir, double t0, double t1) override;
  int SpanCount(int) const override { return 1; }
  bool GetSpanVector(int dir, double* s) const override;
  int Degree(int) const override { return 1; }
  bool Evaluate(double s, double t, int der_count, int v_stride, double* v, int side = 0,
                int* hint = nullptr) const override;
  bool IsPlanar(ON_Plane* plane = nullptr, double tolerance = ON_ZERO_TOLERANCE) const override;
  bool IsClosed(int) const override { return false; }
  bool Transpose() override;
  bool Reverse(int dir) override;
  int GetNurbForm(ON_NurbsSurface& nurbs_surface, double tolerance = 0.0) const override;
};
