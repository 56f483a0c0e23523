#include "on_nurbs_curve.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "internal/bspline.h"
#include "internal/curve_shape.h"
#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_NurbsCurve, ON_Curve)

namespace {

on_bspline::Spline ToSpline(const ON_NurbsCurve& c) {
  on_bspline::Spline s;
  s.dim = c.m_dim;
  s.is_rat = c.m_is_rat != 0;
  s.order = c.m_order;
  s.cv_count = c.m_cv_count;
  s.knot.assign(c.m_knot, c.m_knot + c.KnotCount());
  const int cvs = c.CVSize();
  s.cv.resize(static_cast<size_t>(c.m_cv_count * cvs));
  for (int i = 0; i < c.m_cv_count; ++i)
    std::memcpy(s.cv.data() + static_cast<size_t>(i) * cvs, c.CV(i), sizeof(double) * cvs);
  return s;
}

void FromSpline(const on_bspline::Spline& s, ON_NurbsCurve& c) {
  c.Create(s.dim, s.is_rat, s.order, s.cv_count);
  std::copy(s.knot.begin(), s.knot.end(), c.m_knot);
  const int cvs = s.cv_size();
  for (int i = 0; i < s.cv_count; ++i) std::memcpy(c.CV(i), s.CV(i), sizeof(double) * cvs);
}

// At most 1 GiB of CVs: sizes from files must not overflow or exhaust memory.
constexpr long long kMaxDoubles = 1LL << 27;

bool UsableCurve(const ON_NurbsCurve& c) {
  return c.m_dim > 0 && c.m_order >= 2 && c.m_cv_count >= c.m_order && c.m_knot && c.m_cv &&
         c.m_cv_stride >= c.CVSize();
}

}  // namespace

ON_NurbsCurve::ON_NurbsCurve(int dimension, bool is_rational, int order, int cv_count) {
  Create(dimension, is_rational, order, cv_count);
}

ON_NurbsCurve::ON_NurbsCurve(const ON_NurbsCurve& src) : ON_Curve(src) { *this = src; }

ON_NurbsCurve::ON_NurbsCurve(ON_NurbsCurve&& src) noexcept : ON_Curve(src) { *this = std::move(src); }

ON_NurbsCurve& ON_NurbsCurve::operator=(const ON_NurbsCurve& src) {
  if (this == &src) return *this;
  ON_Curve::operator=(src);
  if (!UsableCurve(src)) {
    Destroy();
    m_dim = src.m_dim;
    m_is_rat = src.m_is_rat;
    m_order = src.m_order;
    return *this;
  }
  Create(src.m_dim, src.m_is_rat != 0, src.m_order, src.m_cv_count);
  std::copy(src.m_knot, src.m_knot + src.KnotCount(), m_knot);
  const int cvs = CVSize();
  for (int i = 0; i < m_cv_count; ++i) std::memcpy(CV(i), src.CV(i), sizeof(double) * cvs);
  return *this;
}

ON_NurbsCurve& ON_NurbsCurve::operator=(ON_NurbsCurve&& src) noexcept {
  if (this == &src) return *this;
  Destroy();
  std::swap(m_dim, src.m_dim);
  std::swap(m_is_rat, src.m_is_rat);
  std::swap(m_order, src.m_order);
  std::swap(m_cv_count, src.m_cv_count);
  std::swap(m_knot_capacity, src.m_knot_capacity);
  std::swap(m_knot, src.m_knot);
  std::swap(m_cv_stride, src.m_cv_stride);
  std::swap(m_cv_capacity, src.m_cv_capacity);
  std::swap(m_cv, src.m_cv);
  return *this;
}

ON_NurbsCurve::~ON_NurbsCurve() { Destroy(); }

void ON_NurbsCurve::Destroy() {
  delete[] m_knot;
  delete[] m_cv;
  m_knot = nullptr;
  m_cv = nullptr;
  m_knot_capacity = m_cv_capacity = 0;
  m_dim = m_is_rat = m_order = m_cv_count = m_cv_stride = 0;
}

bool ON_NurbsCurve::ReserveKnotCapacity(int capacity) {
  if (capacity <= m_knot_capacity) return true;
  auto* k = new double[static_cast<size_t>(capacity)]();
  if (m_knot) std::copy(m_knot, m_knot + m_knot_capacity, k);
  delete[] m_knot;
  m_knot = k;
  m_knot_capacity = capacity;
  return true;
}

