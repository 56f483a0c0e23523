#include "on_poly_curve.h"

#include <algorithm>
#include <vector>

#include "internal/curve_shape.h"
#include "on_nurbs_curve.h"
#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_PolyCurve, ON_Curve)

bool ON_PolyCurve::Append(ON_Curve* curve) {
  if (!curve || curve == this) return false;
  const ON_Interval d = curve->Domain();
  if (!d.IsIncreasing()) {
    // Taken over all the same, so callers that do not test the result leak nothing.
    delete curve;
    return false;
  }
  if (m_segment.Count() == 0) {
    m_t.Empty();
    m_t.Append(d[0]);
    m_t.Append(d[1]);
  } else {
    m_t.Append(m_t[m_t.Count() - 1] + d.Length());
  }
  m_segment.Append(curve);
  return true;
}

bool ON_PolyCurve::Prepend(ON_Curve* curve) {
  if (!curve || curve == this) return false;
  const ON_Interval d = curve->Domain();
  if (!d.IsIncreasing()) {
    delete curve;
    return false;
  }
  if (m_segment.Count() == 0) return Append(curve);
  m_t.Insert(0, m_t[0] - d.Length());
  m_segment.Insert(0, curve);
  return true;
}

ON_Curve* ON_PolyCurve::SegmentCurve(int i) const {
  return (i >= 0 && i < m_segment.Count()) ? m_segment[i] : nullptr;
}

ON_Interval ON_PolyCurve::SegmentDomain(int i) const {
  if (i < 0 || i + 1 >= m_t.Count()) return ON_Interval();
  return ON_Interval(m_t[i], m_t[i + 1]);
}

int ON_PolyCurve::SegmentIndex(double t) const {
  const int n = Count();
  if (n == 0 || m_t.Count() != n + 1) return -1;
  int i = static_cast<int>(std::upper_bound(m_t.begin(), m_t.end(), t) - m_t.begin()) - 1;
  return std::clamp(i, 0, n - 1);
}

double ON_PolyCurve::SegmentCurveParameter(double t) const {
  const int i = SegmentIndex(t);
  if (i < 0 || !m_segment[i]) return ON_UNSET_VALUE;
  return m_segment[i]->Domain().ParameterAt(SegmentDomain(i).NormalizedParameterAt(t));
}

void ON_PolyCurve::Destroy() {
  m_segment.Destroy();
  m_t.Destroy();
}

bool ON_PolyCurve::IsValid(ON_TextLog* log) const {
  const int n = Count();
  if (n == 0 || m_t.Count() != n + 1) {
    if (log) log->Print("ON_PolyCurve: no segments, or a parameter count that does not match.\n");
    return false;
  }
  for (int i = 0; i < n; ++i) {
    if (!m_segment[i] || !m_segment[i]->IsValid(log)) {
      if (log) log->Print("ON_PolyCurve: segment %d is not valid.\n", i);
      return false;
    }
    if (!(m_t[i] < m_t[i + 1])) {
      if (log) log->Print("ON_PolyCurve: parameters do not increase at %d.\n", i);
      return false;
    }
  }
  return true;
}

int ON_PolyCurve::Dimension() const {
  const ON_Curve* c = SegmentCurve(0);
  return c ? c->Dimension() : 3;
}

bool ON_PolyCurve::Transform(const ON_Xform& xform) {
  bool ok = true;
  for (ON_Curve* c : m_segment)
    if (c && !c->Transform(xform)) ok = false;
  return ok;
}

ON_Interval ON_PolyCurve::Domain() const {
  if (Count() == 0 || m_t.Count() != Count() + 1) return ON_Interval();
  return ON_Interval(m_t[0], m_t[m_t.Count() - 1]);
}

bool ON_PolyCurve::SetDomain(double t0, double t1) {
  const ON_Interval d = Domain();
  if (!(t0 < t1) || !d.IsIncreasing()) return false;
  const int n = m_t.Count();
  for (int i = 0; i < n; ++i) m_t[i] = t0 + (t1 - t0) * d.NormalizedParameterAt(m_t[i]);
  m_t[0] = t0;
  m_t[n - 1] = t1;
  return true;
}

int ON_PolyCurve::SpanCount() const {
  int n = 0;
  for (const ON_Curve* c : m_segment)
    if (c) n += c->SpanCount();
  return n;
}

bool ON_PolyCurve::GetSpanVector(double* s) const {
  if (!s || Count() == 0 || m_t.Count() != Count() + 1) return false;
  int k = 0;
  s[k++] = m_t[0];
  for (int i = 0; i < Count(); ++i) {
    const ON_Curve* c = m_segment[i];
    if (!c) return false;
    std::vector<double> sv(static_cast<size_t>(c->SpanCount() + 1));
    if (!c->GetSpanVector(sv.data())) return false;
    const ON_Interval cd = c->Domain(), pd = SegmentDomain(i);
    for (size_t j = 1; j < sv.size(); ++j) s[k++] = pd.ParameterAt(cd.NormalizedParameterAt(sv[j]));
  }
  return true;
}

