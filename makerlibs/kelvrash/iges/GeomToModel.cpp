#include "GeomToModel.h"

#include <cmath>
#include <type_traits>
#include <numbers>

#include <BRep_Tool.hxx>
#include <Geom2dConvert.hxx>
#include <Geom2d_BSplineCurve.hxx>
#include <Geom2d_TrimmedCurve.hxx>
#include <GeomConvert.hxx>
#include <GeomConvert_ApproxCurve.hxx>
#include <GeomConvert_ApproxSurface.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_Circle.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_SurfaceOfRevolution.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <gp_Trsf.hxx>

namespace kelv::iges {

using namespace kelv::model;

namespace {

// Knots in openNURBS form: the full sequence without its first and last.
template <class Knots, class Mults>
std::vector<double> FlatKnots(const Knots& knots, const Mults& mults) {
  std::vector<double> full;
  for (int i = knots.Lower(); i <= knots.Upper(); ++i)
    for (int m = 0; m < mults.Value(i); ++m) full.push_back(knots.Value(i));
  if (full.size() < 2) return {};
  return std::vector<double>(full.begin() + 1, full.end() - 1);
}

// A non-periodic B-spline curve of space or of the plane (a parameter-space
// curve) in openNURBS' layout: homogeneous control points, flat knots.
template <class BSplineHandle>
bool NurbsToModel(const BSplineHandle& bs, CurveGeometryUnion& out) {
  constexpr bool kSpace = std::is_same_v<std::decay_t<decltype(bs->Pole(1))>, gp_Pnt>;
  NurbsCurveT n;
  n.dim = kSpace ? 3 : 2;
  n.is_rat = bs->IsRational();
  n.order = bs->Degree() + 1;
  n.cv_count = bs->NbPoles();
  for (int i = 1; i <= bs->NbPoles(); ++i) {
    const auto p = bs->Pole(i);
    double w = n.is_rat ? bs->Weight(i) : 1.0;
    n.cv.push_back(p.X() * w);
    n.cv.push_back(p.Y() * w);
    if constexpr (kSpace) n.cv.push_back(p.Z() * w);
    if (n.is_rat) n.cv.push_back(w);
  }
  TColStd_Array1OfReal knots(1, bs->NbKnots());
  TColStd_Array1OfInteger mults(1, bs->NbKnots());
  bs->Knots(knots);
  bs->Multiplicities(mults);
  n.knots = FlatKnots(knots, mults);
  if (static_cast<int>(n.knots.size()) != n.order + n.cv_count - 2) return false;
  out.Set(std::move(n));
  return true;
}

bool BSplineToModel(Handle(Geom_BSplineCurve) bs, CurveGeometryUnion& out) {
  if (bs->IsPeriodic()) {
    bs = Handle(Geom_BSplineCurve)::DownCast(bs->Copy());
    bs->SetNotPeriodic();
  }
  return NurbsToModel(bs, out);
}

bool Finite(double a, double b) { return !Precision::IsInfinite(a) && !Precision::IsInfinite(b) && b > a; }

Plane PlaneOf(const gp_Ax2& ax) {
  return Plane(ToVec3(ax.Location()), ToVec3(ax.XDirection()), ToVec3(ax.YDirection()), ToVec3(ax.Direction()));
}

Plane PlaneOf(const gp_Ax3& ax) {
  gp_Dir x = ax.XDirection(), y = ax.YDirection();
  gp_Dir z = x.Crossed(y);
  return Plane(ToVec3(ax.Location()), ToVec3(x), ToVec3(y), ToVec3(z));
}

}  // namespace

bool CurveToModel(const Handle(Geom_Curve)& curveIn, double first, double last, CurveGeometryUnion& out) {
  if (curveIn.IsNull() || !Finite(first, last)) return false;
  try {
    Handle(Geom_Curve) curve = curveIn;
    while (auto trimmed = Handle(Geom_TrimmedCurve)::DownCast(curve)) curve = trimmed->BasisCurve();
    if (auto line = Handle(Geom_Line)::DownCast(curve)) {
      LineCurveT l;
      l.from = ToVec3(line->Value(first));
      l.to = ToVec3(line->Value(last));
      l.domain = Interval(first, last);
      out.Set(std::move(l));
      return true;
    }
    if (auto circle = Handle(Geom_Circle)::DownCast(curve)) {
      ArcCurveT a;
      a.plane = PlaneOf(circle->Position());
      a.radius = circle->Radius();
      if (last - first > 2 * std::numbers::pi) last = first + 2 * std::numbers::pi;
      a.angle = Interval(first, last);
      a.domain = Interval(first, last);
      out.Set(std::move(a));
      return true;
    }
    if (auto bs = Handle(Geom_BSplineCurve)::DownCast(curve)) {
      if (std::abs(first - bs->FirstParameter()) > 1e-12 || std::abs(last - bs->LastParameter()) > 1e-12) {
        bs = Handle(Geom_BSplineCurve)::DownCast(bs->Copy());
        if (!bs->IsPeriodic() || last - first < bs->LastParameter() - bs->FirstParameter()) bs->Segment(first, last);
      }
      return BSplineToModel(bs, out);
    }
    Handle(Geom_TrimmedCurve) piece = new Geom_TrimmedCurve(curve, first, last);
    Handle(Geom_BSplineCurve) bs;
    try {
      bs = GeomConvert::CurveToBSplineCurve(piece);
    } catch (const Standard_Failure&) {
    }
    if (bs.IsNull()) {
      GeomConvert_ApproxCurve approx(piece, 1e-6, GeomAbs_C2, 200, 12);
      if (!approx.HasResult()) return false;
      bs = approx.Curve();
    }
    return BSplineToModel(bs, out);
  } catch (const Standard_Failure&) {
    return false;
  }
}

bool Curve2dToModel(const Handle(Geom2d_Curve)& curve, double first, double last, CurveGeometryUnion& out) {
  if (curve.IsNull() || !Finite(first, last)) return false;
  try {
    Handle(Geom2d_BSplineCurve) bs = Geom2dConvert::CurveToBSplineCurve(new Geom2d_TrimmedCurve(curve, first, last));
    if (bs.IsNull()) return false;
    if (bs->IsPeriodic()) bs->SetNotPeriodic();
    return NurbsToModel(bs, out);
  } catch (const Standard_Failure&) {
    return false;
  }
}

namespace {

bool BSplineSurfaceToModel(Handle(Geom_BSplineSurface) bs, SurfaceGeometryUnion& out) {
  if (bs->IsUPeriodic() || bs->IsVPeriodic()) {
    bs = Handle(Geom_BSplineSurface)::DownCast(bs->Copy());
    if (bs->IsUPeriodic()) bs->SetUNotPeriodic();
    if (bs->IsVPeriodic()) bs->SetVNotPeriodic();
  }
  NurbsSurfaceT n;
  n.dim = 3;
  n.is_rat = bs->IsURational() || bs->IsVRational();
  n.order_u = bs->UDegree() + 1;
  n.order_v = bs->VDegree() + 1;
  n.cv_count_u = bs->NbUPoles();
  n.cv_count_v = bs->NbVPoles();
  for (int i = 1; i <= n.cv_count_u; ++i)
    for (int j = 1; j <= n.cv_count_v; ++j) {
      gp_Pnt p = bs->Pole(i, j);
      double w = n.is_rat ? bs->Weight(i, j) : 1.0;
      n.cv.push_back(p.X() * w);
      n.cv.push_back(p.Y() * w);
      n.cv.push_back(p.Z() * w);
      if (n.is_rat) n.cv.push_back(w);
    }
  TColStd_Array1OfReal uk(1, bs->NbUKnots()), vk(1, bs->NbVKnots());
  TColStd_Array1OfInteger um(1, bs->NbUKnots()), vm(1, bs->NbVKnots());
  bs->UKnots(uk);
  bs->UMultiplicities(um);
  bs->VKnots(vk);
  bs->VMultiplicities(vm);
  n.knots_u = FlatKnots(uk, um);
  n.knots_v = FlatKnots(vk, vm);
  if (static_cast<int>(n.knots_u.size()) != n.order_u + n.cv_count_u - 2 ||
      static_cast<int>(n.knots_v.size()) != n.order_v + n.cv_count_v - 2)
    return false;
  out.Set(std::move(n));
  return true;
}

// A profile turned about the axis of 'ax': the exact form of cylinders,
// cones, spheres and tori with Open CASCADE's (u = angle, v) parameters.
void RevolutionToModel(const gp_Ax3& ax, CurveGeometryUnion profile, double u0, double u1, double v0, double v1,
                       SurfaceGeometryUnion& out) {
  RevSurfaceT r;
  r.profile = std::make_unique<CurveT>();
  r.profile->geometry = std::move(profile);
  gp_Pnt o = ax.Location();
  gp_Dir z = ax.Direct() ? ax.Direction() : ax.Direction().Reversed();
  r.axis_from = ToVec3(o);
  r.axis_to = ToVec3(o.Translated(gp_Vec(z)));
  r.angle = Interval(u0, u1);
  r.t = Interval(u0, u1);
  r.transposed = false;
  out.Set(std::move(r));
}

}  // namespace

namespace {

LineCurveT LineBetween(const gp_Pnt& from, const gp_Pnt& to, double v0, double v1) {
  LineCurveT line;
  line.from = ToVec3(from);
  line.to = ToVec3(to);
  line.domain = Interval(v0, v1);
  return line;
}

ArcCurveT ArcAbout(const gp_Pnt& centre, const gp_Dir& x, const gp_Dir& z, double radius, double v0, double v1) {
  ArcCurveT arc;
  arc.plane = Plane(ToVec3(centre), ToVec3(x), ToVec3(z), ToVec3(x.Crossed(z)));
  arc.radius = radius;
  arc.angle = Interval(v0, v1);
  arc.domain = Interval(v0, v1);
  return arc;
}

// Cylinders, cones, spheres and tori as the profile over [v0, v1] that
// turns about the axis of 'ax'; false for other surfaces.
bool ElementaryProfile(const Handle(Geom_Surface)& surface, double v0, double v1, gp_Ax3& ax,
                       CurveGeometryUnion& profile) {
  if (auto cyl = Handle(Geom_CylindricalSurface)::DownCast(surface)) {
    ax = cyl->Position();
    gp_Pnt a = ax.Location().Translated(gp_Vec(ax.XDirection()) * cyl->Radius());
    profile.Set(LineBetween(a.Translated(gp_Vec(ax.Direction()) * v0), a.Translated(gp_Vec(ax.Direction()) * v1),
                            v0, v1));
    return true;
  }
  if (auto cone = Handle(Geom_ConicalSurface)::DownCast(surface)) {
    ax = cone->Position();
    double r = cone->RefRadius(), s = std::sin(cone->SemiAngle()), c = std::cos(cone->SemiAngle());
    auto at = [&](double v) {
      return ax.Location().Translated(gp_Vec(ax.XDirection()) * (r + v * s) + gp_Vec(ax.Direction()) * (v * c));
    };
    profile.Set(LineBetween(at(v0), at(v1), v0, v1));
    return true;
  }
  if (auto sphere = Handle(Geom_SphericalSurface)::DownCast(surface)) {
    ax = sphere->Position();
    profile.Set(ArcAbout(ax.Location(), ax.XDirection(), ax.Direction(), sphere->Radius(), v0, v1));
    return true;
  }
  if (auto torus = Handle(Geom_ToroidalSurface)::DownCast(surface)) {
    ax = torus->Position();
    gp_Pnt centre = ax.Location().Translated(gp_Vec(ax.XDirection()) * torus->MajorRadius());
    profile.Set(ArcAbout(centre, ax.XDirection(), ax.Direction(), torus->MinorRadius(), v0, v1));
    return true;
  }
  return false;
}

PlaneSurfaceT PlaneSurfaceOf(const Handle(Geom_Plane)& plane, double u0, double u1, double v0, double v1) {
  PlaneSurfaceT p;
  // (u, v) stay as Open CASCADE has them: y axis as given, z = x cross y.
  p.plane = PlaneOf(plane->Position());
  p.u = Interval(u0, u1);
  p.v = Interval(v0, v1);
  p.extents_u = p.u;
  p.extents_v = p.v;
  return p;
}

// A profile turned about an axis stays one: its (u, v) are the angle and
// the profile's own parameter.
bool RevSurfaceOf(const Handle(Geom_SurfaceOfRevolution)& rev, double u0, double u1, double v0, double v1,
                  SurfaceGeometryUnion& out) {
  CurveGeometryUnion profile;
  if (!CurveToModel(rev->BasisCurve(), v0, v1, profile)) return false;
  RevSurfaceT r;
  r.profile = std::make_unique<CurveT>();
  r.profile->geometry = std::move(profile);
  gp_Ax1 axis = rev->Axis();
  r.axis_from = ToVec3(axis.Location());
  r.axis_to = ToVec3(axis.Location().Translated(gp_Vec(axis.Direction())));
  r.angle = Interval(u0, u1);
  r.t = Interval(u0, u1);
  out.Set(std::move(r));
  return true;
}

// Any other surface over the box, converted exactly where Open CASCADE can,
// else approximated.
bool ConvertedSurface(const Handle(Geom_Surface)& surface, double u0, double u1, double v0, double v1,
                      SurfaceGeometryUnion& out) {
  Handle(Geom_BSplineSurface) bs;
  try {
    bs = GeomConvert::SurfaceToBSplineSurface(new Geom_RectangularTrimmedSurface(surface, u0, u1, v0, v1));
  } catch (const Standard_Failure&) {
  }
  if (bs.IsNull()) {
    GeomConvert_ApproxSurface approx(new Geom_RectangularTrimmedSurface(surface, u0, u1, v0, v1), 1e-6, GeomAbs_C1,
                                     GeomAbs_C1, 12, 12, 100, 0);
    if (!approx.HasResult()) return false;
    bs = approx.Surface();
  }
  return BSplineSurfaceToModel(bs, out);
}

}  // namespace

bool SurfaceToModel(const Handle(Geom_Surface)& surfaceIn, double u0, double u1, double v0, double v1,
                    SurfaceGeometryUnion& out) {
  if (surfaceIn.IsNull() || !Finite(u0, u1) || !Finite(v0, v1)) return false;
  try {
    Handle(Geom_Surface) surface = surfaceIn;
    while (auto t = Handle(Geom_RectangularTrimmedSurface)::DownCast(surface)) surface = t->BasisSurface();
    if (auto plane = Handle(Geom_Plane)::DownCast(surface)) {
      out.Set(PlaneSurfaceOf(plane, u0, u1, v0, v1));
      return true;
    }
    gp_Ax3 ax;
    CurveGeometryUnion profile;
    if (ElementaryProfile(surface, v0, v1, ax, profile)) {
      RevolutionToModel(ax, std::move(profile), u0, u1, v0, v1, out);
      return true;
    }
    if (auto rev = Handle(Geom_SurfaceOfRevolution)::DownCast(surface))
      if (RevSurfaceOf(rev, u0, u1, v0, v1, out)) return true;
    if (auto bs = Handle(Geom_BSplineSurface)::DownCast(surface)) return BSplineSurfaceToModel(bs, out);
    return ConvertedSurface(surface, u0, u1, v0, v1, out);
  } catch (const Standard_Failure&) {
    return false;
  }
}

Handle(Geom_Curve) EdgeCurve(const TopoDS_Edge& edge, double& first, double& last) {
  TopLoc_Location loc;
  Handle(Geom_Curve) c = BRep_Tool::Curve(edge, loc, first, last);
  if (!c.IsNull() && !loc.IsIdentity()) c = Handle(Geom_Curve)::DownCast(c->Transformed(loc.Transformation()));
  return c;
}

Handle(Geom_Curve) TransformCurve(const Handle(Geom_Curve)& curve, const gp_GTrsf& map, double& first, double& last) {
  if (curve.IsNull()) return curve;
  if (map.Form() == gp_Identity) return curve;
  // A similarity moves every curve type exactly.
  const gp_Mat& m = map.VectorialPart();
  gp_Mat mtm = m.Transposed() * m;
  double s2 = mtm.Value(1, 1);
  bool similarity = s2 > 1e-300;
  for (int i = 1; i <= 3 && similarity; ++i)
    for (int j = 1; j <= 3; ++j)
      if (std::abs(mtm.Value(i, j) - (i == j ? s2 : 0.0)) > 1e-9 * s2) similarity = false;
  if (similarity) {
    double s = std::sqrt(s2);
    double det = m.Determinant();
    gp_Trsf t;
    // gp_Trsf holds a rotation (det +1) or a reflection combined with scale.
    gp_Mat r = m / s;
    if (det < 0) {
      // Split off a mirror through the origin, which gp_Trsf keeps as a
      // negative scale factor.
      r = r * -1.0;
      s = -s;
    }
    try {
      t.SetValues(r.Value(1, 1), r.Value(1, 2), r.Value(1, 3), map.TranslationPart().X(), r.Value(2, 1), r.Value(2, 2),
                  r.Value(2, 3), map.TranslationPart().Y(), r.Value(3, 1), r.Value(3, 2), r.Value(3, 3),
                  map.TranslationPart().Z());
      if (std::abs(s - 1.0) > 1e-15) {
        gp_Trsf scale;
        scale.SetScale(gp_Pnt(0, 0, 0), s);
        t = t * scale;
      }
      Handle(Geom_Curve) moved = Handle(Geom_Curve)::DownCast(curve->Transformed(t));
      double f = moved->TransformedParameter(first, t), l = moved->TransformedParameter(last, t);
      first = std::min(f, l);
      last = std::max(f, l);
      return moved;
    } catch (const Standard_Failure&) {
    }
  }
  Handle(Geom_BSplineCurve) bs = GeomConvert::CurveToBSplineCurve(new Geom_TrimmedCurve(curve, first, last));
  for (int i = 1; i <= bs->NbPoles(); ++i) {
    gp_XYZ p = bs->Pole(i).XYZ();
    map.Transforms(p);
    bs->SetPole(i, gp_Pnt(p));
  }
  first = bs->FirstParameter();
  last = bs->LastParameter();
  return bs;
}

}  // namespace kelv::iges
