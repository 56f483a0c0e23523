// Shapes as B-reps: analytic surfaces stay analytic and, read back through
// the model reader, give the same points for the same parameters as the
// Open CASCADE surface; trims and edges are complete.
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <Geom_Surface.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gp_Ax2.hxx>
#include <gp_Pln.hxx>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Kelv3dm.h"
#include "TestSupport.h"
#include "iges/ShapeToBrep.h"

using namespace testiges;
using namespace kelv::model;

namespace {

TopoDS_Shape Revolved() {
  // A quarter arc turned half way round a tilted axis: a general surface of
  // revolution.
  Handle(Geom_TrimmedCurve) arc = GC_MakeArcOfCircle(gp_Pnt(3, 0, 0), gp_Pnt(4, 0, 1), gp_Pnt(3, 0, 2)).Value();
  TopoDS_Edge edge = BRepBuilderAPI_MakeEdge(arc);
  return BRepPrimAPI_MakeRevol(edge, gp_Ax1(gp_Pnt(0, 0, 0), gp_Dir(0, 0.1, 1)), M_PI).Shape();
}

}  // namespace

TEST(BrepConversion, SurfacesReadBackWithTheSamePoints) {
  gp_Ax2 tilted(gp_Pnt(1, 2, 3), gp_Dir(1, 1, 1));
  struct Case {
    const char* name;
    TopoDS_Shape shape;
    const char* surfaceClass;
  } cases[] = {
      {"box", BRepPrimAPI_MakeBox(gp_Pnt(1, 2, 3), 4, 5, 6).Shape(), "ON_PlaneSurface"},
      {"cylinder", BRepPrimAPI_MakeCylinder(tilted, 2, 5).Shape(), "ON_RevSurface"},
      {"cone", BRepPrimAPI_MakeCone(tilted, 3, 1, 4).Shape(), "ON_RevSurface"},
      {"sphere", BRepPrimAPI_MakeSphere(tilted, 2.5).Shape(), "ON_RevSurface"},
      {"torus", BRepPrimAPI_MakeTorus(tilted, 5, 1).Shape(), "ON_RevSurface"},
      {"revolved", Revolved(), "ON_RevSurface"},
  };
  TempFolder dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BrepT brep;
    ASSERT_TRUE(kelv::iges::ShapeToBrep(c.shape, brep));
    ModelMaker m;
    GeometryUnion g;
    g.Set(brep);
    m.AddObject(std::move(g));
    std::string error;
    ASSERT_TRUE(m.Write(dir.File("b.k3m"), error));
    ON_3dmProperties props;
    ASSERT_EQ(Kelv3dm::ReadStart(CString(dir.File("b.k3m").c_str()), props), 1);
    auto* on = dynamic_cast<const ON_Brep*>(Kelv3dm::ReadGetObject(0));
    ASSERT_NE(on, nullptr);
    ON_TextLog log;
    EXPECT_TRUE(on->IsValid(&log)) << log.Text();

    int face = 0;
    bool sawClass = false;
    for (TopExp_Explorer ex(c.shape, TopAbs_FACE); ex.More(); ex.Next(), ++face) {
      const TopoDS_Face& f = TopoDS::Face(ex.Current());
      ASSERT_LT(face, on->FaceCount());
      const ON_Surface* s = on->m_F[face].SurfaceOf();
      ASSERT_NE(s, nullptr);
      sawClass = sawClass || std::string(ON_ObjectClassName(s)) == c.surfaceClass;
      Handle(Geom_Surface) gs = BRep_Tool::Surface(f);
      double u0, u1, v0, v1;
      BRepTools::UVBounds(f, u0, u1, v0, v1);
      for (double a : {0.1, 0.5, 0.9})
        for (double b : {0.2, 0.7}) {
          double u = u0 + a * (u1 - u0), v = v0 + b * (v1 - v0);
          gp_Pnt expected = gs->Value(u, v);
          ON_3dPoint got = s->PointAt(u, v);
          EXPECT_NEAR(got.x, expected.X(), 1e-9) << "face " << face << " u " << u << " v " << v;
          EXPECT_NEAR(got.y, expected.Y(), 1e-9);
          EXPECT_NEAR(got.z, expected.Z(), 1e-9);
        }
      // Every loop closes: each trim starts where the one before it ended.
      for (int li : on->m_F[face].m_li) {
        const ON_BrepLoop& loop = on->m_L[li];
        for (int k = 0; k < loop.m_ti.Count(); ++k) {
          const ON_BrepTrim& t0 = on->m_T[loop.m_ti[k]];
          const ON_BrepTrim& t1 = on->m_T[loop.m_ti[(k + 1) % loop.m_ti.Count()]];
          ON_3dPoint end = on->m_C2[t0.m_c2i]->PointAtEnd(), start = on->m_C2[t1.m_c2i]->PointAtStart();
          EXPECT_NEAR(end.x, start.x, 1e-7);
          EXPECT_NEAR(end.y, start.y, 1e-7);
        }
      }
    }
    EXPECT_TRUE(sawClass);
    EXPECT_EQ(face, on->FaceCount());
    Kelv3dm::ReadEnd();
  }
}

