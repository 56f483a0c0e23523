#include "on_polyline_curve.h"

#include <algorithm>
#include <vector>

#include "internal/curve_shape.h"
#include "on_nurbs_curve.h"
#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_PolylineCurve, ON_Curve)

ON_PolylineCurve::ON_PolylineCurve(const ON_3dPointArray& points) { *this = points; }

ON_PolylineCurve& ON_PolylineCurve::operator=(const ON_3dPointArray& points) {
  m_pline = points;
  m_t.Empty();
  for (int i = 0; i < points.Count(); ++i) m_t.Append(static_cast<double>(i));
  return *this;
}

bool ON_PolylineCurve::SetPoint(int i, const ON_3dPoint& p) {
  if (i < 0 || i >= m_pline.Count()) return false;
  m_pline[i] = p;
  return true;
}

bool ON_PolylineCurve::IsValid(ON_TextLog* log) const {
  if (m_pline.Count() < 2 || m_t.Count() != m_pline.Count()) {
    if (log) log->Print("ON_PolylineCurve: fewer than two points or a parameter count that differs.\n");
    return false;
  }
  for (int i = 1; i < m_t.Count(); ++i)
    if (!(m_t[i - 1] < m_t[i])) {
      if (log) log->Print("ON_PolylineCurve: parameters do not increase at %d.\n", i);
      return false;
    }
  return true;
}

bool ON_PolylineCurve::Transform(const ON_Xform& xform) { return m_pline.Transform(xform); }

ON_Interval ON_PolylineCurve::Domain() const {
  if (m_t.Count() < 2) return ON_Interval();
  return ON_Interval(m_t[0], m_t[m_t.Count() - 1]);
}

bool ON_PolylineCurve::SetDomain(double t0, double t1) {
  const ON_Interval d = Domain();
  if (!(t0 < t1) || !d.IsIncreasing()) return false;
  const int n = m_t.Count();
  for (int i = 0; i < n; ++i) m_t[i] = t0 + (t1 - t0) * d.NormalizedParameterAt(m_t[i]);
  m_t[0] = t0;
  m_t[n - 1] = t1;
  return true;
}

bool ON_PolylineCurve::GetSpanVector(double* s) const {
  if (!s || m_t.Count() < 2) return false;
  std::copy(m_t.begin(), m_t.end(), s);
  return true;
}

bool ON_PolylineCurve::IsLinear(double tolerance) const {
  if (m_pline.Count() < 2) return false;
  return on_curve_shape::PointsAreLinear(m_pline[0], m_pline[m_pline.Count() - 1], m_pline.Array(),
                                         m_pline.Count(), tolerance);
}

int ON_PolylineCurve::IsPolyline(ON_SimpleArray<ON_3dPoint>* points, ON_SimpleArray<double>* params) const {
  if (points) *points = m_pline;
  if (params) *params = m_t;
  return m_pline.Count() >= 2 ? m_pline.Count() : 0;
}

bool ON_PolylineCurve::Reverse() {
  m_pline.Reverse();
  m_t.Reverse();
  for (auto& t : m_t) t = -t;
  return true;
}

bool ON_PolylineCurve::Evaluate(double t, int der_count, int v_stride, double* v, int side, int*) const {
  const int n = m_pline.Count();
  if (!v || der_count < 0 || v_stride < m_dim || n < 2 || m_t.Count() != n) return false;
  // Segment i: m_t[i] <= t <= m_t[i+1]; at a corner the side picks one.
  int i = static_cast<int>(std::upper_bound(m_t.begin(), m_t.end(), t) - m_t.begin()) - 1;
  if (side < 0 && i > 0 && t == m_t[i]) --i;
  i = std::clamp(i, 0, n - 2);
  const double dt = m_t[i + 1] - m_t[i];
  if (!(dt > 0.0)) return false;
  const ON_3dPoint& a = m_pline[i];
  const ON_3dPoint& b = m_pline[i + 1];
  const ON_3dPoint p = (t == m_t[i]) ? a : (t == m_t[i + 1]) ? b : ON_Line(a, b).PointAt((t - m_t[i]) / dt);
  const ON_3dVector d = (b - a) / dt;
  for (int k = 0; k < m_dim && k < 3; ++k) v[k] = p[k];
  if (der_count >= 1)
    for (int k = 0; k < m_dim && k < 3; ++k) v[v_stride + k] = d[k];
  for (int j = 2; j <= der_count; ++j)
    for (int k = 0; k < m_dim; ++k) v[j * v_stride + k] = 0.0;
  return true;
}

int ON_PolylineCurve::GetNurbForm(ON_NurbsCurve& c, double, const ON_Interval* subdomain) const {
  if (!IsValid()) return 0;
  const int n = m_pline.Count();
  c.Create(m_dim, false, 2, n);
  for (int i = 0; i < n; ++i) {
    c.SetCV(i, m_pline[i]);
    c.SetKnot(i, m_t[i]);
  }
  if (subdomain && !c.Trim(*subdomain)) return 0;
  return 1;
}

bool ON_PolylineCurve::ChangeDimension(int desired_dimension) {
  if (desired_dimension != 2 && desired_dimension != 3) return false;
  if (desired_dimension == 2)
    for (auto& p : m_pline) p.z = 0.0;
  m_dim = desired_dimension;
  return true;
}