bool ON_NurbsCurve::ReserveCVCapacity(int capacity) {
  if (capacity <= m_cv_capacity) return true;
  auto* c = new double[static_cast<size_t>(capacity)]();
  if (m_cv) std::copy(m_cv, m_cv + m_cv_capacity, c);
  delete[] m_cv;
  m_cv = c;
  m_cv_capacity = capacity;
  return true;
}

bool ON_NurbsCurve::Create(int dimension, bool is_rational, int order, int cv_count) {
  // Limits keep the sizes far from integer overflow.
  if (dimension < 1 || dimension > 64 || order < 2 || order > 64 || cv_count < order ||
      static_cast<long long>(cv_count) * (dimension + 1) > kMaxDoubles) {
    Destroy();
    return false;
  }
  m_dim = dimension;
  m_is_rat = is_rational ? 1 : 0;
  m_order = order;
  m_cv_count = cv_count;
  m_cv_stride = CVSize();
  const int knots = order + cv_count - 2;
  const int cvs = cv_count * m_cv_stride;
  ReserveKnotCapacity(knots);
  ReserveCVCapacity(cvs);
  std::fill(m_knot, m_knot + m_knot_capacity, 0.0);
  std::fill(m_cv, m_cv + m_cv_capacity, 0.0);
  if (m_is_rat)
    for (int i = 0; i < cv_count; ++i) CV(i)[m_dim] = 1.0;
  return true;
}

bool ON_NurbsCurve::CreateClampedUniformNurbs(int dimension, int order, int point_count,
                                              const ON_3dPoint* points, double knot_delta) {
  if (!points || !(knot_delta > 0.0) || dimension < 1 || dimension > 3) return false;
  if (!Create(dimension, false, order, point_count)) return false;
  for (int i = 0; i < point_count; ++i) SetCV(i, points[i]);
  const int d = order - 1;
  const double end = (point_count - d) * knot_delta;
  for (int i = 0; i < KnotCount(); ++i) {
    const double k = (i - d + 1) * knot_delta;
    m_knot[i] = std::clamp(k, 0.0, end);
  }
  return true;
}

bool ON_NurbsCurve::CreatePeriodicUniformNurbs(int dimension, int order, int point_count,
                                               const ON_3dPoint* points, double knot_delta) {
  if (!points || !(knot_delta > 0.0) || dimension < 1 || dimension > 3 || order < 2 ||
      point_count < 2 || point_count < order - 1)
    return false;
  const int d = order - 1;
  if (!Create(dimension, false, order, point_count + d)) return false;
  for (int i = 0; i < point_count + d; ++i) SetCV(i, points[i % point_count]);
  for (int i = 0; i < KnotCount(); ++i) m_knot[i] = (i - d + 1) * knot_delta;
  return true;
}

bool ON_NurbsCurve::IsValid(ON_TextLog* log) const {
  if (!UsableCurve(*this)) {
    if (log) log->Print("ON_NurbsCurve: dimension, order, CV count or arrays are not usable.\n");
    return false;
  }
  const int k = KnotCount();
  for (int i = 1; i < k; ++i)
    if (!(m_knot[i - 1] <= m_knot[i])) {
      if (log) log->Print("ON_NurbsCurve: knots decrease at %d.\n", i);
      return false;
    }
  if (!(m_knot[m_order - 2] < m_knot[m_cv_count - 1])) {
    if (log) log->Print("ON_NurbsCurve: the domain is empty.\n");
    return false;
  }
  for (int i = 0; i + m_order - 1 < k; ++i)
    if (m_knot[i] == m_knot[i + m_order - 1]) {
      if (log) log->Print("ON_NurbsCurve: a knot has multiplicity above the degree.\n");
      return false;
    }
  for (int i = 0; i < m_cv_count * m_cv_stride; ++i)
    if (!std::isfinite(m_cv[i])) {
      if (log) log->Print("ON_NurbsCurve: a CV is not finite.\n");
      return false;
    }
  return true;
}

double* ON_NurbsCurve::CV(int i) const {
  if (!m_cv || i < 0 || i >= m_cv_count) return nullptr;
  return m_cv + static_cast<size_t>(i) * m_cv_stride;
}

bool ON_NurbsCurve::SetCV(int i, const ON_3dPoint& p) {
  double* c = CV(i);
  if (!c) return false;
  for (int k = 0; k < m_dim; ++k) c[k] = k < 3 ? p[k] : 0.0;
  if (m_is_rat) c[m_dim] = 1.0;
  return true;
}

