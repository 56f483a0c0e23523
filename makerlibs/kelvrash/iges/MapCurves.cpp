#include "MapCurves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

#include "CurveChains.h"
#include "GeomToModel.h"

namespace kelv::iges {

using namespace kelv::model;

bool CurveMapper::MapCurve(const Entity& e, const Placing& at, Made& made) {
  CurveGeometryUnion curve;
  if (!CurveOf(e, ctx_.Placement(e, at.parent), curve, 0)) {
    if (!ctx_.Failed()) ctx_.Skip(e);
    return false;
  }
  EmitCurve(e, std::move(curve), at.mode, made);
  return true;
}

bool CurveMapper::CheckBSpline(const Entity& e) {
  auto bs = Handle(IGESGeom_BSplineCurve)::DownCast(e);
  if (bs.IsNull()) return true;
  const int k = bs->UpperIndex(), m = bs->Degree();
  const std::string what = ctx_.Describe(e);
  if (k < m || m < 1) return ctx_.Fail("has a degenerate B-spline curve: " + what);
  for (int i = -m + 1; i <= k + 1; ++i)
    if (bs->Knot(i) < bs->Knot(i - 1)) return ctx_.Fail("has a degenerate B-spline curve (decreasing knots): " + what);
  if (!(bs->Knot(k + 1) > bs->Knot(-m)))
    return ctx_.Fail("has a degenerate B-spline curve (empty knot range): " + what);
  for (int i = 0; i <= k; ++i)
    if (!(bs->Weight(i) > 0.0))
      return ctx_.Fail("has a degenerate B-spline curve (weight not positive): " + what);
  for (int i = 0; i <= k; ++i) {
    gp_Pnt p = bs->Pole(i);
    if (!std::isfinite(p.X()) || !std::isfinite(p.Y()) || !std::isfinite(p.Z()))
      return ctx_.Fail("has a degenerate B-spline curve (control point not a number): " + what);
  }
  return true;
}

bool CurveMapper::CurveOf(const Entity& e, const gp_GTrsf& placement, CurveGeometryUnion& out, int depth) {
  // Loose pieces belong to the curve asked for last: a caller that does not
  // emit them (boundaries of surfaces) leaves none to the next.
  if (depth == 0) looseCurves_.clear();
  if (e.IsNull() || ctx_.Broken(e)) return false;
  if (depth > igesread::kMaxNesting) return ctx_.Fail("has composite curves nested deeper than 64 levels");
  switch (TypeOf(e)) {
    case IgesType::Line: return LineOf(Handle(IGESGeom_Line)::DownCast(e), placement, out);
    case IgesType::CircularArc: return ArcOf(Handle(IGESGeom_CircularArc)::DownCast(e), placement, out);
    case IgesType::CompositeCurve:
      return CompositeOf(Handle(IGESGeom_CompositeCurve)::DownCast(e), placement, out, depth);
    case IgesType::RationalBSplineCurve:
      return CheckBSpline(e) && BasicCurveOf(e, placement, out);
    case IgesType::ConicArc:
    case IgesType::ParametricSplineCurve: return BasicCurveOf(e, placement, out);
    case IgesType::OffsetCurve: return OffsetCurveOf(e, placement, out);
    case IgesType::CopiousData: return CopiousCurveOf(Handle(IGESGeom_CopiousData)::DownCast(e), placement, out);
    default: return false;
  }
}

bool CurveMapper::LineOf(const Handle(IGESGeom_Line)& line, const gp_GTrsf& placement, CurveGeometryUnion& out) {
  if (line.IsNull()) return false;
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

bool CurveMapper::ArcOf(const Handle(IGESGeom_CircularArc)& arc, const gp_GTrsf& placement,
                        CurveGeometryUnion& out) {
  if (arc.IsNull()) return false;
  gp_Pnt2d c = arc->Center(), s = arc->StartPoint(), en = arc->EndPoint();
  double r = c.Distance(s);
  if (!(r > 0.0) || !std::isfinite(r)) return false;
  double a0 = std::atan2(s.Y() - c.Y(), s.X() - c.X());
  double a1 = std::atan2(en.Y() - c.Y(), en.X() - c.X());
  if (s.Distance(en) <= 1e-12 * std::max(1.0, r)) {
    a1 = a0 + 2 * std::numbers::pi;
  } else {
    while (a1 <= a0) a1 += 2 * std::numbers::pi;
  }
  Handle(Geom_Curve) circle =
      new Geom_Circle(gp_Ax2(gp_Pnt(c.X(), c.Y(), arc->ZPlane()), gp_Dir(0, 0, 1), gp_Dir(1, 0, 0)), r);
  double first = a0, last = a1;
  Handle(Geom_Curve) moved = TransformCurve(circle, placement, first, last);
  return CurveToModel(moved, first, last, out);
}

bool CurveMapper::CompositeOf(const Handle(IGESGeom_CompositeCurve)& composite, const gp_GTrsf& placement,
                              CurveGeometryUnion& out, int depth) {
  if (composite.IsNull()) return false;
  std::vector<CurveGeometryUnion> pieces;
  if (!CompositePieces(composite, placement, pieces, depth)) return false;
  if (pieces.empty()) return false;
  double tol = ctx_.iges->GlobalSection().Resolution();
  if (!(tol > 0.0) || !std::isfinite(tol)) tol = 1e-6;
  std::vector<std::vector<CurveGeometryUnion>> chains = Chains(std::move(pieces), tol);
  out = JoinChain(std::move(chains[0]));
  // Pieces that meet no chain are kept as curves of their own.
  for (size_t i = 1; i < chains.size(); ++i) looseCurves_.push_back(JoinChain(std::move(chains[i])));
  return true;
}

bool CurveMapper::CompositePieces(const Handle(IGESGeom_CompositeCurve)& composite, const gp_GTrsf& placement,
                                  std::vector<CurveGeometryUnion>& pieces, int depth) {
  if (depth > igesread::kMaxNesting) return ctx_.Fail("has composite curves nested deeper than 64 levels");
  for (int i = 1; i <= composite->NbCurves(); ++i) {
    Entity part = composite->Curve(i);
    if (part.IsNull() || ctx_.Broken(part)) continue;
    if (TypeOf(part) == IgesType::Point) continue;  // a point between segments adds nothing to the path
    const gp_GTrsf at = placement.Multiplied(part->CompoundLocation());
    // Nested composites and poly-curves are flattened: a poly-curve keeps one level.
    if (auto inner = Handle(IGESGeom_CompositeCurve)::DownCast(part)) {
      if (!CompositePieces(inner, at, pieces, depth + 1)) return false;
      continue;
    }
    CurveGeometryUnion piece;
    if (!CurveOf(part, at, piece, depth + 1)) {
      if (ctx_.Failed()) return false;
      continue;
    }
    if (auto* poly = piece.AsPolyCurve()) {
      for (auto& seg : poly->segments) pieces.push_back(std::move(seg->geometry));
    } else {
      pieces.push_back(std::move(piece));
    }
  }
  return true;
}

void CurveMapper::TransferSettings(IGESToBRep_CurveAndSurface& settings) const {
  settings.SetModel(ctx_.iges);
  settings.SetTransferProcess(ctx_.process);
}

bool CurveMapper::BasicCurveOf(const Entity& e, const gp_GTrsf& placement, CurveGeometryUnion& out) {
  IGESToBRep_CurveAndSurface settings(1e-4, 1e-7, 1e-6, Standard_True, Standard_False, Standard_False);
  TransferSettings(settings);
  const double factor = settings.GetUnitFactor();
  IGESToBRep_BasicCurve basic(settings);
  Handle(Geom_Curve) curve = basic.TransferBasicCurve(e);
  if (curve.IsNull()) return false;
  return PlacedCurve(curve, curve->FirstParameter(), curve->LastParameter(), factor, placement, out);
}

bool CurveMapper::OffsetCurveOf(const Entity& e, const gp_GTrsf& placement, CurveGeometryUnion& out) {
  IGESToBRep_CurveAndSurface settings(1e-4, 1e-7, 1e-6, Standard_True, Standard_False, Standard_False);
  TransferSettings(settings);
  const double factor = settings.GetUnitFactor();
  // Offset curves come through the topological transfer.
  IGESToBRep_TopoCurve topo(settings);
  TopoDS_Shape shape = topo.TransferTopoCurve(e);
  if (shape.IsNull()) return false;
  TopExp_Explorer ex(shape, TopAbs_EDGE);
  if (!ex.More()) return false;
  double first = 0, last = 0;
  Handle(Geom_Curve) curve = EdgeCurve(TopoDS::Edge(ex.Current()), first, last);
  if (curve.IsNull()) return false;
  ex.Next();
  if (!ex.More()) return PlacedCurve(curve, first, last, factor, placement, out);
  // Several edges: keep them as one B-spline chain through approximation
  // is not worth it; take the poly-curve of the pieces.
  PolyCurveT poly;
  double t = 0;
  poly.params.push_back(t);
  for (TopExp_Explorer all(shape, TopAbs_EDGE); all.More(); all.Next()) {
    double f, l;
    Handle(Geom_Curve) c = EdgeCurve(TopoDS::Edge(all.Current()), f, l);
    if (c.IsNull()) continue;
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

bool CurveMapper::PlacedCurve(Handle(Geom_Curve) curve, double first, double last, double factor,
                              const gp_GTrsf& placement, CurveGeometryUnion& out) const {
  // The transfer works in millimetres; the model keeps the file's units.
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

bool CurveMapper::CopiousCurveOf(const Handle(IGESGeom_CopiousData)& copious, const gp_GTrsf& placement,
                                 CurveGeometryUnion& out) {
  if (copious.IsNull() || copious->NbPoints() < 2) return false;
  PolylineCurveT pl;
  for (int i = 1; i <= copious->NbPoints(); ++i) {
    pl.points.push_back(ToVec3(Apply(placement, copious->Point(i).XYZ())));
    pl.params.push_back(i - 1.0);
  }
  out.Set(std::move(pl));
  return true;
}

void CurveMapper::EmitCurve(const Entity& e, CurveGeometryUnion curve, ObjectMode mode, Made& made) {
  made.push_back(ctx_.Emit(e, MakeCurve(std::move(curve)), mode));
  for (auto& loose : looseCurves_) made.push_back(ctx_.Emit(e, MakeCurve(std::move(loose)), mode));
  looseCurves_.clear();
}

bool CurveMapper::MapPoint(const Handle(IGESGeom_Point)& point, const Placing& at, Made& made) {
  const gp_GTrsf placement = ctx_.Placement(point, at.parent);
  made.push_back(ctx_.Emit(point, MakePoint(ToVec3(Apply(placement, point->Value().XYZ()))), at.mode));
  return true;
}

namespace {

// Copious data of the forms the conversion draws: points, polylines and
// closed areas, and the centre lines, sections and witness lines that Open
// CASCADE reads from forms 20 to 40.
bool DrawnCopiousForm(int form) { return form == 40 || (form >= 20 && form <= 38) || form <= 13 || form == 63; }

}  // namespace

bool CurveMapper::MapCopious(const Entity& e, const Placing& at, Made& made) {
  if (!DrawnCopiousForm(e->FormNumber()) || !CopiousObjects(e, ctx_.Placement(e, at.parent), at.mode, made)) {
    ctx_.Skip(e);
    return false;
  }
  return true;
}

bool CurveMapper::CopiousObjects(const Entity& e, const gp_GTrsf& placement, ObjectMode mode, Made& made) {
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
    made.push_back(ctx_.Emit(e, std::move(g), mode));
    return true;
  }
  if (form >= 31 && form <= 38) {
    // Section lines: the points pair up into separate segments.
    for (int i = 0; i + 1 < n; i += 2) made.push_back(ctx_.Emit(e, MakeLine(points[i], points[i + 1]), mode));
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
  made.push_back(ctx_.Emit(e, MakePolyline(points), mode));
  return true;
}

}  // namespace kelv::iges
