#include "on_curve.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "internal/curve_shape.h"
#include "on_nurbs_curve.h"

ON_OBJECT_IMPLEMENT(ON_Curve, ON_Geometry)

bool ON_Curve::SetDomain(double, double) { return false; }

bool ON_Curve::GetBBox(double* box_min, double* box_max, bool grow) const {
  ON_NurbsCurve nc;
  if (!GetNurbForm(nc)) return false;
  ON_BoundingBox b;
  if (grow) b = ON_BoundingBox(ON_3dPoint(box_min), ON_3dPoint(box_max));
  for (int i = 0; i < nc.CVCount(); ++i) {
    ON_3dPoint p;
    if (nc.GetCV(i, p)) b.Set(p, true);
  }
  if (!b.IsValid()) return false;
  for (int i = 0; i < 3; ++i) {
    box_min[i] = b.m_min[i];
    box_max[i] = b.m_max[i];
  }
  return true;
}

bool ON_Curve::IsLinear(double tolerance) const {
  ON_NurbsCurve nc;
  return GetNurbForm(nc) && nc.IsLinear(tolerance);
}

bool ON_Curve::IsArc(const ON_Plane* plane, ON_Arc* arc, double tolerance) const {
  if (Degree() < 2) return false;
  return on_curve_shape::CurveIsArc(*this, plane, arc, tolerance);
}

int ON_Curve::IsPolyline(ON_SimpleArray<ON_3dPoint>* points, ON_SimpleArray<double>* params) const {
  ON_NurbsCurve nc;
  if (!GetNurbForm(nc)) {
    if (points) points->Empty();
    if (params) params->Empty();
    return 0;
  }
  return nc.IsPolyline(points, params);
}

bool ON_Curve::IsPlanar(ON_Plane* plane, double tolerance) const {
  ON_NurbsCurve nc;
  return GetNurbForm(nc) && nc.IsPlanar(plane, tolerance);
}

bool ON_Curve::IsClosed() const {
  const ON_Interval d = Domain();
  if (!d.IsIncreasing()) return false;
  const ON_3dPoint a = PointAtStart(), b = PointAtEnd();
  const ON_3dPoint p = PointAt(d.ParameterAt(1.0 / 3.0)), q = PointAt(d.ParameterAt(2.0 / 3.0));
  const double scale = std::max({1.0, a.MaximumCoordinate(), b.MaximumCoordinate()});
  const double tol = ON_ZERO_TOLERANCE * scale;
  if (!(a.DistanceTo(b) <= tol)) return false;
  // Not a point, nor a curve that goes out and comes back the same way.
  return a.DistanceTo(p) > tol && a.DistanceTo(q) > tol && p.DistanceTo(q) > tol;
}

bool ON_Curve::EvPoint(double t, ON_3dPoint& point, int side, int* hint) const {
  double v[3] = {0.0, 0.0, 0.0};
  const int dim = Dimension();
  if (dim < 1 || dim > 3) {
    std::vector<double> w(static_cast<size_t>(std::max(dim, 1)));
    if (!Evaluate(t, 0, dim, w.data(), side, hint)) return false;
    point.Set(w[0], dim > 1 ? w[1] : 0.0, dim > 2 ? w[2] : 0.0);
    return true;
  }
  if (!Evaluate(t, 0, dim, v, side, hint)) return false;
  point.Set(v[0], v[1], v[2]);
  return true;
}

bool ON_Curve::Ev1Der(double t, ON_3dPoint& point, ON_3dVector& d1, int side, int* hint) const {
  const int dim = Dimension();
  if (dim < 1) return false;
  std::vector<double> w(static_cast<size_t>(2 * dim), 0.0);
  if (!Evaluate(t, 1, dim, w.data(), side, hint)) return false;
  point.Set(w[0], dim > 1 ? w[1] : 0.0, dim > 2 ? w[2] : 0.0);
  d1.Set(w[static_cast<size_t>(dim)], dim > 1 ? w[static_cast<size_t>(dim + 1)] : 0.0,
         dim > 2 ? w[static_cast<size_t>(dim + 2)] : 0.0);
  return true;
}