bool ON_NurbsCurve::SetCV(int i, const ON_4dPoint& p) {
  double* c = CV(i);
  if (!c) return false;
  if (m_is_rat) {
    for (int k = 0; k < m_dim; ++k) c[k] = k < 3 ? p[k] : 0.0;
    c[m_dim] = p.w;
  } else {
    const double s = p.w != 0.0 ? 1.0 / p.w : 1.0;
    for (int k = 0; k < m_dim; ++k) c[k] = k < 3 ? p[k] * s : 0.0;
  }
  return true;
}

bool ON_NurbsCurve::GetCV(int i, ON_3dPoint& p) const {
  const double* c = CV(i);
  if (!c) return false;
  double s = 1.0;
  if (m_is_rat) {
    if (c[m_dim] == 0.0) return false;
    s = 1.0 / c[m_dim];
  }
  p.Set(c[0] * s, m_dim > 1 ? c[1] * s : 0.0, m_dim > 2 ? c[2] * s : 0.0);
  return true;
}

bool ON_NurbsCurve::GetCV(int i, ON_4dPoint& p) const {
  const double* c = CV(i);
  if (!c) return false;
  p.x = c[0];
  p.y = m_dim > 1 ? c[1] : 0.0;
  p.z = m_dim > 2 ? c[2] : 0.0;
  p.w = m_is_rat ? c[m_dim] : 1.0;
  return true;
}

double ON_NurbsCurve::Weight(int i) const {
  const double* c = CV(i);
  return (c && m_is_rat) ? c[m_dim] : 1.0;
}

bool ON_NurbsCurve::SetWeight(int i, double w) {
  double* c = CV(i);
  if (!c) return false;
  if (!m_is_rat) {
    if (w == 1.0) return true;
    MakeRational();
    c = CV(i);
  }
  // Keeps the Euclidean location.
  const double old = c[m_dim];
  const double s = old != 0.0 ? w / old : 0.0;
  for (int k = 0; k < m_dim; ++k) c[k] *= s;
  c[m_dim] = w;
  return true;
}

double ON_NurbsCurve::Knot(int i) const {
  return (m_knot && i >= 0 && i < KnotCount()) ? m_knot[i] : 0.0;
}

bool ON_NurbsCurve::SetKnot(int i, double v) {
  if (!m_knot || i < 0 || i >= KnotCount()) return false;
  m_knot[i] = v;
  return true;
}

int ON_NurbsCurve::KnotMultiplicity(int i) const {
  const int k = KnotCount();
  if (i < 0 || i >= k) return 0;
  int m = 1;
  for (int j = i + 1; j < k && m_knot[j] == m_knot[i]; ++j) ++m;
  for (int j = i - 1; j >= 0 && m_knot[j] == m_knot[i]; --j) ++m;
  return m;
}

bool ON_NurbsCurve::MakeRational() {
  if (m_is_rat) return true;
  if (!UsableCurve(*this)) return false;
  on_bspline::Spline s = ToSpline(*this);
  on_bspline::MakeRational(s);
  FromSpline(s, *this);
  return true;
}

bool ON_NurbsCurve::MakeNonRational() {
  if (!m_is_rat) return true;
  if (!UsableCurve(*this)) return false;
  // Only when every weight is the same, so the shape stays.
  const double w0 = Weight(0);
  for (int i = 1; i < m_cv_count; ++i)
    if (Weight(i) != w0) return false;
  if (w0 == 0.0) return false;
  ON_NurbsCurve c(m_dim, false, m_order, m_cv_count);
  std::copy(m_knot, m_knot + KnotCount(), c.m_knot);
  for (int i = 0; i < m_cv_count; ++i)
    for (int k = 0; k < m_dim; ++k) c.CV(i)[k] = CV(i)[k] / w0;
  *this = std::move(c);
  return true;
}

bool ON_NurbsCurve::ZeroCVs() {
  if (!m_cv) return false;
  for (int i = 0; i < m_cv_count; ++i) {
    double* c = CV(i);
    std::fill(c, c + m_dim, 0.0);
    if (m_is_rat) c[m_dim] = 1.0;
  }
  return true;
}

ON_Interval ON_NurbsCurve::Domain() const {
  if (!UsableCurve(*this)) return ON_Interval();
  return ON_Interval(m_knot[m_order - 2], m_knot[m_cv_count - 1]);
}

