// Curves and points: lines, arcs, conics, splines, offset curves, composite
// curves, points and copious data.
#include <cmath>

#include <GC_MakeCircle.hxx>
#include <Geom_Circle.hxx>
#include <Geom_Line.hxx>
#include <IGESDimen_CenterLine.hxx>
#include <IGESDimen_Section.hxx>
#include <IGESDimen_WitnessLine.hxx>
#include <IGESGeom_BSplineCurve.hxx>
#include <IGESGeom_CircularArc.hxx>
#include <IGESGeom_CompositeCurve.hxx>
#include <IGESGeom_CopiousData.hxx>
#include <IGESGeom_Line.hxx>
#include <IGESGeom_Point.hxx>
#include <IGESToBRep_BasicCurve.hxx>
#include <IGESToBRep_CurveAndSurface.hxx>
#include <IGESToBRep_TopoCurve.hxx>
#include <BRep_Tool.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <Standard_Failure.hxx>
#include <gp_Ax2.hxx>

#include "GeomToModel.h"
#include "Mapper.h"

namespace kelv::iges {

using namespace kelv::model;

namespace {

gp_XYZ Apply(const gp_GTrsf& t, gp_XYZ p) {
  t.Transforms(p);
  return p;
}

}  // namespace

bool Mapper::CheckBSpline(const Entity& e) {
  auto bs = Handle(IGESGeom_BSplineCurve)::DownCast(e);
  if (bs.IsNull()) return true;
  const int k = bs->UpperIndex(), m = bs->Degree();
  if (k < m || m < 1) return Fail("has a degenerate B-spline curve: " + Describe(e));
  for (int i = -m + 1; i <= k + 1; ++i)
    if (bs->Knot(i) < bs->Knot(i - 1)) return Fail("has a degenerate B-spline curve (decreasing knots): " + Describe(e));
  if (!(bs->Knot(k + 1) > bs->Knot(-m)))
    return Fail("has a degenerate B-spline curve (empty knot range): " + Describe(e));
  for (int i = 0; i <= k; ++i)
    if (!(bs->Weight(i) > 0.0)) return Fail("has a degenerate B-spline curve (weight not positive): " + Describe(e));
  for (int i = 0; i <= k; ++i) {
    gp_Pnt p = bs->Pole(i);
    if (!std::isfinite(p.X()) || !std::isfinite(p.Y()) || !std::isfinite(p.Z()))
      return Fail("has a degenerate B-spline curve (control point not a number): " + Describe(e));
  }
  return true;
}

bool Mapper::CurveOf(const Entity& e, const gp_GTrsf& placement, CurveGeometryUnion& out, int depth) {
  if (e.IsNull() || Broken(e)) return false;
  if (depth > 64) return Fail("has composite curves nested deeper than 64 levels");
  const int type = e->TypeNumber();
  if (auto line = Handle(IGESGeom_Line)::DownCast(e)) {
    // Every form is carried over as the segment between its two points.
    LineCurveT l;
    gp_XYZ a = Apply(placement, line->StartPoint().XYZ()), b = Apply(placement, line->EndPoint().XYZ());
    l.from = ToVec3(a);
    l.to = ToVec3(b);
    l.domain = Interval(0.0, (b - a).Modulus());
    if (!(l.domain.t1() > 0.0)) l.domain = Interval(0.0, 1.0);
    out.Set(std::move(l));
    return true;
  }
  if (auto arc = Handle(IGESGeom_CircularArc)::DownCast(e)) {
    gp_Pnt2d c = arc->Center(), s = arc->StartPoint(), en = arc->EndPoint();
    double r = c.Distance(s);
    if (!(r > 0.0) || !std::isfinite(r)) return false;
    double a0 = std::atan2(s.Y() - c.Y(), s.X() - c.X());
    double a1 = std::atan2(en.Y() - c.Y(), en.X() - c.X());
    if (s.Distance(en) <= 1e-12 * std::max(1.0, r)) {
      a1 = a0 + 2 * M_PI;
    } else {
      while (a1 <= a0) a1 += 2 * M_PI;
    }
    Handle(Geom_Curve) circle =
        new Geom_Circle(gp_Ax2(gp_Pnt(c.X(), c.Y(), arc->ZPlane()), gp_Dir(0, 0, 1), gp_Dir(1, 0, 0)), r);
    double first = a0, last = a1;
    Handle(Geom_Curve) moved = TransformCurve(circle, placement, first, last);
    return CurveToModel(moved, first, last, out);
  }
  if (auto composite = Handle(IGESGeom_CompositeCurve)::DownCast(e)) {
    PolyCurveT poly;
    double t = 0.0;
    poly.params.push_back(t);
    for (int i = 1; i <= composite->NbCurves(); ++i) {
      Entity part = composite->Curve(i);
      if (part.IsNull()) continue;
      if (part->TypeNumber() == 116) continue;  // a point between segments adds nothing to the path
      CurveGeometryUnion piece;
      if (!CurveOf(part, placement.Multiplied(part->CompoundLocation()), piece, depth + 1)) {
        if (!fatal_.empty()) return false;
        continue;
      }
      // Nested poly-curves are flattened: openNURBS keeps one level.
      auto add = [&](CurveGeometryUnion&& g) {
        auto c = std::make_unique<CurveT>();
        c->geometry = std::move(g);
        double len = 1.0;
        if (auto* l = c->geometry.AsLineCurve()) len = l->domain.t1() - l->domain.t0();
        else if (auto* a = c->geometry.AsArcCurve()) len = a->domain.t1() - a->domain.t0();
        t += len > 0 ? len : 1.0;
        poly.segments.push_back(std::move(c));
        poly.params.push_back(t);
      };
      if (auto* inner = piece.AsPolyCurve()) {
        for (auto& seg : inner->segments) add(std::move(seg->geometry));
      } else {
        add(std::move(piece));
      }
    }
    if (poly.segments.empty()) return false;
    if (poly.segments.size() == 1) {
      out = std::move(poly.segments[0]->geometry);
      return true;
    }
    out.Set(std::move(poly));
    return true;
  }
  if (type == 104 || type == 112 || type == 126 || type == 130) {
    if (type == 126 && !CheckBSpline(e)) return false;
    Handle(Geom_Curve) curve;
    double first = 0, last = 0;
    IGESToBRep_CurveAndSurface settings(1e-4, 1e-7, 1e-6, Standard_True, Standard_False, Standard_False);
    settings.SetModel(iges_);
    settings.SetTransferProcess(process_);
    const double factor = settings.GetUnitFactor();
    if (type == 130) {
      // Offset curves come through the topological transfer.
      IGESToBRep_TopoCurve topo(settings);
      TopoDS_Shape shape = topo.TransferTopoCurve(e);
      if (shape.IsNull()) return false;
      TopExp_Explorer ex(shape, TopAbs_EDGE);
      if (!ex.More()) return false;
      TopLoc_Location loc;
      curve = BRep_Tool::Curve(TopoDS::Edge(ex.Current()), loc, first, last);
      if (curve.IsNull()) return false;
      if (!loc.IsIdentity()) curve = Handle(Geom_Curve)::DownCast(curve->Transformed(loc.Transformation()));
      ex.Next();
      if (ex.More()) {
        // Several edges: keep them as one B-spline chain through approximation
        // is not worth it; take the poly-curve of the pieces.
        PolyCurveT poly;
        double t = 0;
        poly.params.push_back(t);
        for (TopExp_Explorer all(shape, TopAbs_EDGE); all.More(); all.Next()) {
          double f, l;
          TopLoc_Location lo;
          Handle(Geom_Curve) c = BRep_Tool::Curve(TopoDS::Edge(all.Current()), lo, f, l);
          if (c.IsNull()) continue;
          if (!lo.IsIdentity()) c = Handle(Geom_Curve)::DownCast(c->Transformed(lo.Transformation()));
          if (factor != 1.0) c = Handle(Geom_Curve)::DownCast(c->Scaled(gp::Origin(), 1.0 / factor));
          c = TransformCurve(c, placement, f, l);
          auto seg = std::make_unique<CurveT>();
          if (!CurveToModel(c, f, l, seg->geometry)) continue;
          poly.segments.push_back(std::move(seg));
          t += 1.0;
          poly.params.push_back(t);
        }
        if (poly.segments.empty()) return false;
        out.Set(std::move(poly));
        return true;
      }
    } else {
      IGESToBRep_BasicCurve basic(settings);
      curve = basic.TransferBasicCurve(e);
      if (curve.IsNull()) return false;
      first = curve->FirstParameter();
      last = curve->LastParameter();
    }
    if (factor != 1.0) {
      double f = first, l = last;
      gp_Trsf unscale;
      unscale.SetScale(gp::Origin(), 1.0 / factor);
      curve = Handle(Geom_Curve)::DownCast(curve->Transformed(unscale));
      first = curve->TransformedParameter(f, unscale);
      last = curve->TransformedParameter(l, unscale);
    }
    curve = TransformCurve(curve, placement, first, last);
    return CurveToModel(curve, first, last, out);
  }
  if (type == 106) {
    auto copious = Handle(IGESGeom_CopiousData)::DownCast(e);
    if (copious.IsNull() || copious->NbPoints() < 2) return false;
    PolylineCurveT pl;
    for (int i = 1; i <= copious->NbPoints(); ++i) {
      pl.points.push_back(ToVec3(Apply(placement, copious->Point(i).XYZ())));
      pl.params.push_back(i - 1.0);
    }
    out.Set(std::move(pl));
    return true;
  }
  return false;
}

bool Mapper::MapPoint(const Entity& e, const gp_GTrsf& placement, int mode, std::vector<Uuid>& made) {
  auto point = Handle(IGESGeom_Point)::DownCast(e);
  if (point.IsNull()) {
    Skip(e);
    return false;
  }
  made.push_back(Emit(e, MakePoint(ToVec3(Apply(placement, point->Value().XYZ()))), mode));
  return true;
}

bool Mapper::MapCopious(const Entity& e, const gp_GTrsf& placement, int mode, std::vector<Uuid>& made) {
  // Forms 20 to 40 are read by Open CASCADE as centre lines, sections and
  // witness lines; all hold a list of points.
  std::vector<Vec3> points;
  auto collect = [&](const auto& data) {
    if (data.IsNull()) return false;
    for (int i = 1; i <= data->NbPoints(); ++i) points.push_back(ToVec3(Apply(placement, data->Point(i).XYZ())));
    return true;
  };
  if (!collect(Handle(IGESGeom_CopiousData)::DownCast(e)) && !collect(Handle(IGESDimen_Section)::DownCast(e)) &&
      !collect(Handle(IGESDimen_CenterLine)::DownCast(e)) && !collect(Handle(IGESDimen_WitnessLine)::DownCast(e)))
    return false;
  const int form = e->FormNumber(), n = static_cast<int>(points.size());
  if (form <= 3) {
    if (points.empty()) return false;
    GeometryUnion g;
    PointCloudT cloud;
    cloud.points = std::move(points);
    g.Set(std::move(cloud));
    made.push_back(Emit(e, std::move(g), mode));
    return true;
  }
  if (form >= 31 && form <= 38) {
    // Section lines: the points pair up into separate segments.
    for (int i = 0; i + 1 < n; i += 2) made.push_back(Emit(e, MakeLine(points[i], points[i + 1]), mode));
    return n >= 2;
  }
  if (form == 40 && points.size() >= 3) {
    // A witness line starts with its gap, which is not drawn.
    points.erase(points.begin());
  }
  if (points.size() < 2) return false;
  if (form == 63) {
    const Vec3 &a = points.front(), &b = points.back();
    if (a.x() != b.x() || a.y() != b.y() || a.z() != b.z()) points.push_back(a);
  }
  made.push_back(Emit(e, MakePolyline(points), mode));
  return true;
}

}  // namespace kelv::iges
