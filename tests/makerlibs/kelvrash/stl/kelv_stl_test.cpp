// The STL reader's interface: files into openNURBS meshes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "KelvStl.h"
#include "TempFolder.h"

namespace {

class KelvStlFiles : public ::testing::Test {
 protected:
  CString Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return CString((folder_ / name).string().c_str());
  }

  TempFolder folder_;
};

const char* kTwoSolids =
    "solid one\n"
    " facet normal 0 0 1\n  outer loop\n   vertex 0 0 0\n   vertex 1 0 0\n   vertex 1 1 0\n  endloop\n endfacet\n"
    " facet normal 0 0 1\n  outer loop\n   vertex 0 0 0\n   vertex 1 1 0\n   vertex 0 1 0\n  endloop\n endfacet\n"
    "endsolid one\n"
    "solid two\n"
    " facet normal 0 0 1\n  outer loop\n   vertex 5 5 5\n   vertex 6 5 5\n   vertex 5 6 5\n  endloop\n endfacet\n"
    "endsolid two\n";

TEST_F(KelvStlFiles, SolidsBecomeTriangleMeshesAppendedToTheArray) {
  Write("two.stl", kTwoSolids);
  std::string path = (folder_ / "two.stl").string();
  for (char& c : path)
    if (c == '/') c = '\\';  // the plug-in hands over Windows paths
  ON_ClassArray<ON_Mesh> meshes;
  meshes.AppendNew();  // what was there stays there
  ASSERT_EQ(KelvStl::STLToMesh(CString(path.c_str()), meshes), 1) << KelvStl::GetError().GetString();
  ASSERT_EQ(meshes.Count(), 3);
  const ON_Mesh& square = meshes[1];
  EXPECT_EQ(square.VertexCount(), 4);
  EXPECT_EQ(square.FaceCount(), 2);
  EXPECT_TRUE(square.m_F[1].IsTriangle());
  EXPECT_EQ(square.m_V[square.m_F[1].vi[1]], ON_3fPoint(1, 1, 0));
  EXPECT_TRUE(square.IsValid());
  EXPECT_EQ(meshes[2].VertexCount(), 3);
  EXPECT_EQ(meshes[2].FaceCount(), 1);
}

TEST_F(KelvStlFiles, FailuresNameTheFileAndAppendNothing) {
  const CString truncated = Write("cut.stl", std::string(kTwoSolids).substr(0, 200));
  const CString missing = CString((folder_ / "missing.stl").string().c_str());
  struct Case {
    CString path;
    const wchar_t* reason;
  } cases[] = {
      {truncated, L"is truncated"},
      {missing, L"does not exist"},
      {Write("empty.stl", ""), L"is empty"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.GetString());
    ON_ClassArray<ON_Mesh> meshes;
    EXPECT_EQ(KelvStl::STLToMesh(c.path, meshes), 0);
    EXPECT_EQ(meshes.Count(), 0);
    const CString error = KelvStl::GetError();
    EXPECT_EQ(error.Find(L"The STL file \"" + c.path + L"\" "), 0) << error.GetString();
    EXPECT_NE(error.Find(c.reason), -1) << error.GetString();
  }
}

}  // namespace
