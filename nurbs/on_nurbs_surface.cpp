#include "on_nurbs_surface.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "internal/bspline.h"
#include "internal/curve_shape.h"
#include "on_plane.h"
#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_NurbsSurface, ON_Surface)

namespace {
bool Usable(const ON_NurbsSurface& s) {
  return s.m_dim > 0 && s.m_order[0] >= 2 && s.m_order[1] >= 2 && s.m_cv_count[0] >= s.m_order[0] &&
         s.m_cv_count[1] >= s.m_order[1] && s.m_knot[0] && s.m_knot[1] && s.m_cv;
}
}  // namespace

ON_NurbsSurface::ON_NurbsSurface(int dim, bool is_rat, int o0, int o1, int c0, int c1) {
  Create(dim, is_rat, o0, o1, c0, c1);
}

ON_NurbsSurface::ON_NurbsSurface(const ON_NurbsSurface& src) : ON_Surface(src) { *this = src; }

ON_NurbsSurface& ON_NurbsSurface::operator=(const ON_NurbsSurface& src) {
  if (this == &src) return *this;
  ON_Surface::operator=(src);
  if (!Usable(src)) {
    Destroy();
    return *this;
  }
  Create(src.m_dim, src.m_is_rat != 0, src.m_order[0], src.m_order[1], src.m_cv_count[0],
         src.m_cv_count[1]);
  for (int d = 0; d < 2; ++d) std::copy(src.m_knot[d], src.m_knot[d] + KnotCount(d), m_knot[d]);
  const int cvs = CVSize();
  for (int i = 0; i < m_cv_count[0]; ++i)
    for (int j = 0; j < m_cv_count[1]; ++j) std::memcpy(CV(i, j), src.CV(i, j), sizeof(double) * cvs);
  return *this;
}

ON_NurbsSurface::~ON_NurbsSurface() { Destroy(); }

void ON_NurbsSurface::Destroy() {
  for (int d = 0; d < 2; ++d) {
    delete[] m_knot[d];
    m_knot[d] = nullptr;
    m_knot_capacity[d] = 0;
    m_order[d] = m_cv_count[d] = m_cv_stride[d] = 0;
  }
  delete[] m_cv;
  m_cv = nullptr;
  m_cv_capacity = 0;
  m_dim = m_is_rat = 0;
}

bool ON_NurbsSurface::Create(int dim, bool is_rat, int o0, int o1, int c0, int c1) {
  Destroy();
  if (dim < 1 || dim > 64 || o0 < 2 || o1 < 2 || o0 > 64 || o1 > 64 || c0 < o0 || c1 < o1 ||
      static_cast<long long>(c0) * c1 * (dim + 1) > (1LL << 27))
    return false;
  m_dim = dim;
  m_is_rat = is_rat ? 1 : 0;
  m_order[0] = o0;
  m_order[1] = o1;
  m_cv_count[0] = c0;
  m_cv_count[1] = c1;
  for (int d = 0; d < 2; ++d) {
    m_knot_capacity[d] = KnotCount(d);
    m_knot[d] = new double[static_cast<size_t>(m_knot_capacity[d])]();
  }
  m_cv_stride[1] = CVSize();
  m_cv_stride[0] = CVSize() * c1;
  m_cv_capacity = CVSize() * c0 * c1;
  m_cv = new double[static_cast<size_t>(m_cv_capacity)]();
  if (m_is_rat)
    for (int i = 0; i < c0; ++i)
      for (int j = 0; j < c1; ++j) CV(i, j)[m_dim] = 1.0;
  return true;
}

int ON_NurbsSurface::KnotCount(int dir) const {
  const int d = dir ? 1 : 0;
  return (m_order[d] >= 2 && m_cv_count[d] >= m_order[d]) ? m_order[d] + m_cv_count[d] - 2 : 0;
}

