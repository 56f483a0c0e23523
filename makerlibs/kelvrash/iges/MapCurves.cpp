#include <algorithm>
#include <cmath>
#include <deque>
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

#include "MapCurves.h"

#include "GeomToModel.h"

namespace kelv::iges {

using namespace kelv::model;

namespace {

gp_XYZ Apply(const gp_GTrsf& t, gp_XYZ p) {
  t.Transforms(p);
  return p;
}


// Start or end of a curve piece as the model keeps it (B-splines from the
// conversion are clamped, so their ends are their end control points).
bool EndOf(const CurveGeometryUnion& g, bool last, gp_XYZ& p) {
  auto xyz = [](const Vec3& v) { return gp_XYZ(v.x(), v.y(), v.z()); };
  if (auto* l = g.AsLineCurve()) {
    p = xyz(last ? l->to : l->from);
    return true;
  }
  if (auto* pl = g.AsPolylineCurve()) {
    if (pl->points.empty()) return false;
    p = xyz(last ? pl->points.back() : pl->points.front());
    return true;
  }
  if (auto* a = g.AsArcCurve()) {
    double t = last ? a->angle.t1() : a->angle.t0();
    p = xyz(a->plane.origin()) +
        (xyz(a->plane.xaxis()) * std::cos(t) + xyz(a->plane.yaxis()) * std::sin(t)) * a->radius;
    return true;
  }
  if (auto* n = g.AsNurbsCurve()) {
    const int stride = n->dim + (n->is_rat ? 1 : 0);
    if (n->cv_count < 1 || n->dim < 2 || n->cv.size() < static_cast<size_t>(stride * n->cv_count)) return false;
    const size_t i = last ? static_cast<size_t>((n->cv_count - 1) * stride) : 0;
    const double w = n->is_rat ? n->cv[i + static_cast<size_t>(n->dim)] : 1.0;
    if (w == 0.0) return false;
    p = gp_XYZ(n->cv[i] / w, n->cv[i + 1] / w, n->dim > 2 ? n->cv[i + 2] / w : 0.0);
    return true;
  }
  return false;
}

// Runs a piece the other way, over the same domain.
void Reverse(CurveGeometryUnion& g) {
  if (auto* l = g.AsLineCurve()) {
    std::swap(l->from, l->to);
  } else if (auto* pl = g.AsPolylineCurve()) {
    std::reverse(pl->points.begin(), pl->points.end());
    if (!pl->params.empty()) {
      const double sum = pl->params.front() + pl->params.back();
      std::reverse(pl->params.begin(), pl->params.end());
      for (double& t : pl->params) t = sum - t;
    }
  } else if (auto* a = g.AsArcCurve()) {
    // Mirroring the plane's y axis runs the arc backwards over negated angles.
    const Vec3 &y = a->plane.yaxis(), &z = a->plane.zaxis();
    a->plane = Plane(a->plane.origin(), a->plane.xaxis(), Vec3(-y.x(), -y.y(), -y.z()), Vec3(-z.x(), -z.y(), -z.z()));
    a->angle = Interval(-a->angle.t1(), -a->angle.t0());
  } else if (auto* n = g.AsNurbsCurve()) {
    const size_t stride = static_cast<size_t>(n->dim + (n->is_rat ? 1 : 0));
    const size_t count = static_cast<size_t>(n->cv_count);
    if (count * stride > n->cv.size()) return;
    for (size_t i = 0, j = count - 1; i < j; ++i, --j)
      std::swap_ranges(n->cv.begin() + static_cast<long>(i * stride), n->cv.begin() + static_cast<long>((i + 1) * stride),
                       n->cv.begin() + static_cast<long>(j * stride));
    if (!n->knots.empty()) {
      const double sum = n->knots.front() + n->knots.back();
      std::reverse(n->knots.begin(), n->knots.end());
      for (double& k : n->knots) k = sum - k;
    }
  }
}

// Moves the start or end of a piece onto p, where the piece allows it
// (arcs keep their shape), so that joined pieces meet exactly.
bool MoveEnd(CurveGeometryUnion& g, bool last, const gp_XYZ& p) {
  const Vec3 v(p.X(), p.Y(), p.Z());
  if (auto* l = g.AsLineCurve()) {
    (last ? l->to : l->from) = v;
    return true;
  }
  if (auto* pl = g.AsPolylineCurve()) {
    if (pl->points.empty()) return false;
    (last ? pl->points.back() : pl->points.front()) = v;
    return true;
  }
  if (auto* n = g.AsNurbsCurve()) {
    const int stride = n->dim + (n->is_rat ? 1 : 0);
    if (n->cv_count < 1 || n->dim < 3 || n->cv.size() < static_cast<size_t>(stride * n->cv_count)) return false;
    const size_t i = last ? static_cast<size_t>((n->cv_count - 1) * stride) : 0;
    const double w = n->is_rat ? n->cv[i + 3] : 1.0;
    n->cv[i] = p.X() * w;
    n->cv[i + 1] = p.Y() * w;
    n->cv[i + 2] = p.Z() * w;
    return true;
  }
  return false;
}

// Orders the pieces of a composite curve into chains that run head to tail
// within 'tol', turning pieces where needed. The first chain starts with the
// first piece; each chain grows at its end, then at its start, taking the
// piece listed next where it fits, else the nearest fitting piece (the
// earliest listed on a tie).
std::vector<std::vector<CurveGeometryUnion>> Chains(std::vector<CurveGeometryUnion> pieces, double tol) {
  struct Piece {
    CurveGeometryUnion g;
    gp_XYZ s, e;
    bool ends = false, used = false;
  };
  std::vector<Piece> all(pieces.size());
  for (size_t i = 0; i < pieces.size(); ++i) {
    all[i].g = std::move(pieces[i]);
    all[i].ends = EndOf(all[i].g, false, all[i].s) && EndOf(all[i].g, true, all[i].e);
  }
  std::vector<std::vector<CurveGeometryUnion>> chains;
  for (size_t first = 0; first < all.size(); ++first) {
    if (all[first].used) continue;
    all[first].used = true;
    std::deque<size_t> chain{first};
    if (all[first].ends) {
      gp_XYZ head = all[first].s, tail = all[first].e;
      for (bool atTail : {true, false}) {
        for (;;) {
          const gp_XYZ& at = atTail ? tail : head;
          size_t best = all.size();
          bool flip = false;
          double bestGap = INFINITY;
          auto consider = [&](size_t i) {
            if (all[i].used || !all[i].ends) return;
            // At the tail a piece should start there; at the head end there.
            const double straight = ((atTail ? all[i].s : all[i].e) - at).Modulus();
            const double turned = ((atTail ? all[i].e : all[i].s) - at).Modulus();
            if (straight <= tol && straight < bestGap) best = i, flip = false, bestGap = straight;
            if (turned <= tol && turned < bestGap) best = i, flip = true, bestGap = turned;
          };
          // The piece listed next is the path the file means where it fits;
          // only a misfit searches the others.
          if (atTail && chain.back() + 1 < all.size()) consider(chain.back() + 1);
          if (best == all.size())
            for (size_t i = 0; i < all.size(); ++i) consider(i);
          if (best == all.size()) break;
          Piece& p = all[best];
          p.used = true;
          if (flip) {
            Reverse(p.g);
            std::swap(p.s, p.e);
          }
          if (atTail) {
            chain.push_back(best);
            tail = p.e;
          } else {
            chain.push_front(best);
            head = p.s;
          }
        }
      }
    }
    std::vector<CurveGeometryUnion> pieceChain;
    for (size_t i = 0; i < chain.size(); ++i) {
      Piece& p = all[chain[i]];
      if (i > 0) {
        // Close the small gap the tolerance allowed: move this piece's start,
        // or the previous piece's end when this one is an arc.
        const gp_XYZ end = all[chain[i - 1]].e;
        if (!MoveEnd(p.g, false, end)) MoveEnd(pieceChain.back(), true, p.s);
      }
      pieceChain.push_back(std::move(p.g));
    }
    chains.push_back(std::move(pieceChain));
  }
  return chains;
}

double ParamLength(const CurveGeometryUnion& g) {
  double len = 1.0;
  if (auto* l = g.AsLineCurve()) len = l->domain.t1() - l->domain.t0();
  else if (auto* a = g.AsArcCurve()) len = a->domain.t1() - a->domain.t0();
  return len > 0 ? len : 1.0;
}

// One piece as it is, several as a poly-curve.
CurveGeometryUnion JoinChain(std::vector<CurveGeometryUnion> chain) {
  if (chain.size() == 1) return std::move(chain[0]);
  PolyCurveT poly;
  double t = 0.0;
  poly.params.push_back(t);
  for (auto& g : chain) {
    t += ParamLength(g);
    auto c = std::make_unique<CurveT>();
    c->geometry = std::move(g);
    poly.segments.push_back(std::move(c));
    poly.params.push_back(t);
  }
  CurveGeometryUnion out;
  out.Set(std::move(poly));
  return out;
}

}  // namespace

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
  if (!(bs->Knot(k + 1) > bs->Knot(-m))) return ctx_.Fail("has a degenerate B-spline curve (empty knot range): " + what);
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
