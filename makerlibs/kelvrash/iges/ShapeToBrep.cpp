#include "ShapeToBrep.h"

#include <BRepTools.hxx>
#include <BRepTools_WireExplorer.hxx>
#include <BRep_Tool.hxx>
#include <Geom2d_Curve.hxx>
#include <Geom_Surface.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>

#include "GeomToModel.h"

namespace kelv::iges {

using namespace kelv::model;

namespace {

// openNURBS trim and loop types.
enum : int { kTrimBoundary = 1, kTrimMated = 2, kTrimSeam = 3, kTrimSingular = 4 };
enum : int { kLoopOuter = 1, kLoopInner = 2 };

}  // namespace

bool ShapeToBrep(const TopoDS_Shape& shape, BrepT& out) {
  out = BrepT();
  TopTools_IndexedMapOfShape vertices, edges;
  TopTools_IndexedDataMapOfShapeListOfShape edgeFaces;
  TopExp::MapShapes(shape, TopAbs_VERTEX, vertices);
  TopExp::MapShapesAndAncestors(shape, TopAbs_EDGE, TopAbs_FACE, edgeFaces);

  for (int i = 1; i <= vertices.Extent(); ++i) {
    const TopoDS_Vertex& v = TopoDS::Vertex(vertices(i));
    auto bv = std::make_unique<BrepVertexT>();
    bv->point = ToVec3(BRep_Tool::Pnt(v));
    bv->tolerance = BRep_Tool::Tolerance(v);
    out.vertices.push_back(std::move(bv));
  }
  auto vertexIndex = [&](const TopoDS_Vertex& v) { return v.IsNull() ? -1 : vertices.FindIndex(v) - 1; };

  // Edges with their 3D curves, in their own (forward) sense.
  std::vector<int> edgeIndexOf;  // by map index of 'edges'
  auto edgeIndex = [&](const TopoDS_Edge& e) -> int {
    int k = edges.FindIndex(e.Oriented(TopAbs_FORWARD));
    if (k > 0) return edgeIndexOf[static_cast<size_t>(k - 1)];
    edges.Add(e.Oriented(TopAbs_FORWARD));
    int result = -1;
    if (!BRep_Tool::Degenerated(e)) {
      double first = 0, last = 0;
      Handle(Geom_Curve) c = EdgeCurve(e, first, last);
      auto curve = std::make_unique<CurveT>();
      if (!c.IsNull()) {
        if (CurveToModel(c, first, last, curve->geometry)) {
          auto be = std::make_unique<BrepEdgeT>();
          be->curve3d = static_cast<int>(out.curves3d.size());
          out.curves3d.push_back(std::move(curve));
          TopoDS_Vertex v0, v1;
          TopExp::Vertices(TopoDS::Edge(e.Oriented(TopAbs_FORWARD)), v0, v1);
          be->vertex0 = vertexIndex(v0);
          be->vertex1 = vertexIndex(v1);
          be->tolerance = BRep_Tool::Tolerance(e);
          const auto& g = out.curves3d.back()->geometry;
          if (auto* l = g.AsLineCurve()) be->domain = l->domain;
          else if (auto* a = g.AsArcCurve()) be->domain = a->domain;
          else if (auto* n = g.AsNurbsCurve()) {
            int d = n->order - 1;
            be->domain = Interval(n->knots[static_cast<size_t>(d - 1)], n->knots[static_cast<size_t>(n->cv_count - 1)]);
          }
          result = static_cast<int>(out.edges.size());
          if (be->vertex0 >= 0) out.vertices[static_cast<size_t>(be->vertex0)]->edges.push_back(result);
          if (be->vertex1 >= 0 && be->vertex1 != be->vertex0)
            out.vertices[static_cast<size_t>(be->vertex1)]->edges.push_back(result);
          out.edges.push_back(std::move(be));
        }
      }
    }
    edgeIndexOf.push_back(result);
    return result;
  };

  // A face either comes over with every loop and every trim, or the shape
  // is refused: a B-rep missing a boundary is a different B-rep.
  for (TopExp_Explorer fx(shape, TopAbs_FACE); fx.More(); fx.Next()) {
    const TopoDS_Face& face = TopoDS::Face(fx.Current());
    try {
      TopLoc_Location loc;
      Handle(Geom_Surface) s = BRep_Tool::Surface(face, loc);
      if (s.IsNull()) return false;
      if (!loc.IsIdentity()) s = Handle(Geom_Surface)::DownCast(s->Transformed(loc.Transformation()));
      double u0, u1, v0, v1;
      BRepTools::UVBounds(face, u0, u1, v0, v1);
      // A boundary that runs back along itself encloses nothing: such a
      // face has no area to carry.
      if (!(u1 > u0) || !(v1 > v0)) continue;
      auto surface = std::make_unique<SurfaceT>();
      if (!SurfaceToModel(s, u0, u1, v0, v1, surface->geometry)) return false;
      const int faceIndex = static_cast<int>(out.faces.size());
      auto bf = std::make_unique<BrepFaceT>();
      bf->surface = static_cast<int>(out.surfaces.size());
      bf->rev = face.Orientation() == TopAbs_REVERSED;
      out.surfaces.push_back(std::move(surface));

      TopoDS_Wire outer = BRepTools::OuterWire(face);
      std::vector<std::unique_ptr<BrepLoopT>> loops;
      for (TopExp_Explorer wx(face, TopAbs_WIRE); wx.More(); wx.Next()) {
        const TopoDS_Wire& wire = TopoDS::Wire(wx.Current());
        auto loop = std::make_unique<BrepLoopT>();
        loop->face = faceIndex;
        loop->type = wire.IsSame(outer) ? kLoopOuter : kLoopInner;
        const int loopIndex = static_cast<int>(out.loops.size() + loops.size());
        int walked = 0;
        for (BRepTools_WireExplorer ex(wire, face); ex.More(); ex.Next(), ++walked) {
          const TopoDS_Edge& edge = ex.Current();
          double f = 0, l = 0;
          Handle(Geom2d_Curve) pc = BRep_Tool::CurveOnSurface(edge, face, f, l);
          if (pc.IsNull()) return false;
          bool reversed = edge.Orientation() == TopAbs_REVERSED;
          if (reversed) {
            double nf = pc->ReversedParameter(l), nl = pc->ReversedParameter(f);
            pc = pc->Reversed();
            f = nf;
            l = nl;
          }
          auto c2 = std::make_unique<CurveT>();
          if (!Curve2dToModel(pc, f, l, c2->geometry)) return false;
          auto trim = std::make_unique<BrepTrimT>();
          trim->curve2d = static_cast<int>(out.curves2d.size());
          if (auto* n = c2->geometry.AsNurbsCurve()) {
            int d = n->order - 1;
            trim->domain = Interval(n->knots[static_cast<size_t>(d - 1)], n->knots[static_cast<size_t>(n->cv_count - 1)]);
          }
          out.curves2d.push_back(std::move(c2));
          trim->loop = loopIndex;
          trim->rev3d = reversed;
          TopoDS_Vertex a = TopExp::FirstVertex(edge, Standard_True), b = TopExp::LastVertex(edge, Standard_True);
          trim->vertex0 = vertexIndex(a);
          trim->vertex1 = vertexIndex(b);
          trim->tolerance_u = trim->tolerance_v = BRep_Tool::Tolerance(edge);
          if (BRep_Tool::Degenerated(edge)) {
            trim->edge = -1;
            trim->type = kTrimSingular;
          } else {
            trim->edge = edgeIndex(edge);
            if (trim->edge < 0) return false;
            int faces = edgeFaces.Contains(edge) ? edgeFaces.FindFromKey(edge).Extent() : 1;
            trim->type = BRep_Tool::IsClosed(edge, face) ? kTrimSeam : faces > 1 ? kTrimMated : kTrimBoundary;
          }
          const int trimIndex = static_cast<int>(out.trims.size());
          if (trim->edge >= 0) out.edges[static_cast<size_t>(trim->edge)]->trims.push_back(trimIndex);
          loop->trims.push_back(trimIndex);
          out.trims.push_back(std::move(trim));
        }
        // The walk follows the edges end to end; one it cannot reach leaves
        // the loop open.
        int edgesOfWire = 0;
        for (TopoDS_Iterator it(wire); it.More(); it.Next()) ++edgesOfWire;
        if (walked != edgesOfWire || loop->trims.empty()) return false;
        loops.push_back(std::move(loop));
      }
      if (loops.empty()) return false;
      // The outer loop comes first, as openNURBS expects.
      std::stable_partition(loops.begin(), loops.end(), [](const auto& l) { return l->type == kLoopOuter; });
      for (auto& loop : loops) {
        int index = static_cast<int>(out.loops.size());
        for (int t : loop->trims) out.trims[static_cast<size_t>(t)]->loop = index;
        bf->loops.push_back(index);
        out.loops.push_back(std::move(loop));
      }
      out.faces.push_back(std::move(bf));
    } catch (const Standard_Failure&) {
      return false;
    }
  }
  return !out.faces.empty();
}

}  // namespace kelv::iges
