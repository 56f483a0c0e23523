#include "on_rev_surface.h"

#include <algorithm>
#include <vector>

#include "on_analytic_surfaces.h"
#include "on_curve.h"
#include "on_nurbs_curve.h"
#include "on_nurbs_surface.h"
#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_RevSurface, ON_Surface)

ON_RevSurface::ON_RevSurface(const ON_RevSurface& src)
    : ON_Surface(src), m_curve(src.m_curve ? src.m_curve->Duplicate() : nullptr), m_axis(src.m_axis),
      m_angle(src.m_angle), m_t(src.m_t), m_bTransposed(src.m_bTransposed) {}

ON_RevSurface& ON_RevSurface::operator=(const ON_RevSurface& src) {
  if (this != &src) {
    ON_Surface::operator=(src);
    ON_Curve* c = src.m_curve ? src.m_curve->Duplicate() : nullptr;
    delete m_curve;
    m_curve = c;
    m_axis = src.m_axis;
    m_angle = src.m_angle;
    m_t = src.m_t;
    m_bTransposed = src.m_bTransposed;
  }
  return *this;
}

ON_RevSurface::~ON_RevSurface() { Destroy(); }

void ON_RevSurface::Destroy() {
  delete m_curve;
  m_curve = nullptr;
}

bool ON_RevSurface::Create(ON_Curve* curve, const ON_Line& axis, const ON_Interval& angle) {
  if (curve != m_curve) {
    delete m_curve;
    m_curve = curve;
  }
  m_axis = axis;
  m_angle = angle;
  m_t = angle;
  m_bTransposed = false;
  return IsValid();
}

bool ON_RevSurface::IsValid(ON_TextLog* log) const {
  if (!m_curve || !m_curve->IsValid(log)) {
    if (log) log->Print("ON_RevSurface: no valid profile curve.\n");
    return false;
  }
  const double a = m_angle.Length();
  if (!m_axis.IsValid() || !(a > 0.0) || a > 2.0 * ON_PI + ON_ZERO_TOLERANCE || !m_t.IsIncreasing()) {
    if (log) log->Print("ON_RevSurface: axis, angle or domain not valid.\n");
    return false;
  }
  return true;
}

bool ON_RevSurface::Transform(const ON_Xform& xform) {
  if (!m_curve) return false;
  m_axis.Transform(xform);
  return m_curve->Transform(xform);
}

ON_Interval ON_RevSurface::Domain(int dir) const {
  const bool angle_dir = (dir ? 1 : 0) == (m_bTransposed ? 1 : 0);
  if (angle_dir) return m_t;
  return m_curve ? m_curve->Domain() : ON_Interval();
}

bool ON_RevSurface::SetDomain(int dir, double t0, double t1) {
  if (!(t0 < t1)) return false;
  const bool angle_dir = (dir ? 1 : 0) == (m_bTransposed ? 1 : 0);
  if (angle_dir) {
    m_t.Set(t0, t1);
    return true;
  }
  return m_curve && m_curve->SetDomain(t0, t1);
}

int ON_RevSurface::SpanCount(int dir) const {
  const bool angle_dir = (dir ? 1 : 0) == (m_bTransposed ? 1 : 0);
  if (angle_dir) return 1;
  return m_curve ? m_curve->SpanCount() : 0;
}

bool ON_RevSurface::GetSpanVector(int dir, double* s) const {
  if (!s) return false;
  const bool angle_dir = (dir ? 1 : 0) == (m_bTransposed ? 1 : 0);
  if (angle_dir) {
    s[0] = m_t[0];
    s[1] = m_t[1];
    return true;
  }
  return m_curve && m_curve->GetSpanVector(s);
}

int ON_RevSurface::Degree(int dir) const {
  const bool angle_dir = (dir ? 1 : 0) == (m_bTransposed ? 1 : 0);
  if (angle_dir) return 2;
  return m_curve ? m_curve->Degree() : 0;
}

