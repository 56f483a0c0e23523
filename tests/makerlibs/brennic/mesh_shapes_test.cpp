// Shapes meshed at once give the file they give meshed one after the other,
// and shapes that share a face, an edge or a placed copy stay in order.
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Shell.hxx>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Brennic90Ux64.h"
#include "MeshShapes.h"
#include "StlEncoding.h"
#include "TempFolder.h"

namespace {

using Groups = std::vector<std::vector<size_t>>;

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TopoDS_Face FirstFace(const TopoDS_Shape& shape) { return TopoDS::Face(TopExp_Explorer(shape, TopAbs_FACE).Current()); }

TopoDS_Shape Moved(const TopoDS_Shape& shape, double dx) {
  gp_Trsf t;
  t.SetTranslation(gp_Vec(dx, 0, 0));
  return shape.Moved(TopLoc_Location(t));
}

// The loose faces of a group, as a shape of their own.
TopoDS_Shape ShellOf(std::initializer_list<TopoDS_Face> faces) {
  BRep_Builder b;
  TopoDS_Shell shell;
  b.MakeShell(shell);
  for (const TopoDS_Face& f : faces) b.Add(shell, f);
  return shell;
}

TopoDS_Shape CompoundOf(std::initializer_list<TopoDS_Shape> members) {
  BRep_Builder b;
  TopoDS_Compound all;
  b.MakeCompound(all);
  for (const TopoDS_Shape& m : members) b.Add(all, m);
  return all;
}

// A flat disc on a cylinder's rim: the two hold the same circular edge.
TopoDS_Shape DiscOnRim(const TopoDS_Shape& cylinder) {
  for (TopExp_Explorer e(cylinder, TopAbs_EDGE); e.More(); e.Next()) {
    const TopoDS_Edge& edge = TopoDS::Edge(e.Current());
    if (BRep_Tool::IsClosed(edge, FirstFace(cylinder))) continue;  // the seam
    return BRepBuilderAPI_MakeFace(BRepBuilderAPI_MakeWire(edge).Wire(), true).Face();
  }
  return {};
}

TEST(MeshShapesGroups, ShapesSharingAFaceAnEdgeOrAPlacedCopyStayTogether) {
  const TopoDS_Shape box = BRepPrimAPI_MakeBox(10, 20, 30).Shape();
  const TopoDS_Shape sphere = BRepPrimAPI_MakeSphere(gp_Pnt(100, 0, 0), 5).Shape();
  const TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(0, 100, 0), gp_Dir(0, 0, 1)), 4, 8).Shape();
  const std::vector<TopoDS_Shape> shapes = {
      box,
      BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(1, 0, 0)).Edge(),  // nothing to mesh: in no group
      sphere,
      Moved(box, 50),             // the same box placed again
      ShellOf({FirstFace(sphere)}),  // the sphere's face
      cylinder,
      DiscOnRim(cylinder),  // an edge of the cylinder
      BRepPrimAPI_MakeTorus(gp_Ax2(gp_Pnt(0, 0, 200), gp_Dir(0, 0, 1)), 10, 2).Shape(),
      {},
  };
  ASSERT_FALSE(shapes[6].IsNull());
  EXPECT_EQ(brennic::IndependentGroups(shapes), (Groups{{0, 3}, {2, 4}, {5, 6}, {7}}));
  EXPECT_EQ(brennic::IndependentGroups({}), Groups{});
}

// Many shapes of their own, and a pair whose triangles depend on their
// order: the compound, large, meshes the sphere's face coarsely; the sphere
// alone, small, asks for finer triangles there.
std::vector<TopoDS_Shape> ManyShapes() {
  std::vector<TopoDS_Shape> shapes;
  for (int i = 0; i < 12; ++i) {
    const gp_Pnt at(40.0 * i, 0, 0);
    if (i % 3 == 0) shapes.push_back(BRepPrimAPI_MakeSphere(at, 2.0 + i).Shape());
    if (i % 3 == 1) shapes.push_back(BRepPrimAPI_MakeTorus(gp_Ax2(at, gp_Dir(0, 1, 0)), 8.0 + i, 1.5).Shape());
    if (i % 3 == 2) shapes.push_back(BRepPrimAPI_MakeCylinder(gp_Ax2(at, gp_Dir(1, 1, 0)), 3, 5.0 + i).Shape());
  }
  const TopoDS_Shape sphere = BRepPrimAPI_MakeSphere(gp_Pnt(0, 500, 0), 3).Shape();
  shapes.insert(shapes.begin() + 3,
                CompoundOf({FirstFace(sphere), BRepPrimAPI_MakeBox(gp_Pnt(0, 1500, 0), 1, 1, 1).Shape()}));
  shapes.push_back(sphere);
  return shapes;
}

// What a loop over the shapes, one after the other, writes.
std::string OneAfterTheOther(const std::vector<TopoDS_Shape>& shapes, bool ascii) {
  std::string text;
  std::vector<brennic::Triangle> all;
  for (size_t i = 0; i < shapes.size(); ++i) {
    std::vector<brennic::Triangle> triangles;
    brennic::AppendShapeTriangles(shapes[i], triangles);
    if (ascii)
      brennic::AppendAsciiSolid(text, "shape_" + std::to_string(i + 1), triangles);
    else
      all.insert(all.end(), triangles.begin(), triangles.end());
  }
  if (ascii) return text;
  brennic::AppendBinaryHeader(text, static_cast<std::uint32_t>(all.size()));
  brennic::AppendBinaryTriangles(text, all);
  return text;
}

TEST(MeshShapesInOrder, TheFileIsTheOneMeshingInTurnWrites) {
  ASSERT_GT(brennic::IndependentGroups(ManyShapes()).size(), 2u);
  TempFolder folder;
  const auto path = folder / "out.stl";
  for (int mode : {1, 0}) {
    SCOPED_TRACE(mode == 1 ? "ascii" : "binary");
    Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
    for (const TopoDS_Shape& s : ManyShapes()) shapes->Append(s);
    ASSERT_EQ(BrennStl::Write(CString(path.string().c_str()), shapes, mode), 1) << BrennStl::GetError().GetString();
    const std::string written = Slurp(path), expected = OneAfterTheOther(ManyShapes(), mode == 1);
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected) << "the files differ";
  }

  // The pair is a fair test of the order: meshed after the sphere, the
  // compound keeps the sphere's finer triangles.
  const std::vector<TopoDS_Shape> first = ManyShapes(), second = ManyShapes();
  std::vector<brennic::Triangle> compoundFirst, sphere, compoundSecond;
  brennic::AppendShapeTriangles(first[3], compoundFirst);
  brennic::AppendShapeTriangles(second.back(), sphere);
  brennic::AppendShapeTriangles(second[3], compoundSecond);
  EXPECT_LT(compoundFirst.size(), compoundSecond.size());
}

TEST(MeshShapesInOrder, FacesMeshedOnAllCoresOrOnOneGiveTheSameTriangles) {
  const std::vector<TopoDS_Shape> parallel = ManyShapes(), single = ManyShapes();
  for (size_t i = 0; i < parallel.size(); ++i) {
    SCOPED_TRACE(i);
    std::vector<brennic::Triangle> a, b;
    brennic::AppendShapeTriangles(parallel[i], a, true);
    brennic::AppendShapeTriangles(single[i], b, false);
    ASSERT_EQ(a.size(), b.size());
    ASSERT_FALSE(a.empty());
    for (size_t t = 0; t < a.size(); ++t) ASSERT_EQ(a[t].corners, b[t].corners) << "triangle " << t;
  }
}

}  // namespace
