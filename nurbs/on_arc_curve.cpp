#include "on_arc_curve.h"

#include "on_nurbs_curve.h"
#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_ArcCurve, ON_Curve)

ON_ArcCurve::ON_ArcCurve(const ON_Arc& arc) : m_arc(arc), m_t(0.0, arc.Length()) {}
ON_ArcCurve::ON_ArcCurve(const ON_Arc& arc, double t0, double t1) : m_arc(arc), m_t(t0, t1) {}
ON_ArcCurve::ON_ArcCurve(const ON_Circle& circle) : m_t(0.0, circle.Circumference()) { m_arc = circle; }
ON_ArcCurve::ON_ArcCurve(const ON_Circle& circle, double t0, double t1) : m_t(t0, t1) { m_arc = circle; }

ON_ArcCurve& ON_ArcCurve::operator=(const ON_Arc& arc) {
  m_arc = arc;
  m_t.Set(0.0, arc.Length());
  return *this;
}

ON_ArcCurve& ON_ArcCurve::operator=(const ON_Circle& circle) {
  m_arc = circle;
  m_t.Set(0.0, m_arc.Length());
  return *this;
}

bool ON_ArcCurve::IsValid(ON_TextLog* log) const {
  if (!m_t.IsIncreasing()) {
    if (log) log->Print("ON_ArcCurve: the domain is not increasing.\n");
    return false;
  }
  if (!m_arc.IsValid()) {
    if (log) log->Print("ON_ArcCurve: the arc is not valid.\n");
    return false;
  }
  return true;
}

bool ON_ArcCurve::Transform(const ON_Xform& xform) { return m_arc.Transform(xform); }

bool ON_ArcCurve::SetDomain(double t0, double t1) {
  if (!(t0 < t1)) return false;
  m_t.Set(t0, t1);
  return true;
}

bool ON_ArcCurve::GetSpanVector(double* s) const {
  if (!s) return false;
  s[0] = m_t[0];
  s[1] = m_t[1];
  return true;
}

bool ON_ArcCurve::IsArc(const ON_Plane* plane, ON_Arc* arc, double tolerance) const {
  if (!m_arc.IsValid()) return false;
  if (plane) {
    const double tol = tolerance > 0.0 ? tolerance : ON_ZERO_TOLERANCE;
    if (std::fabs(plane->DistanceTo(m_arc.Center())) > tol) return false;
    if (!m_arc.plane.zaxis.IsParallelTo(plane->zaxis, ON_SQRT_EPSILON)) return false;
  }
  if (arc) *arc = m_arc;
  return true;
}

int ON_ArcCurve::IsPolyline(ON_SimpleArray<ON_3dPoint>* points, ON_SimpleArray<double>* params) const {
  if (points) points->Empty();
  if (params) params->Empty();
  return 0;
}

bool ON_ArcCurve::IsPlanar(ON_Plane* plane, double) const {
  if (plane) *plane = m_arc.plane;
  return true;
}

bool ON_ArcCurve::Reverse() {
  m_arc.Reverse();
  m_t.Reverse();
  return true;
}

bool ON_ArcCurve::Evaluate(double t, int der_count, int v_stride, double* v, int, int*) const {
  if (!v || der_count < 0 || v_stride < m_dim || !m_t.IsInterval()) return false;
  const double a = m_arc.m_angle.ParameterAt(m_t.NormalizedParameterAt(t));
  // d(angle)/dt, for the chain rule.
  const double rate = m_arc.AngleRadians() / m_t.Length();
  double f = 1.0;
  for (int k = 0; k <= der_count; ++k) {
    const ON_3dVector d = k == 0 ? ON_3dVector(m_arc.PointAt(a)) : m_arc.DerivativeAt(k, a) * f;
    for (int i = 0; i < m_dim && i < 3; ++i) v[k * v_stride + i] = d[i];
    f *= rate;
  }
  return true;
}

int ON_ArcCurve::GetNurbForm(ON_NurbsCurve& c, double, const ON_Interval* subdomain) const {
  if (!m_t.IsIncreasing() || !m_arc.GetNurbForm(c)) return 0;
  c.SetDomain(m_t[0], m_t[1]);
  if (m_dim == 2) c.ChangeDimension(2);
  if (subdomain && !c.Trim(*subdomain)) return 0;
  return 2;
}

bool ON_ArcCurve::Trim(const ON_Interval& in) {
  ON_Interval d = in;
  if (!d.MakeIncreasing() || !m_t.IsIncreasing()) return false;
  const double a0 = m_arc.m_angle.ParameterAt(m_t.NormalizedParameterAt(d[0]));
  const double a1 = m_arc.m_angle.ParameterAt(m_t.NormalizedParameterAt(d[1]));
  m_arc.m_angle.Set(a0, a1);
  m_t = d;
  return m_arc.IsValid();
}

bool ON_ArcCurve::ChangeDimension(int desired_dimension) {
  if (desired_dimension != 2 && desired_dimension != 3) return false;
  m_dim = desired_dimension;
  return true;
}
