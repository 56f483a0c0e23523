#include "on_line_curve.h"

#include "on_nurbs_curve.h"
#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_LineCurve, ON_Curve)

namespace {
// Segments of at most this length get the domain 0 to 1.
constexpr double kShortLine = 1e-12;

ON_Interval DefaultDomain(const ON_Line& line) {
  const double len = line.Length();
  return len > kShortLine ? ON_Interval(0.0, len) : ON_Interval(0.0, 1.0);
}
}  // namespace

ON_LineCurve::ON_LineCurve(const ON_2dPoint& a, const ON_2dPoint& b)
    : m_line(ON_3dPoint(a), ON_3dPoint(b)), m_t(DefaultDomain(m_line)), m_dim(2) {}
ON_LineCurve::ON_LineCurve(const ON_3dPoint& a, const ON_3dPoint& b)
    : m_line(a, b), m_t(DefaultDomain(m_line)) {}
ON_LineCurve::ON_LineCurve(const ON_Line& line) : m_line(line), m_t(DefaultDomain(line)) {}
ON_LineCurve::ON_LineCurve(const ON_Line& line, double t0, double t1) : m_line(line), m_t(t0, t1) {}

ON_LineCurve& ON_LineCurve::operator=(const ON_Line& line) {
  m_line = line;
  m_t = DefaultDomain(line);
  return *this;
}

bool ON_LineCurve::IsValid(ON_TextLog* log) const {
  if (!m_t.IsIncreasing()) {
    if (log) log->Print("ON_LineCurve: the domain is not increasing.\n");
    return false;
  }
  if (!m_line.IsValid()) {
    if (log) log->Print("ON_LineCurve: the line is degenerate.\n");
    return false;
  }
  return true;
}

bool ON_LineCurve::Transform(const ON_Xform& xform) { return m_line.Transform(xform); }

bool ON_LineCurve::SetDomain(double t0, double t1) {
  if (!(t0 < t1)) return false;
  m_t.Set(t0, t1);
  return true;
}

bool ON_LineCurve::GetSpanVector(double* s) const {
  if (!s) return false;
  s[0] = m_t[0];
  s[1] = m_t[1];
  return true;
}

bool ON_LineCurve::IsLinear(double) const { return m_line.IsValid(); }

int ON_LineCurve::IsPolyline(ON_SimpleArray<ON_3dPoint>* points, ON_SimpleArray<double>* params) const {
  if (points) {
    points->Empty();
    points->Append(m_line.from);
    points->Append(m_line.to);
  }
  if (params) {
    params->Empty();
    params->Append(m_t[0]);
    params->Append(m_t[1]);
  }
  return 2;
}

bool ON_LineCurve::Reverse() {
  m_line.Reverse();
  m_t.Reverse();
  return true;
}

bool ON_LineCurve::Evaluate(double t, int der_count, int v_stride, double* v, int, int*) const {
  if (!v || der_count < 0 || v_stride < m_dim || !m_t.IsInterval()) return false;
  const double s = m_t.NormalizedParameterAt(t);
  const ON_3dPoint p = (t == m_t[0]) ? m_line.from : (t == m_t[1]) ? m_line.to : m_line.PointAt(s);
  const ON_3dVector d = m_line.Direction() / m_t.Length();
  for (int i = 0; i < m_dim && i < 3; ++i) v[i] = p[i];
  if (der_count >= 1)
    for (int i = 0; i < m_dim && i < 3; ++i) v[v_stride + i] = d[i];
  for (int k = 2; k <= der_count; ++k)
    for (int i = 0; i < m_dim; ++i) v[k * v_stride + i] = 0.0;
  return true;
}

int ON_LineCurve::GetNurbForm(ON_NurbsCurve& c, double, const ON_Interval* subdomain) const {
  if (!m_t.IsIncreasing()) return 0;
  c.Create(m_dim, false, 2, 2);
  c.SetCV(0, m_line.from);
  c.SetCV(1, m_line.to);
  c.SetKnot(0, m_t[0]);
  c.SetKnot(1, m_t[1]);
  if (subdomain && !c.Trim(*subdomain)) return 0;
  return 1;
}

bool ON_LineCurve::Trim(const ON_Interval& in) {
  ON_Interval d = in;
  if (!d.MakeIncreasing() || !m_t.IsIncreasing()) return false;
  const ON_3dPoint a = m_line.PointAt(m_t.NormalizedParameterAt(d[0]));
  const ON_3dPoint b = m_line.PointAt(m_t.NormalizedParameterAt(d[1]));
  m_line = ON_Line(a, b);
  m_t = d;
  return true;
}

bool ON_LineCurve::ChangeDimension(int desired_dimension) {
  if (desired_dimension != 2 && desired_dimension != 3) return false;
  if (desired_dimension == 2) {
    m_line.from.z = 0.0;
    m_line.to.z = 0.0;
  }
  m_dim = desired_dimension;
  return true;
}
