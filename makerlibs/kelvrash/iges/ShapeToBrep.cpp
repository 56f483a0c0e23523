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

// A B-rep filled face by face: vertices first, edges as the faces' trims
// reach them.
class BrepBuilder {
 public:
  BrepBuilder(const TopoDS_Shape& shape, BrepT& out);
  // False when the face cannot come over with every loop and every trim.
  bool AddFace(const TopoDS_Face& face);

 private:
  int VertexIndex(const TopoDS_Vertex& v) const { return v.IsNull() ? -1 : vertices_.FindIndex(v) - 1; }
  // The edge (in its own, forward sense) with its 3D curve; -1 when it has
  // none that the model can hold.
  int EdgeIndex(const TopoDS_Edge& e);
  int AddEdge(const TopoDS_Edge& e);
  // A loop with a trim for every edge of the wire, or false.
  bool LoopOf(const TopoDS_Face& face, const TopoDS_Wire& wire, int loopIndex, BrepLoopT& loop);
  bool AddTrim(const TopoDS_Face& face, const TopoDS_Edge& edge, int loopIndex, BrepLoopT& loop);

  BrepT& out_;
  TopTools_IndexedMapOfShape vertices_, edges_;
  TopTools_IndexedDataMapOfShapeListOfShape edgeFaces_;
  std::vector<int> edgeIndexOf_;  // by map index of 'edges_'
};

// The parameter domain of a NURBS curve in openNURBS' knot layout.
Interval NurbsDomain(const NurbsCurveT& n) {
  int d = n.order - 1;
  return Interval(n.knots[static_cast<size_t>(d - 1)], n.knots[static_cast<size_t>(n.cv_count - 1)]);
}

BrepBuilder::BrepBuilder(const TopoDS_Shape& shape, BrepT& out) : out_(out) {
  TopExp::MapShapes(shape, TopAbs_VERTEX, vertices_);
  TopExp::MapShapesAndAncestors(shape, TopAbs_EDGE, TopAbs_FACE, edgeFaces_);
  for (int i = 1; i <= vertices_.Extent(); ++i) {
    const TopoDS_Vertex& v = TopoDS::Vertex(vertices_(i));
    auto bv = std::make_unique<BrepVertexT>();
    bv->point = ToVec3(BRep_Tool::Pnt(v));
    bv->tolerance = BRep_Tool::Tolerance(v);
    out_.vertices.push_back(std::move(bv));
  }
}

int BrepBuilder::EdgeIndex(const TopoDS_Edge& e) {
  int k = edges_.FindIndex(e.Oriented(TopAbs_FORWARD));
  if (k > 0) return edgeIndexOf_[static_cast<size_t>(k - 1)];
  edges_.Add(e.Oriented(TopAbs_FORWARD));
  const int result = BRep_Tool::Degenerated(e) ? -1 : AddEdge(e);
  edgeIndexOf_.push_back(result);
  return result;
}

int BrepBuilder::AddEdge(const TopoDS_Edge& e) {
  double first = 0, last = 0;
  Handle(Geom_Curve) c = EdgeCurve(e, first, last);
  auto curve = std::make_unique<CurveT>();
  if (c.IsNull() || !CurveToModel(c, first, last, curve->geometry)) return -1;
  auto be = std::make_unique<BrepEdgeT>();
  be->curve3d = static_cast<int>(out_.curves3d.size());
  out_.curves3d.push_back(std::move(curve));
  TopoDS_Vertex v0, v1;
  TopExp::Vertices(TopoDS::Edge(e.Oriented(TopAbs_FORWARD)), v0, v1);
  be->vertex0 = VertexIndex(v0);
  be->vertex1 = VertexIndex(v1);
  be->tolerance = BRep_Tool::Tolerance(e);
  const auto& g = out_.curves3d.back()->geometry;
  if (auto* l = g.AsLineCurve()) be->domain = l->domain;
  else if (auto* a = g.AsArcCurve()) be->domain = a->domain;
  else if (auto* n = g.AsNurbsCurve()) be->domain = NurbsDomain(*n);
  const int result = static_cast<int>(out_.edges.size());
  if (be->vertex0 >= 0) out_.vertices[static_cast<size_t>(be->vertex0)]->edges.push_back(result);
  if (be->vertex1 >= 0 && be->vertex1 != be->vertex0)
    out_.vertices[static_cast<size_t>(be->vertex1)]->edges.push_back(result);
  out_.edges.push_back(std::move(be));
  return result;
}