namespace {

// A bilinear patch over [0, 1] x [0, 1]: the unit square, lifted at one
// corner by 'lift'.
int Patch(IgesBuilder& b, EntityOptions o = {}, double lift = 1) {
  return b.Add(128, {"1", "1", "1", "1", "0", "0", "1", "0", "0", "0", "0", "1", "1", "0", "0", "1", "1", "1", "1", "1",
                     "1", "0", "0", "0", "1", "0", "0", "0", "1", "0", "1", "1", R(lift), "0", "1", "0", "1"},
               o);
}

EntityOptions Member(int use = 0) {
  EntityOptions o;
  o.subordinate = 1;
  o.use = use;
  return o;
}

int PointAt(IgesBuilder& b, double x, double y, double z) {
  return b.Add(116, {R(x), R(y), R(z), "0"}, Member());
}

struct Topology {
  int breps = 0, faces = 0, loops = 0, trims = 0, closedBreps = 0;
};

Topology TopologyOf(const Converted& c) {
  Topology t;
  for (const auto* o : TopLevel(c.model())) {
    const BrepT* brep = o->geometry.AsBrep();
    if (!brep) continue;
    ++t.breps;
    t.faces += static_cast<int>(brep->faces.size());
    t.loops += static_cast<int>(brep->loops.size());
    t.trims += static_cast<int>(brep->trims.size());
    bool closed = !brep->edges.empty();
    for (const auto& e : brep->edges) closed = closed && e->trims.size() == 2;
    t.closedBreps += closed;
    // Every loop belongs to a face that lists it, every trim has its 2D curve.
    for (size_t f = 0; f < brep->faces.size(); ++f)
      for (int l : brep->faces[f]->loops) EXPECT_EQ(brep->loops[static_cast<size_t>(l)]->face, static_cast<int>(f));
    for (const auto& tr : brep->trims) EXPECT_GE(tr->curve2d, 0);
  }
  return t;
}

}  // namespace

