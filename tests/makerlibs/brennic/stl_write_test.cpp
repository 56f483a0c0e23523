#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "Brennic90Ux64.h"
#include "FullDisk.h"
#include "TempFolder.h"
#include "KelvStl.h"

namespace {

CString Wide(const std::filesystem::path& path) { return CString(path.string().c_str()); }

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Handle(TopTools_HSequenceOfShape) BoxSphereAndEdge() {
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  shapes->Append(BRepPrimAPI_MakeBox(10.0, 20.0, 30.0).Shape());
  shapes->Append(BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(1, 0, 0)).Edge());  // nothing to mesh
  shapes->Append(BRepPrimAPI_MakeSphere(gp_Pnt(100, 0, 0), 5.0).Shape());
  return shapes;
}

TEST(BrennStlWrite, AsciiHasOneSolidPerShapeWithFaces) {
  TempFolder folder;
  const auto path = folder / "out.stl";
  ASSERT_EQ(BrennStl::Write(Wide(path), BoxSphereAndEdge(), 1), 1) << BrennStl::GetError().GetString();
  const std::string text = Slurp(path);
  EXPECT_EQ(text.rfind("solid shape_1\n", 0), 0u);
  EXPECT_NE(text.find("endsolid shape_1\nsolid shape_3\n"), std::string::npos);
  EXPECT_EQ(text.find("shape_2"), std::string::npos);
  EXPECT_EQ(text.find(','), std::string::npos);  // numbers with a point, whatever the locale
  EXPECT_EQ(folder.FileCount(), 1u);             // no temporary file left beside it
}

TEST(BrennStlWrite, ReadsBackAsOneWeldedMeshPerShape) {
  TempFolder folder;
  for (int mode : {1, 0}) {
    SCOPED_TRACE(mode == 1 ? "ascii" : "binary");
    const auto path = folder / "out.stl";
    ASSERT_EQ(BrennStl::Write(Wide(path), BoxSphereAndEdge(), mode), 1) << BrennStl::GetError().GetString();
    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_EQ(KelvStl::STLToMesh(Wide(path), meshes), 1) << KelvStl::GetError().GetString();
    if (mode == 1) {
      ASSERT_EQ(meshes.Count(), 2);
      // The six faces of the box share their corners: 8 vertices, 12 triangles.
      EXPECT_EQ(meshes[0].VertexCount(), 8);
      EXPECT_EQ(meshes[0].FaceCount(), 12);
      // A closed sphere: Euler's V - E + F = 2 with E = 3F/2.
      const ON_Mesh& sphere = meshes[1];
      EXPECT_GT(sphere.FaceCount(), 100);
      EXPECT_LT(sphere.FaceCount(), 20000);
      EXPECT_EQ(2 * sphere.VertexCount() - sphere.FaceCount(), 4);
      for (const ON_3fPoint& v : sphere.m_V) EXPECT_NEAR(std::hypot(v.x - 100.0, v.y, v.z), 5.0, 0.05);
    } else {
      ASSERT_EQ(meshes.Count(), 1);
      EXPECT_GT(meshes[0].FaceCount(), 112);
    }
  }
}

TEST(BrennStlWrite, NothingToMeshIsAnError) {
  TempFolder folder;
  const auto path = folder / "out.stl";
  Handle(TopTools_HSequenceOfShape) edges = new TopTools_HSequenceOfShape;
  edges->Append(BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(1, 0, 0)).Edge());
  struct Case {
    const char* label;
    Handle(TopTools_HSequenceOfShape) shapes;
    const wchar_t* reason;
  };
  const Case cases[] = {
      {"null", Handle(TopTools_HSequenceOfShape)(), L"there are no shapes to write"},
      {"empty", new TopTools_HSequenceOfShape, L"there are no shapes to write"},
      {"edges only", edges, L"none of the 1 shape(s) has a face that could be meshed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(BrennStl::Write(Wide(path), c.shapes, 1), 0);
    EXPECT_EQ(BrennStl::GetError(), L"Cannot write the STL file \"" + Wide(path) + L"\": " + c.reason + L".");
    EXPECT_EQ(folder.FileCount(), 0u);
  }
}

TEST(BrennStlWrite, MissingFolderIsNamed) {
  TempFolder folder;
  const auto path = folder / "no such folder" / "out.stl";
  EXPECT_EQ(BrennStl::Write(Wide(path), BoxSphereAndEdge(), 1), 0);
  EXPECT_NE(BrennStl::GetError().Find(L"does not exist"), -1) << BrennStl::GetError().GetString();
  EXPECT_NE(BrennStl::GetError().Find(Wide(path)), -1);
}

// A full disk, played by the file-size limit: the write fails part way, the
// earlier file stays as it was and no temporary file is left.
TEST(BrennStlWrite, FailedWriteLeavesTheOldFileAndNoTemporary) {
  TempFolder folder;
  const auto path = folder / "out.stl";
  std::ofstream(path) << "earlier content";

  int result = 1;
  {
    FullDisk full(4096);
    result = BrennStl::Write(Wide(path), BoxSphereAndEdge(), 1);
  }

  EXPECT_EQ(result, 0);
  EXPECT_NE(BrennStl::GetError().Find(L"larger than allowed"), -1) << BrennStl::GetError().GetString();
  EXPECT_EQ(Slurp(path), "earlier content");
  EXPECT_EQ(folder.FileCount(), 1u);
}

TEST(BrennStlWrite, ReplacesAnEarlierFile) {
  TempFolder folder;
  const auto path = folder / "out.stl";
  std::ofstream(path) << "earlier content";
  ASSERT_EQ(BrennStl::Write(Wide(path), BoxSphereAndEdge(), 0), 1);
  const std::string bytes = Slurp(path);
  ASSERT_GE(bytes.size(), 84u);
  EXPECT_NE(bytes.rfind("solid", 0), 0u);  // binary headers must not look like text
  EXPECT_EQ(folder.FileCount(), 1u);
}

}  // namespace