bool ON_NurbsCurve::SetDomain(double t0, double t1) {
  if (!(t0 < t1) || !UsableCurve(*this)) return false;
  const ON_Interval d = Domain();
  if (!(d[0] < d[1])) return false;
  if (d[0] == t0 && d[1] == t1) return true;
  const double s = (t1 - t0) / (d[1] - d[0]);
  for (int i = 0; i < KnotCount(); ++i) {
    if (m_knot[i] == d[0]) m_knot[i] = t0;
    else if (m_knot[i] == d[1]) m_knot[i] = t1;
    else m_knot[i] = t0 + (m_knot[i] - d[0]) * s;
  }
  return true;
}

int ON_NurbsCurve::SpanCount() const {
  if (!UsableCurve(*this)) return 0;
  int n = 0;
  for (int i = m_order - 2; i < m_cv_count - 1; ++i)
    if (m_knot[i] < m_knot[i + 1]) ++n;
  return n;
}

bool ON_NurbsCurve::GetSpanVector(double* s) const {
  if (!s || !UsableCurve(*this)) return false;
  int n = 0;
  s[n++] = m_knot[m_order - 2];
  for (int i = m_order - 2; i < m_cv_count - 1; ++i)
    if (m_knot[i] < m_knot[i + 1]) s[n++] = m_knot[i + 1];
  return true;
}

bool ON_NurbsCurve::Evaluate(double t, int der_count, int v_stride, double* v, int side,
                             int*) const {
  if (!UsableCurve(*this) || !v) return false;
  return on_bspline::Evaluate(m_dim, m_is_rat != 0, m_order, m_cv_count, m_knot, m_cv,
                              m_cv_stride, t, der_count, v_stride, v, side);
}

bool ON_NurbsCurve::Transform(const ON_Xform& xform) {
  if (!UsableCurve(*this)) return false;
  const bool projective = xform.m_xform[3][0] != 0.0 || xform.m_xform[3][1] != 0.0 ||
                          xform.m_xform[3][2] != 0.0 || xform.m_xform[3][3] != 1.0;
  if (projective && !m_is_rat) MakeRational();
  for (int i = 0; i < m_cv_count; ++i) {
    ON_4dPoint p;
    GetCV(i, p);
    if (m_dim < 3) p.z = 0.0;
    if (m_dim < 2) p.y = 0.0;
    const ON_4dPoint q = xform * p;
    if (m_is_rat) {
      SetCV(i, q);
    } else {
      double* c = CV(i);
      for (int k = 0; k < m_dim && k < 3; ++k) c[k] = q[k];
    }
  }
  return true;
}

bool ON_NurbsCurve::Reverse() {
  if (!UsableCurve(*this)) return false;
  const int k = KnotCount();
  std::reverse(m_knot, m_knot + k);
  for (int i = 0; i < k; ++i) m_knot[i] = -m_knot[i];
  const int cvs = CVSize();
  for (int i = 0, j = m_cv_count - 1; i < j; ++i, --j)
    std::swap_ranges(CV(i), CV(i) + cvs, CV(j));
  return true;
}

int ON_NurbsCurve::GetNurbForm(ON_NurbsCurve& out, double, const ON_Interval* subdomain) const {
  if (!UsableCurve(*this)) return 0;
  if (&out != this) out = *this;
  if (subdomain && !out.Trim(*subdomain)) return 0;
  return 1;
}

bool ON_NurbsCurve::Trim(const ON_Interval& in) {
  if (!UsableCurve(*this)) return false;
  ON_Interval t = in;
  if (!t.MakeIncreasing()) return false;
  const ON_Interval d = Domain();
  if (t[0] < d[0]) t[0] = d[0];
  if (t[1] > d[1]) t[1] = d[1];
  if (!(t[0] < t[1])) return false;
  on_bspline::Spline s = ToSpline(*this);
  if (!on_bspline::Trim(s, t[0], t[1])) return false;
  FromSpline(s, *this);
  return true;
}

bool ON_NurbsCurve::ClampEnd(int end) {
  // Clamping to the domain leaves the shape over the domain unchanged; both
  // ends are clamped whichever is asked for.
  if (!UsableCurve(*this) || end < 0 || end > 2) return false;
  if (IsClamped(2)) return true;
  const ON_Interval d = Domain();
  on_bspline::Spline s = ToSpline(*this);
  if (!on_bspline::Trim(s, d[0], d[1])) return false;
  FromSpline(s, *this);
  return true;
}

