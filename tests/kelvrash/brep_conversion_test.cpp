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