bool ON_RevSurface::Evaluate(double s, double t, int der_count, int v_stride, double* v, int side,
                             int* hint) const {
  if (!m_curve || !v || der_count < 0 || der_count > 1 || v_stride < 3 || !m_t.IsInterval()) return false;
  if (m_bTransposed) std::swap(s, t);
  const double angle = m_angle.ParameterAt(m_t.NormalizedParameterAt(s));
  double c[6] = {0.0};
  if (m_curve->Dimension() != 3 || !m_curve->Evaluate(t, der_count, 3, c, side, hint)) return false;
  ON_Xform r;
  r.Rotation(angle, m_axis.Direction(), m_axis.from);
  const ON_3dPoint p = r * ON_3dPoint(c);
  for (int k = 0; k < 3; ++k) v[k] = p[k];
  if (der_count == 1) {
    const ON_3dVector a = m_axis.Tangent();
    const ON_3dVector d_angle = ON_CrossProduct(a, p - m_axis.from) * (m_angle.Length() / m_t.Length());
    const ON_3dVector d_curve = r * ON_3dVector(c + 3);
    const ON_3dVector& ds = m_bTransposed ? d_curve : d_angle;
    const ON_3dVector& dt = m_bTransposed ? d_angle : d_curve;
    for (int k = 0; k < 3; ++k) {
      v[v_stride + k] = ds[k];
      v[2 * v_stride + k] = dt[k];
    }
  }
  return true;
}

namespace {

// Foot of p on the axis line.
ON_3dPoint AxisFoot(const ON_Line& axis, const ON_3dPoint& p) { return axis.ClosestPointTo(p); }

double Tol(double tolerance) { return tolerance > 0.0 ? tolerance : ON_ZERO_TOLERANCE; }

}  // namespace

bool ON_RevSurface::IsPlanar(ON_Plane* plane, double tolerance) const {
  if (!m_curve || !m_axis.IsValid() || !m_curve->IsLinear(tolerance)) return false;
  const ON_3dPoint p0 = m_curve->PointAtStart(), p1 = m_curve->PointAtEnd();
  const ON_3dVector a = m_axis.Tangent();
  if (std::fabs((p1 - p0) * a) > Tol(tolerance)) return false;
  if (plane) *plane = ON_Plane(AxisFoot(m_axis, p0), a);
  return true;
}

bool ON_RevSurface::IsCylinder(ON_Cylinder* cylinder, double tolerance) const {
  if (!m_curve || !m_axis.IsValid() || !m_curve->IsLinear(tolerance)) return false;
  const double tol = Tol(tolerance);
  const ON_3dPoint p0 = m_curve->PointAtStart(), p1 = m_curve->PointAtEnd();
  const ON_3dVector a = m_axis.Tangent();
  const double r0 = m_axis.DistanceTo(p0), r1 = m_axis.DistanceTo(p1);
  if (std::fabs(r0 - r1) > tol || !(r0 > tol)) return false;
  if (ON_CrossProduct(p1 - p0, a).Length() > tol * std::max(1.0, p0.DistanceTo(p1))) return false;
  if (cylinder) {
    const ON_3dPoint foot = AxisFoot(m_axis, p0);
    ON_Plane plane(foot, p0 - foot, ON_CrossProduct(a, p0 - foot));
    ON_Cylinder c;
    c.circle = ON_Circle(plane, 0.5 * (r0 + r1));
    const double h = (p1 - p0) * a;
    c.height[0] = std::min(0.0, h);
    c.height[1] = std::max(0.0, h);
    *cylinder = c;
  }
  return true;
}

bool ON_RevSurface::IsCone(ON_Cone* cone, double tolerance) const {
  if (!m_curve || !m_axis.IsValid() || !m_curve->IsLinear(tolerance)) return false;
  const double tol = Tol(tolerance);
  const ON_3dPoint p0 = m_curve->PointAtStart(), p1 = m_curve->PointAtEnd();
  const ON_3dVector a = m_axis.Tangent();
  const double h0 = (p0 - m_axis.from) * a, h1 = (p1 - m_axis.from) * a;
  const double r0 = m_axis.DistanceTo(p0), r1 = m_axis.DistanceTo(p1);
  if (std::fabs(h1 - h0) <= tol || std::fabs(r1 - r0) <= tol) return false;
  // The profile must meet the axis (lie in a plane through it).
  const ON_3dVector n = ON_CrossProduct(a, p1 - p0);
  if (n.Length() > 0.0 && std::fabs((p0 - m_axis.from) * n.UnitVector()) > tol) return false;
  // Apex: where the radius, linear in the axial coordinate, reaches 0.
  const double h_apex = h0 - r0 * (h1 - h0) / (r1 - r0);
  if (cone) {
    const ON_3dPoint apex = m_axis.from + a * h_apex;
    const ON_3dPoint base = r1 > r0 ? p1 : p0;
    const ON_3dPoint foot = AxisFoot(m_axis, base);
    ON_Cone c;
    c.plane = ON_Plane(apex, base - foot, ON_CrossProduct(a, base - foot));
    c.height = (base - apex) * a;
    c.radius = std::max(r0, r1);
    *cone = c;
  }
  return true;
}