bool ON_NurbsCurve::IsClamped(int end) const {
  if (!UsableCurve(*this)) return false;
  const int d = Degree();
  const int k = KnotCount();
  const bool start = m_knot[0] == m_knot[d - 1];
  const bool stop = m_knot[k - d] == m_knot[k - 1];
  if (end == 0) return start;
  if (end == 1) return stop;
  return start && stop;
}

bool ON_NurbsCurve::IncreaseDegree(int desired_degree) {
  if (!UsableCurve(*this) || desired_degree < Degree()) return false;
  if (desired_degree == Degree()) return true;
  on_bspline::Spline s = ToSpline(*this);
  if (!on_bspline::IncreaseDegree(s, desired_degree)) return false;
  FromSpline(s, *this);
  return true;
}

bool ON_NurbsCurve::InsertKnot(double v, int mult) {
  if (!UsableCurve(*this)) return false;
  on_bspline::Spline s = ToSpline(*this);
  if (!on_bspline::InsertKnot(s, v, mult)) return false;
  FromSpline(s, *this);
  return true;
}

bool ON_NurbsCurve::ChangeDimension(int desired_dimension) {
  if (!UsableCurve(*this) || desired_dimension < 1) return false;
  if (desired_dimension == m_dim) return true;
  ON_NurbsCurve c(desired_dimension, m_is_rat != 0, m_order, m_cv_count);
  std::copy(m_knot, m_knot + KnotCount(), c.m_knot);
  for (int i = 0; i < m_cv_count; ++i) {
    for (int k = 0; k < desired_dimension && k < m_dim; ++k) c.CV(i)[k] = CV(i)[k];
    if (m_is_rat) c.CV(i)[desired_dimension] = CV(i)[m_dim];
  }
  *this = std::move(c);
  return true;
}

bool ON_NurbsCurve::Append(const ON_NurbsCurve& other_in) {
  if (!UsableCurve(*this) || !UsableCurve(other_in)) return false;
  ON_NurbsCurve a(*this), b(other_in);
  const int dim = std::max(a.m_dim, b.m_dim);
  a.ChangeDimension(dim);
  b.ChangeDimension(dim);
  if (!a.ClampEnd(2) || !b.ClampEnd(2)) return false;
  const int degree = std::max(a.Degree(), b.Degree());
  if (!a.IncreaseDegree(degree) || !b.IncreaseDegree(degree)) return false;
  if (a.m_is_rat || b.m_is_rat) {
    a.MakeRational();
    b.MakeRational();
  }
  const ON_3dPoint end = a.PointAtEnd(), start = b.PointAtStart();
  const double scale = std::max({1.0, end.MaximumCoordinate(), start.MaximumCoordinate()});
  if (end.DistanceTo(start) > ON_SQRT_EPSILON * scale) return false;
  const ON_Interval da = a.Domain(), db = b.Domain();
  if (!b.SetDomain(da[1], da[1] + db.Length())) return false;
  if (a.m_is_rat) {
    // Same weight on both sides of the joint, so the shared CV serves both.
    const double wa = a.Weight(a.m_cv_count - 1), wb = b.Weight(0);
    if (wa == 0.0 || wb == 0.0) return false;
    const double f = wa / wb;
    for (int i = 0; i < b.m_cv_count; ++i)
      for (int k = 0; k <= dim; ++k) b.CV(i)[k] *= f;
  }
  const int d = degree;
  ON_NurbsCurve c(dim, a.m_is_rat != 0, d + 1, a.m_cv_count + b.m_cv_count - 1);
  const int cvs = c.CVSize();
  for (int i = 0; i < a.m_cv_count; ++i) std::memcpy(c.CV(i), a.CV(i), sizeof(double) * cvs);
  for (int i = 1; i < b.m_cv_count; ++i)
    std::memcpy(c.CV(a.m_cv_count - 1 + i), b.CV(i), sizeof(double) * cvs);
  int k = 0;
  for (int i = 0; i < a.KnotCount(); ++i) c.m_knot[k++] = a.m_knot[i];
  for (int i = d; i < b.KnotCount(); ++i) c.m_knot[k++] = b.m_knot[i];
  *this = std::move(c);
  return true;
}

bool ON_NurbsCurve::IsClosed() const {
  if (IsPeriodic()) return true;
  if (!UsableCurve(*this) || m_cv_count < 4) return false;
  return ON_Curve::IsClosed();
}