bool ON_NurbsSurface::MakeClampedUniformKnotVector(int dir, double delta) {
  const int d = dir ? 1 : 0;
  if (!m_knot[d] || !(delta > 0.0)) return false;
  const int deg = m_order[d] - 1;
  const double end = (m_cv_count[d] - deg) * delta;
  for (int i = 0; i < KnotCount(d); ++i) m_knot[d][i] = std::clamp((i - deg + 1) * delta, 0.0, end);
  return true;
}

bool ON_NurbsSurface::IsValid(ON_TextLog* log) const {
  if (!Usable(*this)) {
    if (log) log->Print("ON_NurbsSurface: sizes or arrays are not usable.\n");
    return false;
  }
  for (int d = 0; d < 2; ++d) {
    for (int i = 1; i < KnotCount(d); ++i)
      if (!(m_knot[d][i - 1] <= m_knot[d][i])) {
        if (log) log->Print("ON_NurbsSurface: knots decrease in direction %d.\n", d);
        return false;
      }
    if (!Domain(d).IsIncreasing()) {
      if (log) log->Print("ON_NurbsSurface: empty domain in direction %d.\n", d);
      return false;
    }
  }
  return true;
}

double* ON_NurbsSurface::CV(int i, int j) const {
  if (!m_cv || i < 0 || j < 0 || i >= m_cv_count[0] || j >= m_cv_count[1]) return nullptr;
  return m_cv + static_cast<size_t>(i) * m_cv_stride[0] + static_cast<size_t>(j) * m_cv_stride[1];
}

bool ON_NurbsSurface::SetCV(int i, int j, const ON_3dPoint& p) {
  double* c = CV(i, j);
  if (!c) return false;
  for (int k = 0; k < m_dim; ++k) c[k] = k < 3 ? p[k] : 0.0;
  if (m_is_rat) c[m_dim] = 1.0;
  return true;
}

bool ON_NurbsSurface::SetCV(int i, int j, const ON_4dPoint& p) {
  double* c = CV(i, j);
  if (!c) return false;
  const double s = (m_is_rat || p.w == 0.0) ? 1.0 : 1.0 / p.w;
  for (int k = 0; k < m_dim; ++k) c[k] = k < 3 ? p[k] * s : 0.0;
  if (m_is_rat) c[m_dim] = p.w;
  return true;
}

bool ON_NurbsSurface::GetCV(int i, int j, ON_3dPoint& p) const {
  const double* c = CV(i, j);
  if (!c) return false;
  double s = 1.0;
  if (m_is_rat) {
    if (c[m_dim] == 0.0) return false;
    s = 1.0 / c[m_dim];
  }
  p.Set(c[0] * s, m_dim > 1 ? c[1] * s : 0.0, m_dim > 2 ? c[2] * s : 0.0);
  return true;
}

bool ON_NurbsSurface::GetCV(int i, int j, ON_4dPoint& p) const {
  const double* c = CV(i, j);
  if (!c) return false;
  p.x = c[0];
  p.y = m_dim > 1 ? c[1] : 0.0;
  p.z = m_dim > 2 ? c[2] : 0.0;
  p.w = m_is_rat ? c[m_dim] : 1.0;
  return true;
}

double ON_NurbsSurface::Weight(int i, int j) const {
  const double* c = CV(i, j);
  return (c && m_is_rat) ? c[m_dim] : 1.0;
}

bool ON_NurbsSurface::SetWeight(int i, int j, double w) {
  if (!CV(i, j)) return false;
  if (!m_is_rat) {
    if (w == 1.0) return true;
    MakeRational();
  }
  double* c = CV(i, j);
  const double s = c[m_dim] != 0.0 ? w / c[m_dim] : 0.0;
  for (int k = 0; k < m_dim; ++k) c[k] *= s;
  c[m_dim] = w;
  return true;
}

double ON_NurbsSurface::Knot(int dir, int i) const {
  const int d = dir ? 1 : 0;
  return (m_knot[d] && i >= 0 && i < KnotCount(d)) ? m_knot[d][i] : 0.0;
}

bool ON_NurbsSurface::SetKnot(int dir, int i, double v) {
  const int d = dir ? 1 : 0;
  if (!m_knot[d] || i < 0 || i >= KnotCount(d)) return false;
  m_knot[d][i] = v;
  return true;
}

