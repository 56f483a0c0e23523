#include "on_plane_surface.h"

#include "on_nurbs_surface.h"
#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_PlaneSurface, ON_Surface)

ON_PlaneSurface::ON_PlaneSurface(const ON_Plane& plane) : m_plane(plane) {}

ON_PlaneSurface& ON_PlaneSurface::operator=(const ON_Plane& plane) {
  m_plane = plane;
  m_domain[0] = m_domain[1] = m_extents[0] = m_extents[1] = ON_Interval(0.0, 1.0);
  return *this;
}

bool ON_PlaneSurface::SetExtents(int dir, const ON_Interval& extents, bool sync_domain) {
  if (!extents.IsIncreasing()) return false;
  m_extents[dir ? 1 : 0] = extents;
  if (sync_domain) m_domain[dir ? 1 : 0] = extents;
  return true;
}

bool ON_PlaneSurface::IsValid(ON_TextLog* log) const {
  for (int d = 0; d < 2; ++d)
    if (!m_domain[d].IsIncreasing() || !m_extents[d].IsIncreasing()) {
      if (log) log->Print("ON_PlaneSurface: domain or extents not increasing.\n");
      return false;
    }
  return m_plane.IsValid();
}

bool ON_PlaneSurface::Transform(const ON_Xform& xform) {
  // Transform the corner frame, so that a scale changes the extents.
  const ON_3dPoint o = xform * m_plane.origin;
  const ON_3dVector x = xform * (m_plane.origin + m_plane.xaxis) - o;
  const ON_3dVector y = xform * (m_plane.origin + m_plane.yaxis) - o;
  const double sx = x.Length(), sy = ON_CrossProduct(x.UnitVector(), y).Length();
  if (!m_plane.CreateFromFrame(o, x, y)) return false;
  m_extents[0].Set(m_extents[0][0] * sx, m_extents[0][1] * sx);
  m_extents[1].Set(m_extents[1][0] * sy, m_extents[1][1] * sy);
  return true;
}

bool ON_PlaneSurface::SetDomain(int dir, double t0, double t1) {
  if (!(t0 < t1)) return false;
  m_domain[dir ? 1 : 0].Set(t0, t1);
  return true;
}

bool ON_PlaneSurface::GetSpanVector(int dir, double* s) const {
  if (!s) return false;
  s[0] = m_domain[dir ? 1 : 0][0];
  s[1] = m_domain[dir ? 1 : 0][1];
  return true;
}

bool ON_PlaneSurface::Evaluate(double s, double t, int der_count, int v_stride, double* v, int, int*) const {
  if (!v || der_count < 0 || v_stride < 3 || !m_domain[0].IsInterval() || !m_domain[1].IsInterval())
    return false;
  const double x = m_extents[0].ParameterAt(m_domain[0].NormalizedParameterAt(s));
  const double y = m_extents[1].ParameterAt(m_domain[1].NormalizedParameterAt(t));
  const ON_3dPoint p = m_plane.PointAt(x, y);
  for (int k = 0; k < 3; ++k) v[k] = p[k];
  if (der_count >= 1) {
    const ON_3dVector ds = m_plane.xaxis * (m_extents[0].Length() / m_domain[0].Length());
    const ON_3dVector dt = m_plane.yaxis * (m_extents[1].Length() / m_domain[1].Length());
    for (int k = 0; k < 3; ++k) {
      v[v_stride + k] = ds[k];
      v[2 * v_stride + k] = dt[k];
    }
  }
  for (int j = 3; j < (der_count + 1) * (der_count + 2) / 2; ++j)
    for (int k = 0; k < 3; ++k) v[j * v_stride + k] = 0.0;
  return true;
}

bool ON_PlaneSurface::IsPlanar(ON_Plane* plane, double) const {
  if (plane) *plane = m_plane;
  return true;
}

bool ON_PlaneSurface::Transpose() {
  std::swap(m_domain[0], m_domain[1]);
  std::swap(m_extents[0], m_extents[1]);
  m_plane.Flip();
  return true;
}

bool ON_PlaneSurface::Reverse(int dir) {
  const int d = dir ? 1 : 0;
  m_domain[d].Reverse();
  if (d == 0) {
    m_plane.xaxis = -m_plane.xaxis;
    m_extents[0].Reverse();
  } else {
    m_plane.yaxis = -m_plane.yaxis;
    m_extents[1].Reverse();
  }
  m_plane.zaxis = -m_plane.zaxis;
  m_plane.UpdateEquation();
  return true;
}

int ON_PlaneSurface::GetNurbForm(ON_NurbsSurface& ns, double) const {
  if (!IsValid()) return 0;
  ns.Create(3, false, 2, 2, 2, 2);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) ns.SetCV(i, j, m_plane.PointAt(m_extents[0][i], m_extents[1][j]));
  for (int d = 0; d < 2; ++d) {
    ns.SetKnot(d, 0, m_domain[d][0]);
    ns.SetKnot(d, 1, m_domain[d][1]);
  }
  return 1;
}