bool ON_NurbsCurve::IsPeriodic() const {
  // Degree 1 curves are never periodic; otherwise the knot spacing wraps
  // around the domain and the first degree CVs repeat at the end.
  if (!UsableCurve(*this) || m_order <= 2) return false;
  const int d = Degree(), n = m_cv_count;
  if (n < 2 * d) return false;
  const double period = m_knot[n - 1] - m_knot[d - 1];
  if (!(period > 0.0)) return false;
  const double tol = ON_SQRT_EPSILON * period;
  for (int j = 0; j + n - d < KnotCount(); ++j)
    if (std::fabs((m_knot[j + n - d] - m_knot[j]) - period) > tol) return false;
  const int cvs = CVSize();
  for (int i = 0; i < d; ++i) {
    const double* a = CV(i);
    const double* b = CV(n - d + i);
    for (int k = 0; k < cvs; ++k)
      if (std::fabs(a[k] - b[k]) > ON_ZERO_TOLERANCE * std::max(1.0, std::fabs(a[k]))) return false;
  }
  return true;
}

bool ON_NurbsCurve::IsLinear(double tolerance) const {
  if (!UsableCurve(*this)) return false;
  std::vector<ON_3dPoint> cvs(static_cast<size_t>(m_cv_count));
  for (int i = 0; i < m_cv_count; ++i)
    if (!GetCV(i, cvs[static_cast<size_t>(i)])) return false;
  return on_curve_shape::PointsAreLinear(PointAtStart(), PointAtEnd(), cvs, tolerance);
}

bool ON_NurbsCurve::IsArc(const ON_Plane* plane, ON_Arc* arc, double tolerance) const {
  if (!UsableCurve(*this) || m_order < 3) return false;
  return on_curve_shape::CurveIsArc(*this, plane, arc, tolerance);
}

int ON_NurbsCurve::IsPolyline(ON_SimpleArray<ON_3dPoint>* points, ON_SimpleArray<double>* params) const {
  if (points) points->Empty();
  if (params) params->Empty();
  if (!UsableCurve(*this) || !IsValid()) return 0;
  ON_3dPointArray pts;
  ON_SimpleArray<double> ts;
  if (m_order == 2) {
    for (int i = 0; i < m_cv_count; ++i) {
      ON_3dPoint p;
      if (!GetCV(i, p)) return 0;
      pts.Append(p);
      ts.Append(m_knot[i]);
    }
  } else {
    // Higher degree: a polyline when every span is a straight Bezier piece,
    // meeting with full multiplicity knots.
    on_bspline::Spline s = ToSpline(*this);
    if (!on_bspline::MakeBezierSpans(s)) return 0;
    const int d = s.degree();
    const int spans = (s.cv_count - 1) / d;
    auto euclid = [&](int i, ON_3dPoint& p) {
      const double* c = s.CV(i);
      const double w = s.is_rat ? c[s.dim] : 1.0;
      if (w == 0.0) return false;
      p.Set(c[0] / w, s.dim > 1 ? c[1] / w : 0.0, s.dim > 2 ? c[2] / w : 0.0);
      return true;
    };
    // A span of the original curve with only the C0 knots of the original
    // curve: interior knots of full multiplicity in the original.
    for (int sp = 0; sp < spans; ++sp) {
      std::vector<ON_3dPoint> b(static_cast<size_t>(d + 1));
      for (int i = 0; i <= d; ++i)
        if (!euclid(sp * d + i, b[static_cast<size_t>(i)])) return 0;
      const double scale = std::max({1.0, b.front().MaximumCoordinate(), b.back().MaximumCoordinate()});
      if (!on_curve_shape::PointsAreLinear(b.front(), b.back(), b, ON_ZERO_TOLERANCE * scale)) return 0;
      if (sp == 0) {
        pts.Append(b.front());
        ts.Append(s.knot[static_cast<size_t>(sp * d)]);
      }
      pts.Append(b.back());
      ts.Append(s.knot[static_cast<size_t>((sp + 1) * d)]);
    }
  }
  if (pts.Count() < 2) return 0;
  if (points) *points = pts;
  if (params) *params = ts;
  return pts.Count();
}

bool ON_NurbsCurve::IsPlanar(ON_Plane* plane, double tolerance) const {
  if (!UsableCurve(*this)) return false;
  std::vector<ON_3dPoint> cvs(static_cast<size_t>(m_cv_count));
  for (int i = 0; i < m_cv_count; ++i)
    if (!GetCV(i, cvs[static_cast<size_t>(i)])) return false;
  return on_curve_shape::PointsArePlanar(cvs, plane, tolerance);
}