bool ON_NurbsSurface::MakeRational() {
  if (m_is_rat) return true;
  if (!Usable(*this)) return false;
  ON_NurbsSurface r(m_dim, true, m_order[0], m_order[1], m_cv_count[0], m_cv_count[1]);
  for (int d = 0; d < 2; ++d) std::copy(m_knot[d], m_knot[d] + KnotCount(d), r.m_knot[d]);
  for (int i = 0; i < m_cv_count[0]; ++i)
    for (int j = 0; j < m_cv_count[1]; ++j) {
      std::memcpy(r.CV(i, j), CV(i, j), sizeof(double) * m_dim);
      r.CV(i, j)[m_dim] = 1.0;
    }
  *this = r;
  return true;
}

bool ON_NurbsSurface::Transform(const ON_Xform& xform) {
  if (!Usable(*this)) return false;
  const bool projective = xform.m_xform[3][0] != 0.0 || xform.m_xform[3][1] != 0.0 ||
                          xform.m_xform[3][2] != 0.0 || xform.m_xform[3][3] != 1.0;
  if (projective) MakeRational();
  for (int i = 0; i < m_cv_count[0]; ++i)
    for (int j = 0; j < m_cv_count[1]; ++j) {
      ON_4dPoint p;
      GetCV(i, j, p);
      const ON_4dPoint q = xform * p;
      double* c = CV(i, j);
      for (int k = 0; k < m_dim && k < 3; ++k) c[k] = q[k];
      if (m_is_rat) c[m_dim] = q.w;
    }
  return true;
}

ON_Interval ON_NurbsSurface::Domain(int dir) const {
  const int d = dir ? 1 : 0;
  if (!Usable(*this)) return ON_Interval();
  return ON_Interval(m_knot[d][m_order[d] - 2], m_knot[d][m_cv_count[d] - 1]);
}

bool ON_NurbsSurface::SetDomain(int dir, double t0, double t1) {
  const int d = dir ? 1 : 0;
  const ON_Interval old = Domain(d);
  if (!(t0 < t1) || !old.IsIncreasing()) return false;
  for (int i = 0; i < KnotCount(d); ++i)
    m_knot[d][i] = t0 + (t1 - t0) * old.NormalizedParameterAt(m_knot[d][i]);
  return true;
}

int ON_NurbsSurface::SpanCount(int dir) const {
  const int d = dir ? 1 : 0;
  if (!Usable(*this)) return 0;
  int n = 0;
  for (int i = m_order[d] - 2; i < m_cv_count[d] - 1; ++i)
    if (m_knot[d][i] < m_knot[d][i + 1]) ++n;
  return n;
}

bool ON_NurbsSurface::GetSpanVector(int dir, double* s) const {
  const int d = dir ? 1 : 0;
  if (!s || !Usable(*this)) return false;
  int n = 0;
  s[n++] = m_knot[d][m_order[d] - 2];
  for (int i = m_order[d] - 2; i < m_cv_count[d] - 1; ++i)
    if (m_knot[d][i] < m_knot[d][i + 1]) s[n++] = m_knot[d][i + 1];
  return true;
}

int ON_NurbsSurface::Degree(int dir) const { return m_order[dir ? 1 : 0] - 1; }