bool BrepBuilder::AddTrim(const TopoDS_Face& face, const TopoDS_Edge& edge, int loopIndex, BrepLoopT& loop) {
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
  trim->curve2d = static_cast<int>(out_.curves2d.size());
  if (auto* n = c2->geometry.AsNurbsCurve()) trim->domain = NurbsDomain(*n);
  out_.curves2d.push_back(std::move(c2));
  trim->loop = loopIndex;
  trim->rev3d = reversed;
  TopoDS_Vertex a = TopExp::FirstVertex(edge, Standard_True), b = TopExp::LastVertex(edge, Standard_True);
  trim->vertex0 = VertexIndex(a);
  trim->vertex1 = VertexIndex(b);
  trim->tolerance_u = trim->tolerance_v = BRep_Tool::Tolerance(edge);
  if (BRep_Tool::Degenerated(edge)) {
    trim->edge = -1;
    trim->type = kTrimSingular;
  } else {
    trim->edge = EdgeIndex(edge);
    if (trim->edge < 0) return false;
    int faces = edgeFaces_.Contains(edge) ? edgeFaces_.FindFromKey(edge).Extent() : 1;
    trim->type = BRep_Tool::IsClosed(edge, face) ? kTrimSeam : faces > 1 ? kTrimMated : kTrimBoundary;
  }
  const int trimIndex = static_cast<int>(out_.trims.size());
  if (trim->edge >= 0) out_.edges[static_cast<size_t>(trim->edge)]->trims.push_back(trimIndex);
  loop.trims.push_back(trimIndex);
  out_.trims.push_back(std::move(trim));
  return true;
}

bool BrepBuilder::LoopOf(const TopoDS_Face& face, const TopoDS_Wire& wire, int loopIndex, BrepLoopT& loop) {
  int walked = 0;
  for (BRepTools_WireExplorer ex(wire, face); ex.More(); ex.Next(), ++walked)
    if (!AddTrim(face, ex.Current(), loopIndex, loop)) return false;
  // The walk follows the edges end to end; one it cannot reach leaves
  // the loop open.
  int edgesOfWire = 0;
  for (TopoDS_Iterator it(wire); it.More(); it.Next()) ++edgesOfWire;
  return walked == edgesOfWire && !loop.trims.empty();
}

bool BrepBuilder::AddFace(const TopoDS_Face& face) {
  TopLoc_Location loc;
  Handle(Geom_Surface) s = BRep_Tool::Surface(face, loc);
  if (s.IsNull()) return false;
  if (!loc.IsIdentity()) s = Handle(Geom_Surface)::DownCast(s->Transformed(loc.Transformation()));
  double u0, u1, v0, v1;
  BRepTools::UVBounds(face, u0, u1, v0, v1);
  // A boundary that runs back along itself encloses nothing: such a
  // face has no area to carry.
  if (!(u1 > u0) || !(v1 > v0)) return true;
  auto surface = std::make_unique<SurfaceT>();
  if (!SurfaceToModel(s, u0, u1, v0, v1, surface->geometry)) return false;
  const int faceIndex = static_cast<int>(out_.faces.size());
  auto bf = std::make_unique<BrepFaceT>();
  bf->surface = static_cast<int>(out_.surfaces.size());
  bf->rev = face.Orientation() == TopAbs_REVERSED;
  out_.surfaces.push_back(std::move(surface));

  TopoDS_Wire outer = BRepTools::OuterWire(face);
  std::vector<std::unique_ptr<BrepLoopT>> loops;
  for (TopExp_Explorer wx(face, TopAbs_WIRE); wx.More(); wx.Next()) {
    const TopoDS_Wire& wire = TopoDS::Wire(wx.Current());
    auto loop = std::make_unique<BrepLoopT>();
    loop->face = faceIndex;
    loop->type = wire.IsSame(outer) ? kLoopOuter : kLoopInner;
    if (!LoopOf(face, wire, static_cast<int>(out_.loops.size() + loops.size()), *loop)) return false;
    loops.push_back(std::move(loop));
  }
  if (loops.empty()) return false;
  // The outer loop comes first, as openNURBS expects.
  std::stable_partition(loops.begin(), loops.end(), [](const auto& l) { return l->type == kLoopOuter; });
  for (auto& loop : loops) {
    int index = static_cast<int>(out_.loops.size());
    for (int t : loop->trims) out_.trims[static_cast<size_t>(t)]->loop = index;
    bf->loops.push_back(index);
    out_.loops.push_back(std::move(loop));
  }
  out_.faces.push_back(std::move(bf));
  return true;
}

}  // namespace

bool ShapeToBrep(const TopoDS_Shape& shape, BrepT& out) {
  out = BrepT();
  BrepBuilder builder(shape, out);
  // A face either comes over with every loop and every trim, or the shape
  // is refused: a B-rep missing a boundary is a different B-rep.
  for (TopExp_Explorer fx(shape, TopAbs_FACE); fx.More(); fx.Next()) {
    try {
      if (!builder.AddFace(TopoDS::Face(fx.Current()))) return false;
    } catch (const Standard_Failure&) {
      return false;
    }
  }
  return !out.faces.empty();
}

}  // namespace kelv::iges
