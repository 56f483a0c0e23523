#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "stl/StlFileReader.h"
#include "stl/StlParser.h"
#include "stl/VertexWelder.h"

namespace {

using kelvrash::stl::Mesh;
using kelvrash::stl::TriangleSoup;

// A closed tetrahedron: 4 triangles over 4 corners.
const char* kTetrahedron =
    "solid tetra\n"
    " facet normal 0 0 -1\n  outer loop\n   vertex 0 0 0\n   vertex 0 1 0\n   vertex 1 0 0\n  endloop\n endfacet\n"
    " facet normal 0 -1 0\n  outer loop\n   vertex 0 0 0\n   vertex 1 0 0\n   vertex 0 0 1\n  endloop\n endfacet\n"
    " facet normal -1 0 0\n  outer loop\n   vertex 0 0 0\n   vertex 0 0 1\n   vertex 0 1 0\n  endloop\n endfacet\n"
    " facet normal 1 1 1\n  outer loop\n   vertex 1 0 0\n   vertex 0 1 0\n   vertex 0 0 1\n  endloop\n endfacet\n"
    "endsolid tetra\n";

std::string Facet(const char* a, const char* b, const char* c, const char* normal = "0 0 1") {
  return std::string(" facet normal ") + normal + "\n  outer loop\n   vertex " + a + "\n   vertex " + b +
         "\n   vertex " + c + "\n  endloop\n endfacet\n";
}

std::string Binary(const std::vector<std::array<float, 9>>& triangles, const char* header = "binary test") {
  std::string out(80, ' ');
  std::memcpy(out.data(), header, std::strlen(header));
  auto put32 = [&out](std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
  };
  put32(static_cast<std::uint32_t>(triangles.size()));
  for (const auto& t : triangles) {
    for (int k = 0; k < 3; ++k) put32(0);
    for (float v : t) put32(std::bit_cast<std::uint32_t>(v));
    out.append(2, '\0');
  }
  return out;
}

std::vector<std::array<float, 9>> BinaryTetrahedron() {
  return {{0, 0, 0, 0, 1, 0, 1, 0, 0}, {0, 0, 0, 1, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 1, 0, 1, 0},
          {1, 0, 0, 0, 1, 0, 0, 0, 1}};
}

bool Parse(const std::string& bytes, std::vector<Mesh>& meshes, std::string& reason) {
  std::vector<TriangleSoup> solids;
  if (!kelvrash::stl::ParseStl(bytes, solids, reason)) return false;
  for (const auto& s : solids) meshes.push_back(kelvrash::stl::WeldVertices<float>(s));
  return true;
}

TEST(StlReader, AsciiSolidsBecomeWeldedMeshes) {
  const std::string twoSolids = std::string(kTetrahedron) + "solid second\n" +
                                Facet("5 5 5", "6 5 5", "5 6 5") + "endsolid second\n";
  std::vector<Mesh> meshes;
  std::string reason;
  ASSERT_TRUE(Parse(twoSolids, meshes, reason)) << reason;
  ASSERT_EQ(meshes.size(), 2u);
  EXPECT_EQ(meshes[0].name, "tetra");
  EXPECT_EQ(meshes[0].vertices.size(), 4u);
  EXPECT_EQ(meshes[0].triangles.size(), 4u);
  EXPECT_EQ(meshes[1].name, "second");
  EXPECT_EQ(meshes[1].vertices.size(), 3u);
  // The triangles keep their corner order.
  const auto& last = meshes[0].triangles[3];
  EXPECT_EQ(meshes[0].vertices[last[0]], (std::array<float, 3>{1, 0, 0}));
  EXPECT_EQ(meshes[0].vertices[last[2]], (std::array<float, 3>{0, 0, 1}));
}

TEST(StlReader, BinaryIsOneWeldedMesh) {
  for (const char* header : {"binary test", "solid but binary all the same"}) {
    SCOPED_TRACE(header);
    std::vector<Mesh> meshes;
    std::string reason;
    ASSERT_TRUE(Parse(Binary(BinaryTetrahedron(), header), meshes, reason)) << reason;
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].vertices.size(), 4u);
    EXPECT_EQ(meshes[0].triangles.size(), 4u);
  }
}

TEST(StlReader, WritersVariationsAreAccepted) {
  // Upper case, CRLF, tabs, signs, exponents, "nan" normals, -0 against 0,
  // a solid without a name.
  std::string text = "SOLID\r\n";
  text += " FACET NORMAL nan nan nan\r\n OUTER LOOP\r\n\tVERTEX +1.0e0 -0 0\r\n VERTEX 0 1E+0 0\r\n VERTEX 0 0 .1e1\r\n"
          " ENDLOOP\r\n ENDFACET\r\n";
  text += Facet("1 0 0", "0 0 1", "-0.0 -0 -0", "-1.5e-3 +2 3");
  text += "ENDSOLID\r\n";
  std::vector<Mesh> meshes;
  std::string reason;
  ASSERT_TRUE(Parse(text, meshes, reason)) << reason;
  ASSERT_EQ(meshes.size(), 1u);
  EXPECT_EQ(meshes[0].name, "");
  EXPECT_EQ(meshes[0].vertices.size(), 4u);  // (0,0,0) and (-0,-0,-0) are one vertex
  EXPECT_EQ(meshes[0].triangles.size(), 2u);
}