bool ON_NurbsSurface::Evaluate(double s, double t, int der_count, int v_stride, double* v, int side,
                               int*) const {
  if (!Usable(*this) || !v || der_count < 0 || der_count > 1 || v_stride < m_dim) return false;
  const int o0 = m_order[0], o1 = m_order[1];
  const int s0 = on_bspline::FindSpan(o0, m_cv_count[0], m_knot[0], s, side);
  const int s1 = on_bspline::FindSpan(o1, m_cv_count[1], m_knot[1], t, side);
  if (s0 < 0 || s1 < 0) return false;
  std::vector<double> b0(static_cast<size_t>(2 * o0)), b1(static_cast<size_t>(2 * o1));
  on_bspline::BasisDerivatives(o0, m_knot[0] + s0, s, 1, b0.data());
  on_bspline::BasisDerivatives(o1, m_knot[1] + s1, t, 1, b1.data());
  const int cvs = CVSize();
  // Homogeneous S, S_s, S_t.
  std::vector<double> h(static_cast<size_t>(3 * cvs), 0.0);
  for (int i = 0; i < o0; ++i)
    for (int j = 0; j < o1; ++j) {
      const double* c = CV(s0 + i, s1 + j);
      const double n00 = b0[static_cast<size_t>(i)] * b1[static_cast<size_t>(j)];
      const double n10 = b0[static_cast<size_t>(o0 + i)] * b1[static_cast<size_t>(j)];
      const double n01 = b0[static_cast<size_t>(i)] * b1[static_cast<size_t>(o1 + j)];
      for (int k = 0; k < cvs; ++k) {
        h[static_cast<size_t>(k)] += n00 * c[k];
        h[static_cast<size_t>(cvs + k)] += n10 * c[k];
        h[static_cast<size_t>(2 * cvs + k)] += n01 * c[k];
      }
    }
  const double w = m_is_rat ? h[static_cast<size_t>(m_dim)] : 1.0;
  if (w == 0.0) return false;
  for (int k = 0; k < m_dim; ++k) v[k] = h[static_cast<size_t>(k)] / w;
  if (der_count == 1) {
    const double ws = m_is_rat ? h[static_cast<size_t>(cvs + m_dim)] : 0.0;
    const double wt = m_is_rat ? h[static_cast<size_t>(2 * cvs + m_dim)] : 0.0;
    for (int k = 0; k < m_dim; ++k) {
      v[v_stride + k] = (h[static_cast<size_t>(cvs + k)] - ws * v[k]) / w;
      v[2 * v_stride + k] = (h[static_cast<size_t>(2 * cvs + k)] - wt * v[k]) / w;
    }
  }
  return true;
}

bool ON_NurbsSurface::IsPlanar(ON_Plane* plane, double tolerance) const {
  if (!Usable(*this)) return false;
  std::vector<ON_3dPoint> pts;
  for (int i = 0; i < m_cv_count[0]; ++i)
    for (int j = 0; j < m_cv_count[1]; ++j) {
      ON_3dPoint p;
      if (!GetCV(i, j, p)) return false;
      pts.push_back(p);
    }
  return on_curve_shape::PointsArePlanar(pts, plane, tolerance);
}

bool ON_NurbsSurface::Transpose() {
  if (!Usable(*this)) return false;
  ON_NurbsSurface t(m_dim, m_is_rat != 0, m_order[1], m_order[0], m_cv_count[1], m_cv_count[0]);
  std::copy(m_knot[0], m_knot[0] + KnotCount(0), t.m_knot[1]);
  std::copy(m_knot[1], m_knot[1] + KnotCount(1), t.m_knot[0]);
  for (int i = 0; i < m_cv_count[0]; ++i)
    for (int j = 0; j < m_cv_count[1]; ++j) std::memcpy(t.CV(j, i), CV(i, j), sizeof(double) * CVSize());
  *this = t;
  return true;
}

bool ON_NurbsSurface::Reverse(int dir) {
  const int d = dir ? 1 : 0;
  if (!Usable(*this)) return false;
  const int k = KnotCount(d);
  std::reverse(m_knot[d], m_knot[d] + k);
  for (int i = 0; i < k; ++i) m_knot[d][i] = -m_knot[d][i];
  const int cvs = CVSize();
  for (int a = 0; a < m_cv_count[1 - d]; ++a)
    for (int i = 0, j = m_cv_count[d] - 1; i < j; ++i, --j) {
      double* p = d == 0 ? CV(i, a) : CV(a, i);
      double* q = d == 0 ? CV(j, a) : CV(a, j);
      std::swap_ranges(p, p + cvs, q);
    }
  return true;
}

int ON_NurbsSurface::GetNurbForm(ON_NurbsSurface& out, double) const {
  if (!Usable(*this)) return 0;
  if (&out != this) out = *this;
  return 1;
}
