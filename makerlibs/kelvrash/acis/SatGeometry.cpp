// Mapping openNURBS geometry onto SAT geometry records.
#include "acis/SatGeometry.h"

#include <cmath>
#include <vector>

namespace kelv::acis {

namespace {

void Push(std::vector<std::string>& f, const ON_3dPoint& p) {
  f.push_back(Number(p.x));
  f.push_back(Number(p.y));
  f.push_back(Number(p.z));
}
void Push(std::vector<std::string>& f, const ON_3dVector& v) {
  f.push_back(Number(v.x));
  f.push_back(Number(v.y));
  f.push_back(Number(v.z));
}

bool Finite(const ON_3dPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// Distinct knots with their multiplicities, from an openNURBS knot vector
// (which, like SAT's, leaves out the outermost knot at each end).
void PushKnots(std::vector<std::string>& f, const double* knots, int count) {
  std::vector<std::pair<double, int>> distinct;
  for (int i = 0; i < count; ++i) {
    if (!distinct.empty() && knots[i] == distinct.back().first)
      ++distinct.back().second;
    else
      distinct.push_back({knots[i], 1});
  }
  f.push_back(Integer(static_cast<long>(distinct.size())));
  for (const auto& [k, m] : distinct) {
    f.push_back(Number(k));
    f.push_back(Integer(m));
  }
}

bool KnotsFinite(const double* knots, int count) {
  for (int i = 0; i < count; ++i)
    if (!std::isfinite(knots[i])) return false;
  return true;
}

// bs3_curve / bs2_curve data: "nubs" or "nurbs", degree, closure, knots,
// control points (x y [z] [w]).
bool PushBsCurve(std::vector<std::string>& f, ON_NurbsCurve nc, int dim, std::string& reason) {
  if (!nc.IsValid() || nc.m_order < 2) {
    reason = "a curve has no valid B-spline form";
    return false;
  }
  // SAT's open form wants clamped ends; clamping keeps the shape.
  if (!nc.IsClamped(2) && !nc.ClampEnd(2)) {
    reason = "a B-spline curve cannot be clamped at its ends";
    return false;
  }
  if (!KnotsFinite(nc.m_knot, nc.KnotCount())) {
    reason = "a curve holds a knot that is not a finite number";
    return false;
  }
  f.push_back(nc.IsRational() ? "nurbs" : "nubs");
  f.push_back(Integer(nc.Degree()));
  f.push_back("open");
  PushKnots(f, nc.m_knot, nc.KnotCount());
  for (int i = 0; i < nc.CVCount(); ++i) {
    ON_3dPoint p;
    if (!nc.GetCV(i, p) || !Finite(p) || !(nc.Weight(i) > 0.0)) {
      reason = "a curve has a control point that is not finite or a weight that is not positive";
      return false;
    }
    f.push_back(Number(p.x));
    f.push_back(Number(p.y));
    if (dim == 3) f.push_back(Number(p.z));
    if (nc.IsRational()) f.push_back(Number(nc.Weight(i)));
  }
  return true;
}

// bs3_surface data: type, degrees, the directions a rational surface is
// rational in, closure and singularity in u and v,
// knot counts, knots in u then v, control points with v running fastest.
bool PushBsSurface(std::vector<std::string>& f, const ON_NurbsSurface& ns, std::string& reason) {
  if (!ns.IsValid() || ns.m_dim != 3) {
    reason = "a surface has no valid B-spline form";
    return false;
  }
  if (!KnotsFinite(ns.m_knot[0], ns.KnotCount(0)) || !KnotsFinite(ns.m_knot[1], ns.KnotCount(1))) {
    reason = "a surface holds a knot that is not a finite number";
    return false;
  }
  f.push_back(ns.IsRational() ? "nurbs" : "nubs");
  f.push_back(Integer(ns.Degree(0)));
  f.push_back(Integer(ns.Degree(1)));
  if (ns.IsRational()) f.push_back("both");  // rational in u and in v
  f.insert(f.end(), {"open", "open", "none", "none"});
  std::vector<std::string> knots;
  PushKnots(knots, ns.m_knot[0], ns.KnotCount(0));
  std::vector<std::string> knotsV;
  PushKnots(knotsV, ns.m_knot[1], ns.KnotCount(1));
  // Both counts first, then both lists.
  f.push_back(knots.front());
  f.push_back(knotsV.front());
  f.insert(f.end(), knots.begin() + 1, knots.end());
  f.insert(f.end(), knotsV.begin() + 1, knotsV.end());
  for (int i = 0; i < ns.CVCount(0); ++i)
    for (int j = 0; j < ns.CVCount(1); ++j) {
      ON_3dPoint p;
      if (!ns.GetCV(i, j, p) || !Finite(p) || !(ns.Weight(i, j) > 0.0)) {
        reason = "a surface has a control point that is not finite or a weight that is not positive";
        return false;
      }
      Push(f, p);
      if (ns.IsRational()) f.push_back(Number(ns.Weight(i, j)));
    }
  return true;
}

void PushOpenRanges(std::vector<std::string>& f, int count) {
  for (int i = 0; i < count; ++i) f.push_back("I");
}

// Sense of the face against a surface whose own normal at 'at' is n.
bool Opposite(const ON_3dVector& n, const ON_3dVector& faceNormal) { return n * faceNormal < 0.0; }

int AddPlane(SatDocument& doc, const ON_Plane& plane) {
  int r = doc.Add("plane-surface");
  auto& f = doc[r].fields;
  Push(f, plane.origin);
  Push(f, plane.zaxis);
  Push(f, plane.xaxis);
  // v runs along the plane's y axis: with the normal's cross product for a
  // right-handed frame, against it otherwise.
  f.push_back(ON_CrossProduct(plane.zaxis, plane.xaxis) * plane.yaxis >= 0.0 ? "forward_v" : "reverse_v");
  PushOpenRanges(f, 4);
  return r;
}

// A cone (or, with sine 0, a cylinder) on the base circle with centre c,
// axis n (unit, the way the radius grows) and radius along x.
int AddCone(SatDocument& doc, const ON_3dPoint& c, const ON_3dVector& n, const ON_3dVector& x, double radius,
            double sine, double cosine) {
  int r = doc.Add("cone-surface");
  auto& f = doc[r].fields;
  Push(f, c);
  Push(f, n);
  Push(f, x * radius);
  f.push_back("1");
  PushOpenRanges(f, 2);
  f.push_back(Number(sine));
  f.push_back(Number(cosine));
  f.push_back(Number(radius));  // u is the distance along a generator over this scale
  f.push_back("forward");
  PushOpenRanges(f, 4);
  return r;
}

}  // namespace

bool AddSurface(SatDocument& doc, const ON_Surface& surface, const ON_3dPoint& at, const ON_3dVector& faceNormal,
                MappedSurface& out, std::string& reason) {
  out = MappedSurface();
  if (auto* ps = ON_PlaneSurface::Cast(&surface)) {
    if (!ps->m_plane.IsValid()) {
      reason = "a face lies on a plane that is not valid";
      return false;
    }
    out.record = AddPlane(doc, ps->m_plane);
    out.reversed = Opposite(ps->m_plane.zaxis, faceNormal);
    return true;
  }
  if (ON_RevSurface::Cast(&surface)) {
    ON_Plane plane;
    ON_Cylinder cylinder;
    ON_Cone cone;
    ON_Sphere sphere;
    ON_Torus torus;
    if (surface.IsCylinder(&cylinder)) {
      const ON_Plane& p = cylinder.circle.plane;
      out.record = AddCone(doc, p.origin, p.zaxis, p.xaxis, cylinder.Radius(), 0.0, 1.0);
      ON_3dVector radial = (at - p.origin) - p.zaxis * ((at - p.origin) * p.zaxis);
      out.reversed = Opposite(radial, faceNormal);
      return true;
    }
    if (surface.IsCone(&cone)) {
      const double h = cone.height, r = std::fabs(cone.radius);
      ON_3dVector n = cone.plane.zaxis * (h < 0.0 ? -1.0 : 1.0);
      const double alpha = std::atan2(r, std::fabs(h));
      out.record = AddCone(doc, cone.BasePoint(), n, cone.plane.xaxis, r, std::sin(alpha), std::cos(alpha));
      ON_3dVector radial = (at - cone.plane.origin) - n * ((at - cone.plane.origin) * n);
      radial.Unitize();
      out.reversed = Opposite(radial * std::cos(alpha) - n * std::sin(alpha), faceNormal);
      return true;
    }
    if (surface.IsSphere(&sphere)) {
      int r = doc.Add("sphere-surface");
      auto& f = doc[r].fields;
      Push(f, sphere.Center());
      f.push_back(Number(sphere.Radius()));
      Push(f, sphere.plane.xaxis);
      Push(f, sphere.plane.zaxis);
      f.push_back("forward_v");
      PushOpenRanges(f, 4);
      out.record = r;
      out.reversed = Opposite(at - sphere.Center(), faceNormal);
      return true;
    }
    if (surface.IsTorus(&torus)) {
      int r = doc.Add("torus-surface");
      auto& f = doc[r].fields;
      Push(f, torus.Center());
      Push(f, torus.plane.zaxis);
      f.push_back(Number(torus.major_radius));
      f.push_back(Number(torus.minor_radius));
      Push(f, torus.plane.xaxis);
      f.push_back("forward_v");
      PushOpenRanges(f, 4);
      out.record = r;
      const ON_3dVector z = torus.plane.zaxis;
      ON_3dVector radial = (at - torus.Center()) - z * ((at - torus.Center()) * z);
      radial.Unitize();
      ON_3dPoint onCircle = torus.Center() + radial * torus.major_radius;
      out.reversed = Opposite(at - onCircle, faceNormal);
      return true;
    }
    if (surface.IsPlanar(&plane)) {
      out.record = AddPlane(doc, plane);
      out.reversed = Opposite(plane.zaxis, faceNormal);
      return true;
    }
  }
  // Everything else as its exact B-spline form.
  ON_NurbsSurface ns;
  const int form = surface.GetNurbForm(ns);
  if (form == 0) {
    reason = std::string("a face lies on a surface (") + ON_ObjectClassName(&surface) +
             ") that has no exact B-spline form";
    return false;
  }
  int r = doc.Add("spline-surface");
  auto& f = doc[r].fields;
  f.push_back("forward");
  f.push_back("{");
  f.push_back("exactsur");
  if (!PushBsSurface(f, ns, reason)) return false;
  f.push_back("0");  // fit tolerance: exact
  f.push_back("}");
  PushOpenRanges(f, 4);
  out.record = r;
  out.takesPcurves = form == 1;
  // The B-spline form keeps the direction of the parameters, so its normal
  // is the surface's own.
  out.reversed = Opposite(surface.NormalAt(surface.Domain(0).Mid(), surface.Domain(1).Mid()), faceNormal);
  return true;
}

bool AddCurve(SatDocument& doc, const ON_Curve& curve, const ON_Interval& domain, MappedCurve& out,
              std::string& reason) {
  out = MappedCurve();
  const ON_3dPoint a = curve.PointAt(domain[0]), b = curve.PointAt(domain[1]);
  if (!Finite(a) || !Finite(b)) {
    reason = "an edge has an end point that is not a finite number";
    return false;
  }
  if (auto* ac = ON_ArcCurve::Cast(&curve)) {
    const ON_Arc& arc = ac->m_arc;
    auto angle = [&](double t) {
      return arc.m_angle[0] + (t - ac->m_t[0]) / ac->m_t.Length() * arc.AngleRadians();
    };
    int r = doc.Add("ellipse-curve");
    auto& f = doc[r].fields;
    Push(f, arc.Center());
    Push(f, arc.plane.zaxis);
    Push(f, arc.plane.xaxis * arc.radius);
    f.push_back("1");
    PushOpenRanges(f, 2);
    out.record = r;
    out.t0 = angle(domain[0]);
    out.t1 = angle(domain[1]);
    return true;
  }
  ON_Arc arc;
  if (!ON_LineCurve::Cast(&curve) && curve.IsArc(nullptr, &arc)) {
    // The arc runs counter-clockwise from the curve's start: the edge's part
    // of it starts and ends at the angles of its end points.
    auto angleOf = [&](const ON_3dPoint& p) {
      ON_3dVector d = p - arc.Center();
      return std::atan2(d * arc.plane.yaxis, d * arc.plane.xaxis);
    };
    double t0 = angleOf(a), t1 = angleOf(b);
    if (a.DistanceTo(b) <= ON_ZERO_TOLERANCE * (1.0 + arc.radius)) t1 = t0 + 2.0 * ON_PI;
    while (t1 <= t0) t1 += 2.0 * ON_PI;
    int r = doc.Add("ellipse-curve");
    auto& f = doc[r].fields;
    Push(f, arc.Center());
    Push(f, arc.plane.zaxis);
    Push(f, arc.plane.xaxis * arc.radius);
    f.push_back("1");
    PushOpenRanges(f, 2);
    out.record = r;
    out.t0 = t0;
    out.t1 = t1;
    return true;
  }
  if (ON_LineCurve::Cast(&curve) || curve.IsLinear()) {
    const double length = a.DistanceTo(b);
    if (!(length > 0.0)) {
      reason = "an edge has no length";
      return false;
    }
    int r = doc.Add("straight-curve");
    auto& f = doc[r].fields;
    Push(f, a);
    Push(f, (b - a) / length);
    PushOpenRanges(f, 2);
    out.record = r;
    out.t0 = 0.0;
    out.t1 = length;
    return true;
  }
  ON_NurbsCurve nc;
  if (!curve.GetNurbForm(nc, 0.0, &domain) || nc.m_dim != 3) {
    reason = std::string("an edge lies on a curve (") + ON_ObjectClassName(&curve) +
             ") that has no exact B-spline form";
    return false;
  }
  int r = doc.Add("intcurve-curve");
  auto& f = doc[r].fields;
  f.push_back("forward");
  f.push_back("{");
  f.push_back("exactcur");
  if (!PushBsCurve(f, nc, 3, reason)) return false;
  f.push_back("0");  // fit tolerance: exact
  f.insert(f.end(), {"null_surface", "null_surface", "nullbs", "nullbs"});
  f.push_back("}");
  PushOpenRanges(f, 2);
  out.record = r;
  out.t0 = nc.Domain()[0];
  out.t1 = nc.Domain()[1];
  return true;
}

int AddPcurve(SatDocument& doc, const ON_Curve& curve, const ON_Interval& domain, bool reversed, std::string& reason) {
  ON_NurbsCurve nc;
  if (!curve.GetNurbForm(nc, 0.0, &domain)) {
    reason = std::string("a trim lies on a curve (") + ON_ObjectClassName(&curve) + ") that has no exact B-spline form";
    return -1;
  }
  if (nc.m_dim != 2 && !nc.ChangeDimension(2)) {
    reason = "a trim curve is not two-dimensional";
    return -1;
  }
  int r = doc.Add("pcurve");
  auto& f = doc[r].fields;
  f.push_back("0");  // an explicit parameter-space curve follows
  f.push_back(reversed ? "reversed" : "forward");
  f.push_back("{");
  f.push_back("exppc");
  if (!PushBsCurve(f, nc, 2, reason)) return -1;
  f.push_back("0");
  f.push_back("}");
  return r;
}

}  // namespace kelv::acis