ON_3dPoint ON_Curve::PointAt(double t) const {
  ON_3dPoint p;
  if (!EvPoint(t, p)) return ON_UNSET_POINT;
  return p;
}

ON_3dPoint ON_Curve::PointAtStart() const { return PointAt(Domain()[0]); }

ON_3dPoint ON_Curve::PointAtEnd() const {
  ON_3dPoint p;
  if (!EvPoint(Domain()[1], p, -1)) return ON_UNSET_POINT;
  return p;
}

ON_3dVector ON_Curve::DerivativeAt(double t) const {
  ON_3dPoint p;
  ON_3dVector d;
  if (!Ev1Der(t, p, d)) return ON_3dVector::ZeroVector;
  return d;
}

ON_3dVector ON_Curve::TangentAt(double t) const { return DerivativeAt(t).UnitVector(); }

bool ON_Curve::GetLength(double* length, double, const ON_Interval* sub_domain) const {
  if (!length) return false;
  *length = 0.0;
  ON_Interval d = sub_domain ? *sub_domain : Domain();
  if (!d.IsIncreasing()) return false;
  const int spans = std::max(1, SpanCount());
  std::vector<double> sv(static_cast<size_t>(spans + 1));
  if (!GetSpanVector(sv.data())) {
    sv = {Domain()[0], Domain()[1]};
  }
  // Five-point Gauss-Legendre over 16 pieces of every span inside d.
  static const double x[5] = {-0.9061798459386640, -0.5384693101056831, 0.0, 0.5384693101056831,
                              0.9061798459386640};
  static const double w[5] = {0.2369268850561891, 0.4786286704993665, 0.5688888888888889,
                              0.4786286704993665, 0.2369268850561891};
  double sum = 0.0;
  for (size_t s = 0; s + 1 < sv.size(); ++s) {
    const double a = std::max(sv[s], d[0]), b = std::min(sv[s + 1], d[1]);
    if (!(a < b)) continue;
    for (int piece = 0; piece < 16; ++piece) {
      const double pa = a + (b - a) * piece / 16.0, pb = a + (b - a) * (piece + 1) / 16.0;
      const double h = 0.5 * (pb - pa), m = 0.5 * (pa + pb);
      for (int k = 0; k < 5; ++k) sum += w[k] * h * DerivativeAt(m + h * x[k]).Length();
    }
  }
  *length = sum;
  return true;
}

int ON_Curve::GetNurbForm(ON_NurbsCurve&, double, const ON_Interval*) const { return 0; }

ON_NurbsCurve* ON_Curve::NurbsCurve(ON_NurbsCurve* nurbs_curve, double tolerance,
                                    const ON_Interval* subdomain) const {
  std::unique_ptr<ON_NurbsCurve> made;
  ON_NurbsCurve* out = nurbs_curve;
  if (!out) {
    made = std::make_unique<ON_NurbsCurve>();
    out = made.get();
  }
  if (!GetNurbForm(*out, tolerance, subdomain)) return nullptr;
  made.release();
  return out;
}

bool ON_Curve::Trim(const ON_Interval&) { return false; }

bool ON_Curve::ChangeDimension(int desired_dimension) { return desired_dimension == Dimension(); }

ON_CurveArray::ON_CurveArray(const ON_CurveArray& other) : ON_SimpleArray<ON_Curve*>() {
  other.Duplicate(*this);
}

ON_CurveArray& ON_CurveArray::operator=(const ON_CurveArray& other) {
  if (this != &other) {
    ON_CurveArray copy(other);
    Destroy();
    Swap(copy);
  }
  return *this;
}

ON_CurveArray::~ON_CurveArray() { Destroy(); }

void ON_CurveArray::Destroy() {
  for (ON_Curve* c : *this) delete c;
  ON_SimpleArray<ON_Curve*>::Destroy();
}

bool ON_CurveArray::Duplicate(ON_CurveArray& out) const {
  out.Destroy();
  out.Reserve(Count());
  for (const ON_Curve* c : *this) out.Append(c ? c->Duplicate() : nullptr);
  return true;
}