TEST(StlReader, NoMeshIsNotAnError) {
  for (const std::string& bytes : {std::string("solid empty\nendsolid empty\n"), Binary({})}) {
    std::vector<Mesh> meshes;
    std::string reason;
    EXPECT_TRUE(Parse(bytes, meshes, reason)) << reason;
    EXPECT_TRUE(meshes.empty());
  }
}

TEST(StlReader, CollapsedTrianglesAreDropped) {
  const std::string text = "solid s\n" + Facet("0 0 0", "1 0 0", "0 1 0") + Facet("0 0 0", "0 0 0", "1 1 1") +
                           "endsolid s\n";
  std::vector<Mesh> meshes;
  std::string reason;
  ASSERT_TRUE(Parse(text, meshes, reason)) << reason;
  ASSERT_EQ(meshes.size(), 1u);
  EXPECT_EQ(meshes[0].triangles.size(), 1u);
}

TEST(StlReader, WeldingIsExactAndScales) {
  // A grid of 200 x 200 squares, two triangles each, written as a soup.
  TriangleSoup soup;
  const int n = 200;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const double x = i * 0.1, y = j * 0.1, d = 0.1;
      soup.corners.insert(soup.corners.end(), {{x, y, 0}, {x + d, y, 0}, {x + d, y + d, 0}});
      soup.corners.insert(soup.corners.end(), {{x, y, 0}, {x + d, y + d, 0}, {x, y + d, 0}});
    }
  // A corner one float step away is a vertex of its own.
  soup.corners.insert(soup.corners.end(), {{0, 0, 0}, {0, 0, std::nextafter(0.0f, 1.0f)}, {1, 1, 1}});
  const Mesh mesh = kelvrash::stl::WeldVertices<float>(soup);
  EXPECT_EQ(mesh.triangles.size(), static_cast<size_t>(2 * n * n + 1));
  EXPECT_EQ(mesh.vertices.size(), static_cast<size_t>((n + 1) * (n + 1) + 2));
}

struct Malformed {
  const char* label;
  std::string bytes;
  const char* reason;
};

TEST(StlReader, MalformedFilesAreRefusedWithTheirReason) {
  const std::string facet = Facet("0 0 0", "1 0 0", "0 1 0");
  std::string binary = Binary(BinaryTetrahedron());
  std::string nanCorner = Binary(BinaryTetrahedron());
  std::memset(nanCorner.data() + 84 + 50 + 12, 0xFF, 4);
  const std::vector<Malformed> cases = {
      {"empty", "", "is empty"},
      {"no endsolid", "solid s\n" + facet, "is truncated: it ends after line 8, where \"endsolid\" was expected"},
      {"cut in a facet", "solid s\n facet normal 0 0 1\n  outer loop\n   vertex 0 0",
       "is truncated: it ends after line 4, where a number was expected"},
      {"misspelt", "solid s\n facet normal 0 0 1\n  outer loop\n   vertx 0 0 0\n",
       "is malformed at line 4: \"vertex\" was expected, \"vertx\" was found"},
      {"two corners", "solid s\n facet normal 0 0 1\n outer loop\n vertex 0 0 0\n vertex 1 0 0\n endloop\n",
       "is malformed at line 6: \"vertex\" was expected, \"endloop\" was found"},
      {"decimal comma", "solid s\n facet normal 0 0 1\n outer loop\n vertex 0,5 0 0\n",
       "is malformed at line 4: a number was expected, \"0,5\" was found"},
      {"infinite corner", "solid s\n facet normal 0 0 1\n outer loop\n vertex inf 0 0\n",
       "is malformed at line 4: a finite coordinate was expected"},
      {"garbage after solid", "solid s\n" + facet + "endsolid s\nnonsense\n",
       "is malformed at line 10: \"solid\" was expected"},
      {"binary cut", binary.substr(0, binary.size() - 10),
       "is truncated: its header announces 4 triangles, but only 3 are complete"},
      {"binary too long", binary + std::string(7, '\0'), "holds 7 bytes more than the 4 triangles"},
      {"binary nan", nanCorner, "triangle 2 has a corner that is not a finite number"},
      {"tiny", std::string("\x01\x02\x03", 3), "is too short to be an STL file (3 bytes)"},
      {"text", std::string(200, 'x'), "is not an STL file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<TriangleSoup> solids(1);  // what was there stays there
    std::string reason;
    EXPECT_FALSE(kelvrash::stl::ParseStl(c.bytes, solids, reason));
    EXPECT_EQ(solids.size(), 1u);
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
  }
}

TEST(StlReader, FilesFromDisk) {
  TempFolder dir;
  const auto& folder = dir.Path();
  std::ofstream(folder / "t.stl", std::ios::binary) << kTetrahedron;
  std::vector<Mesh> meshes;
  std::string reason;
  EXPECT_TRUE(kelvrash::stl::ReadStlFile((folder / "t.stl").string(), meshes, reason)) << reason;
  EXPECT_EQ(meshes.size(), 1u);
  EXPECT_FALSE(kelvrash::stl::ReadStlFile((folder / "missing.stl").string(), meshes, reason));
  EXPECT_EQ(reason, "does not exist");
  EXPECT_FALSE(kelvrash::stl::ReadStlFile(folder.string(), meshes, reason));
  EXPECT_EQ(reason, "is a folder, not a file");
  EXPECT_EQ(meshes.size(), 1u);
}

}  // namespace