int ON_PolyCurve::Degree() const {
  int d = 0;
  for (const ON_Curve* c : m_segment)
    if (c) d = std::max(d, c->Degree());
  return d;
}

bool ON_PolyCurve::IsLinear(double tolerance) const {
  if (Count() == 0) return false;
  std::vector<ON_3dPoint> joints;
  for (const ON_Curve* c : m_segment) {
    if (!c || !c->IsLinear(tolerance)) return false;
    joints.push_back(c->PointAtStart());
  }
  joints.push_back(PointAtEnd());
  return on_curve_shape::PointsAreLinear(joints.front(), joints.back(), joints, tolerance);
}

int ON_PolyCurve::IsPolyline(ON_SimpleArray<ON_3dPoint>* points, ON_SimpleArray<double>* params) const {
  if (points) points->Empty();
  if (params) params->Empty();
  ON_3dPointArray all;
  ON_SimpleArray<double> all_t;
  for (int i = 0; i < Count(); ++i) {
    const ON_Curve* c = m_segment[i];
    ON_3dPointArray p;
    ON_SimpleArray<double> t;
    if (!c || c->IsPolyline(&p, &t) < 2) return 0;
    const ON_Interval cd = c->Domain(), pd = SegmentDomain(i);
    for (int j = (i == 0 ? 0 : 1); j < p.Count(); ++j) {
      all.Append(p[j]);
      all_t.Append(pd.ParameterAt(cd.NormalizedParameterAt(t[j])));
    }
  }
  if (all.Count() < 2) return 0;
  if (points) *points = all;
  if (params) *params = all_t;
  return all.Count();
}

bool ON_PolyCurve::IsClosed() const { return Count() > 0 && ON_Curve::IsClosed(); }

bool ON_PolyCurve::Reverse() {
  for (ON_Curve* c : m_segment)
    if (c) c->Reverse();
  m_segment.Reverse();
  m_t.Reverse();
  for (auto& t : m_t) t = -t;
  return true;
}

bool ON_PolyCurve::Evaluate(double t, int der_count, int v_stride, double* v, int side, int* hint) const {
  int i = SegmentIndex(t);
  if (i < 0) return false;
  if (side < 0 && i > 0 && t == m_t[i]) --i;
  const ON_Curve* c = m_segment[i];
  if (!c) return false;
  const ON_Interval cd = c->Domain(), pd = SegmentDomain(i);
  if (!pd.IsIncreasing() || !cd.IsIncreasing()) return false;
  const double s = (t == pd[0]) ? cd[0] : (t == pd[1]) ? cd[1] : cd.ParameterAt(pd.NormalizedParameterAt(t));
  if (!c->Evaluate(s, der_count, v_stride, v, side, hint)) return false;
  const double rate = cd.Length() / pd.Length();
  double f = rate;
  for (int k = 1; k <= der_count; ++k, f *= rate)
    for (int j = 0; j < c->Dimension(); ++j) v[k * v_stride + j] *= f;
  return true;
}

int ON_PolyCurve::GetNurbForm(ON_NurbsCurve& out, double tolerance, const ON_Interval* subdomain) const {
  if (Count() == 0 || m_t.Count() != Count() + 1) return 0;
  ON_NurbsCurve joined;
  int rc = 1;
  for (int i = 0; i < Count(); ++i) {
    const ON_Curve* c = m_segment[i];
    ON_NurbsCurve piece;
    const int r = c ? c->GetNurbForm(piece, tolerance) : 0;
    if (!r) return 0;
    if (r == 2) rc = 2;
    const ON_Interval pd = SegmentDomain(i);
    if (!piece.SetDomain(pd[0], pd[1])) return 0;
    if (i == 0) {
      joined = std::move(piece);
      continue;
    }
    // Segments read from files often miss each other by a little; close
    // small gaps by moving the start of the next segment onto the end of the
    // curve so far.
    const ON_3dPoint end = joined.PointAtEnd(), start = piece.PointAtStart();
    const double scale = std::max({1.0, end.MaximumCoordinate(), start.MaximumCoordinate(),
                                   joined.BoundingBox().Diagonal().Length()});
    const double gap = end.DistanceTo(start);
    if (gap > std::max(tolerance, 1e-5 * scale)) return 0;
    if (gap > 0.0 && piece.ClampEnd(2)) {
      const double w = piece.Weight(0);
      piece.SetCV(0, ON_4dPoint(end.x * w, end.y * w, end.z * w, w));
    }
    if (!joined.Append(piece)) return 0;
  }
  if (subdomain && !joined.Trim(*subdomain)) return 0;
  out = std::move(joined);
  return rc;
}

bool ON_PolyCurve::ChangeDimension(int desired_dimension) {
  bool ok = true;
  for (ON_Curve* c : m_segment)
    if (c && !c->ChangeDimension(desired_dimension)) ok = false;
  return ok;
}