bool ON_RevSurface::IsSphere(ON_Sphere* sphere, double tolerance) const {
  ON_Arc arc;
  if (!m_curve || !m_axis.IsValid() || !m_curve->IsArc(nullptr, &arc, tolerance)) return false;
  const double tol = Tol(tolerance);
  if (m_axis.DistanceTo(arc.Center()) > tol) return false;
  if (std::fabs(arc.Normal() * m_axis.Tangent()) > ON_SQRT_EPSILON) return false;
  if (sphere) {
    ON_Sphere s;
    const ON_3dVector a = m_axis.Tangent();
    ON_3dVector x;
    x.PerpendicularTo(a);
    s.plane = ON_Plane(arc.Center(), x, ON_CrossProduct(a, x));
    s.radius = arc.radius;
    *sphere = s;
  }
  return true;
}

bool ON_RevSurface::IsTorus(ON_Torus* torus, double tolerance) const {
  ON_Arc arc;
  if (!m_curve || !m_axis.IsValid() || !m_curve->IsArc(nullptr, &arc, tolerance)) return false;
  const double tol = Tol(tolerance);
  const double major = m_axis.DistanceTo(arc.Center());
  if (!(major > tol)) return false;
  // The profile circle's plane holds the axis.
  if (std::fabs(arc.Normal() * m_axis.Tangent()) > ON_SQRT_EPSILON) return false;
  if (std::fabs((m_axis.from - arc.Center()) * arc.Normal()) > tol) return false;
  if (torus) {
    const ON_3dPoint foot = AxisFoot(m_axis, arc.Center());
    const ON_3dVector a = m_axis.Tangent();
    ON_Torus t;
    t.plane = ON_Plane(foot, arc.Center() - foot, ON_CrossProduct(a, arc.Center() - foot));
    t.major_radius = major;
    t.minor_radius = arc.radius;
    *torus = t;
  }
  return true;
}

bool ON_RevSurface::Transpose() {
  m_bTransposed = !m_bTransposed;
  return true;
}

bool ON_RevSurface::Reverse(int dir) {
  const bool angle_dir = (dir ? 1 : 0) == (m_bTransposed ? 1 : 0);
  if (angle_dir) {
    // Revolve the other way round: flip the axis and the angle interval.
    m_axis.Reverse();
    m_angle.Set(2.0 * ON_PI - m_angle[1], 2.0 * ON_PI - m_angle[0]);
    m_t.Reverse();
    return true;
  }
  return m_curve && m_curve->Reverse();
}

int ON_RevSurface::GetNurbForm(ON_NurbsSurface& ns, double tolerance) const {
  if (!IsValid()) return 0;
  ON_NurbsCurve profile;
  if (!m_curve->GetNurbForm(profile, tolerance) || profile.m_dim != 3) return 0;
  profile.MakeRational();
  // The circle of radius 1 about the z axis gives the angular form; each
  // profile CV is carried round it.
  ON_Arc unit(ON_Circle(ON_xy_plane, 1.0), m_angle);
  ON_NurbsCurve circle;
  if (!unit.GetNurbForm(circle)) return 0;
  circle.SetDomain(m_t[0], m_t[1]);
  const ON_3dVector a = m_axis.Tangent();
  const int nu = circle.CVCount(), nv = profile.CVCount();
  ns.Create(3, true, circle.Order(), profile.Order(), nu, nv);
  for (int i = 0; i < circle.KnotCount(); ++i) ns.SetKnot(0, i, circle.Knot(i));
  for (int j = 0; j < profile.KnotCount(); ++j) ns.SetKnot(1, j, profile.Knot(j));
  for (int j = 0; j < nv; ++j) {
    ON_3dPoint p;
    profile.GetCV(j, p);
    const double wp = profile.Weight(j);
    const ON_3dPoint foot = AxisFoot(m_axis, p);
    const ON_3dVector x = p - foot;
    const ON_3dVector y = ON_CrossProduct(a, x);
    for (int i = 0; i < nu; ++i) {
      ON_3dPoint q;
      circle.GetCV(i, q);
      const double w = circle.Weight(i) * wp;
      const ON_3dPoint r = foot + x * q.x + y * q.y;
      ns.SetCV(i, j, ON_4dPoint(r.x * w, r.y * w, r.z * w, w));
    }
  }
  if (m_bTransposed) ns.Transpose();
  return 2;
}