// A surface that stands alone comes over as a B-rep of one face bounded by
// its natural or its given boundary; one with no finite boundary does not
// come over at all.
TEST(BrepConversion, StandaloneSurfacesBecomeOneFaceBreps) {
  struct Case {
    const char* name;
    std::function<void(IgesBuilder&)> build;
    Topology expected;
    int skipped;
  } cases[] = {
      {"untrimmed B-spline patch", [](IgesBuilder& b) { Patch(b); }, {1, 1, 1, 4, 0}, 0},
      {"trimmed patch with a hole",
       [](IgesBuilder& b) {
         int surface = Patch(b, Member());
         // A circle in parameter space, and the curve on the surface it makes.
         int circle = b.Add(100, {"0", "0.5", "0.5", "0.7", "0.5", "0.7", "0.5"}, Member(5));
         int hole = b.Add(142, {"0", S(surface), S(circle), "0", "1"}, Member());
         b.Add(144, {S(surface), "0", "1", "0", S(hole)});
       },
       {1, 1, 2, 5, 0}, 0},
      {"flat patch with a hole given in model space only",
       [](IgesBuilder& b) {
         int surface = Patch(b, Member(), 0);
         int circle = b.Add(100, {"0", "0.5", "0.5", "0.7", "0.5", "0.7", "0.5"}, Member());
         int hole = b.Add(142, {"0", S(surface), "0", S(circle), "2"}, Member());
         b.Add(144, {S(surface), "0", "1", "0", S(hole)});
       },
       {1, 1, 2, 5, 0}, 0},
      {"surface of revolution",
       [](IgesBuilder& b) {
         int axis = b.Add(110, {"0", "0", "0", "0", "0", "1"}, Member());
         int profile = b.Add(110, {"2", "0", "0", "3", "0", "4"}, Member());
         b.Add(120, {S(axis), S(profile), "0", R(M_PI)});
       },
       {1, 1, 1, 4, 0}, 0},
      {"sphere: closed, a solid",
       [](IgesBuilder& b) {
         int centre = PointAt(b, 1, 2, 3);
         int axis = b.Add(123, {"0", "0", "1"}, Member());
         int x = b.Add(123, {"1", "0", "0"}, Member());
         EntityOptions parametrised;
         parametrised.form = 1;
         b.Add(196, {S(centre), "2.5", S(axis), S(x)}, parametrised);
       },
       {1, 1, 1, 4, 1}, 0},
      {"infinite cylinder beside a patch",
       [](IgesBuilder& b) {
         int at = PointAt(b, 0, 0, 0);
         int axis = b.Add(123, {"0", "0", "1"}, Member());
         b.Add(192, {S(at), S(axis), "2"});
         Patch(b);
       },
       {1, 1, 1, 4, 0}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IgesBuilder b;
    c.build(b);
    Converted conv;
    Convert(b.Text(), conv);
    ASSERT_TRUE(conv.ok) << conv.reason;
    Topology t = TopologyOf(conv);
    EXPECT_EQ(t.breps, c.expected.breps);
    EXPECT_EQ(t.faces, c.expected.faces);
    EXPECT_EQ(t.loops, c.expected.loops);
    EXPECT_EQ(t.trims, c.expected.trims);
    EXPECT_EQ(t.closedBreps, c.expected.closedBreps);
    int skipped = 0;
    for (auto [type, n] : conv.result.skipped) skipped += n;
    EXPECT_EQ(skipped, c.skipped);
    // Nothing of a surface arrives as loose curves.
    for (const auto* o : TopLevel(conv.model())) EXPECT_NE(o->geometry.type, Geometry::Curve);
  }
}

// A face comes over with every trim or its shape is refused: a loop that
// lost an edge would be another face. A face that encloses no area is left
// out, and a shape of nothing else is refused too.
TEST(BrepConversion, ShapesThatCannotComeWholeAreRefused) {
  // Edges without parameter-space curves on a curved surface.
  Handle(Geom_Surface) cylinder = BRep_Tool::Surface(
      TopoDS::Face(TopExp_Explorer(BRepPrimAPI_MakeCylinder(2, 5).Shape(), TopAbs_FACE).Current()));
  BRepBuilderAPI_MakeWire square;
  const gp_Pnt corners[4] = {gp_Pnt(2, 0, 1), gp_Pnt(2, 0, 3), gp_Pnt(0, 2, 3), gp_Pnt(0, 2, 1)};
  for (int i = 0; i < 4; ++i) square.Add(BRepBuilderAPI_MakeEdge(corners[i], corners[(i + 1) % 4]).Edge());
  TopoDS_Face bare = BRepBuilderAPI_MakeFace(cylinder, square.Wire(), Standard_True).Face();
  // A boundary that runs along a segment and back.
  gp_Pnt a(0, 0, 0), b(4, 0, 0);
  BRepBuilderAPI_MakeWire sliver;
  TopoDS_Edge there = BRepBuilderAPI_MakeEdge(a, b).Edge();
  sliver.Add(there);
  sliver.Add(TopoDS::Edge(there.Reversed()));
  TopoDS_Face flat = BRepBuilderAPI_MakeFace(gp_Pln(gp_Pnt(0, 0, 0), gp_Dir(0, 0, 1)), sliver.Wire()).Face();

  BrepT brep;
  {
    SCOPED_TRACE("edges without parameter-space curves");
    bool missing = false;
    for (TopExp_Explorer ex(bare, TopAbs_EDGE); ex.More(); ex.Next()) {
      double f, l;
      missing = missing || BRep_Tool::CurveOnSurface(TopoDS::Edge(ex.Current()), bare, f, l).IsNull();
    }
    ASSERT_TRUE(missing);  // the fixture holds what it is meant to
    EXPECT_FALSE(kelv::iges::ShapeToBrep(bare, brep));
  }
  {
    SCOPED_TRACE("a face of no area");
    EXPECT_FALSE(kelv::iges::ShapeToBrep(flat, brep));
  }
}

// Surfaces drawn alone keep their place among the objects of the other
// entities, with their own attributes, whether or not they share parts with
// the surface before them; one that cannot come over is counted and leaves
// no gap.
TEST(BrepConversion, SurfacesKeepTheOrderOfTheirEntities) {
  IgesBuilder b;
  b.Add(110, {"0", "0", "0", "1", "0", "0"});
  Patch(b, {}, 2);
  EntityOptions blanked;
  blanked.blank = 1;
  Patch(b, blanked, 3);
  b.Add(110, {"0", "0", "0", "2", "0", "0"});
  // Two trimmed surfaces over one patch: the second shares the first's parts.
  const int shared = Patch(b, Member(), 4);
  b.Add(144, {S(shared), "1", "0", "0"});
  b.Add(144, {S(shared), "1", "0", "0"});
  // An infinite cylinder: no B-rep.
  const int at = PointAt(b, 0, 0, 0);
  const int axis = b.Add(123, {"0", "0", "1"}, Member());
  b.Add(192, {S(at), S(axis), "2"});
  Patch(b, {}, 5);
  b.Add(110, {"0", "0", "0", "3", "0", "0"});
  Converted conv;
  Convert(b.Text(), conv);
  ASSERT_TRUE(conv.ok) << conv.reason;
  // Each object by what it is: a line by its length, a B-rep by its lift.
  std::vector<std::string> order;
  for (const auto* o : TopLevel(conv.model())) {
    std::string what = "?";
    if (const BrepT* brep = o->geometry.AsBrep()) {
      double top = 0;
      for (const auto& v : brep->vertices) top = std::max(top, v->point.z());
      what = "brep " + std::to_string(static_cast<int>(std::lround(top)));
    } else if (o->geometry.type == Geometry::Curve) {
      what = "curve";
    }
    if (o->attributes->mode == ObjectMode::Hidden) what += " hidden";
    order.push_back(what);
  }
  const std::vector<std::string> expected = {"curve",  "brep 2", "brep 3 hidden", "curve",
                                             "brep 4", "brep 4", "brep 5",        "curve"};
  EXPECT_EQ(order, expected);
  EXPECT_EQ(conv.result.skipped, (std::map<int, int>{{192, 1}}));
}
