// One mesh as a polyface mesh, a subdivision mesh, 3D faces, lines or
// points.
#include <algorithm>
#include <array>
#include <set>
#include <utility>

#include "ErrorStatusText.h"
#include "GeometryFixture.h"

namespace {

using Record = std::array<Adesk::Int16, 4>;

ON_Mesh MakeMesh(const std::vector<ON_3dPoint>& points, const std::vector<std::array<int, 4>>& faces) {
  ON_Mesh mesh;
  for (const ON_3dPoint& p : points) mesh.m_V.Append(ON_3fPoint(p));
  for (const auto& f : faces) {
    ON_MeshFace face;
    for (int k = 0; k < 4; ++k) face.vi[k] = f[static_cast<size_t>(k)];
    mesh.m_F.Append(face);
  }
  return mesh;
}

// A quad (0, 1, 2, 3) and a triangle (1, 4, 2) beside it.
ON_Mesh QuadAndTriangle() {
  return MakeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0.5f, 0.25f}}, {{0, 1, 2, 3}, {1, 4, 2, 2}});
}

// Two triangles over the unit square, sharing the diagonal 1-3; unshared
// stores each triangle's corners apart.
ON_Mesh TwoTriangles(bool shared) {
  const ON_3dPoint a(0, 0, 0), b(1, 0, 0), c(1, 1, 0), d(0, 1, 0);
  if (shared) return MakeMesh({a, b, c, d}, {{0, 1, 3, 3}, {1, 2, 3, 3}});
  return MakeMesh({a, b, d, b, c, d}, {{0, 1, 2, 2}, {3, 4, 5, 5}});
}

class MeshOutputs : public GeometryTest {
 protected:
  const CString layer = L"Mesh";
  const AcCmColor red = Rgb(255, 0, 0);
};

TEST_F(MeshOutputs, PolyfaceRecordsNumberVerticesFromOneWithZeroForATriangle) {
  const ON_Mesh mesh = QuadAndTriangle();
  AcDbPolyFaceMesh polyface;
  int status = -1;
  EXPECT_EQ(GeometryConverter::MeshToPolyFaceMesh(mesh, &polyface, &status), 1);
  EXPECT_EQ(status, Acad::eOk);
  const std::vector<AcGePoint3d> pts = polyface.vertexPositions();
  ASSERT_EQ(pts.size(), 5u);
  EXPECT_EQ(pts[4], AcGePoint3d(2, 0.5, 0.25));
  EXPECT_EQ(polyface.faceRecords(), (std::vector<Record>{{1, 2, 3, 4}, {2, 5, 3, 0}}));
  AcDbPolyFaceMesh again;
  EXPECT_EQ(GeometryConverter::MeshToPolyFaceMesh(mesh, &again), 1);  // the form without status
  EXPECT_EQ(again.faceRecords(), polyface.faceRecords());
}

TEST_F(MeshOutputs, SubDMeshTakesEveryVertexAndCornerCountedFaces) {
  EXPECT_EQ(GeometryConverter::MeshToSubDMesh(QuadAndTriangle(), 1, layer, red), 1);
  std::vector<AcDbSubDMesh*> meshes = All<AcDbSubDMesh>();
  ASSERT_EQ(meshes.size(), 1u);
  AcGePoint3dArray vertices;
  AcArray<Adesk::Int32> faces;
  meshes[0]->getVertices(vertices);
  meshes[0]->getFaceArray(faces);
  EXPECT_EQ(vertices.length(), 5);
  EXPECT_EQ(std::vector<Adesk::Int32>(faces.begin(), faces.end()),
            (std::vector<Adesk::Int32>{4, 0, 1, 2, 3, 3, 1, 4, 2}));
  int level = -1;
  meshes[0]->subDLevel(level);
  EXPECT_EQ(level, 0);
  ExpectPlaced(L"Mesh", red);
}

TEST_F(MeshOutputs, ThreeDFacesRepeatTheThirdCornerOfATriangle) {
  EXPECT_EQ(GeometryConverter::MeshToFaces(QuadAndTriangle(), layer, red), 1);
  std::vector<AcDbFace*> faces = All<AcDbFace>();
  ASSERT_EQ(faces.size(), 2u);
  const AcGePoint3d expected[2][4] = {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                                      {{1, 0, 0}, {2, 0.5, 0.25}, {1, 1, 0}, {1, 1, 0}}};
  for (int f = 0; f < 2; ++f)
    for (Adesk::UInt16 k = 0; k < 4; ++k) {
      AcGePoint3d p;
      faces[static_cast<size_t>(f)]->getVertexAt(k, p);
      EXPECT_EQ(p, expected[f][k]) << "face " << f << " corner " << k;
    }
  ExpectPlaced(L"Mesh", red);
}

// Each line as an unordered pair of end points.
std::set<std::pair<std::array<double, 3>, std::array<double, 3>>> Edges(const std::vector<AcDbLine*>& lines) {
  std::set<std::pair<std::array<double, 3>, std::array<double, 3>>> out;
  for (AcDbLine* l : lines) {
    std::array<double, 3> a{l->startPoint().x, l->startPoint().y, l->startPoint().z};
    std::array<double, 3> b{l->endPoint().x, l->endPoint().y, l->endPoint().z};
    out.insert(std::minmax(a, b));
  }
  return out;
}

TEST_F(MeshOutputs, LinesAndPointsFollowTheTopologySharedOrNot) {
  for (bool shared : {true, false}) {
    SCOPED_TRACE(shared ? "four shared vertices" : "six unshared vertices");
    arxhost::ResetWorkingDatabase();
    const ON_Mesh mesh = TwoTriangles(shared);
    EXPECT_EQ(GeometryConverter::MeshToLines(mesh, layer, red), 1);
    std::vector<AcDbLine*> lines = All<AcDbLine>();
    EXPECT_EQ(lines.size(), 5u);
    EXPECT_EQ(Edges(lines).size(), 5u);  // no edge twice
    EXPECT_TRUE(Edges(lines).count({{0, 0, 0}, {0, 1, 0}}));
    EXPECT_TRUE(Edges(lines).count({{0, 1, 0}, {1, 0, 0}}));  // the diagonal, once
    ExpectPlaced(L"Mesh", red);

    arxhost::ResetWorkingDatabase();
    EXPECT_EQ(GeometryConverter::MeshToPoints(mesh, layer, red), 1);
    std::vector<AcDbPoint*> points = All<AcDbPoint>();
    ASSERT_EQ(points.size(), 4u);
    std::set<std::array<double, 3>> where;
    for (AcDbPoint* p : points) where.insert({p->position().x, p->position().y, p->position().z});
    EXPECT_EQ(where, (std::set<std::array<double, 3>>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
    ExpectPlaced(L"Mesh", red);
  }
}

TEST_F(MeshOutputs, MeshWithoutFaces) {
  const ON_Mesh mesh = MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {});
  AcDbPolyFaceMesh polyface;
  int status = -1;
  EXPECT_EQ(GeometryConverter::MeshToPolyFaceMesh(mesh, &polyface, &status), 1);
  EXPECT_EQ(status, Acad::eOk);
  EXPECT_EQ(polyface.numVertices(), 3);
  EXPECT_EQ(polyface.numFaces(), 0);

  EXPECT_EQ(GeometryConverter::MeshToFaces(mesh, layer, red), 1);
  EXPECT_TRUE(db.entities().empty());
  EXPECT_EQ(GeometryConverter::MeshToLines(mesh, layer, red), 1);
  EXPECT_TRUE(db.entities().empty());

  // Still one subdivision mesh, with no faces: the drawing takes no data
  // without faces, so the entity stays empty.
  EXPECT_EQ(GeometryConverter::MeshToSubDMesh(mesh, 1, layer, red), 1);
  std::vector<AcDbSubDMesh*> meshes = All<AcDbSubDMesh>();
  ASSERT_EQ(meshes.size(), 1u);
  int faces = -1;
  meshes[0]->numOfFaces(faces);
  EXPECT_EQ(faces, 0);
}

TEST_F(MeshOutputs, RefusedFaceRecordStopsWithTheStatusWordsAndKeepsEarlierRecords) {
  struct Case {
    const char* name;
    std::array<int, 4> bad;
  } cases[] = {
      {"beyond the vertices", {0, 1, 7, 7}},
      {"negative", {0, -3, 2, 2}},            // would read as a hidden edge to vertex 2
      {"beyond 16 bits", {0, 1, 65538, 65538}},  // would narrow to vertex 3
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GeometryConverter::SetError(L"");
    const ON_Mesh mesh = MakeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                                  {{0, 1, 2, 3}, c.bad, {0, 2, 3, 3}});
    AcDbPolyFaceMesh polyface;
    int status = 0;
    EXPECT_EQ(GeometryConverter::MeshToPolyFaceMesh(mesh, &polyface, &status), 0);
    EXPECT_EQ(status, Acad::eInvalidFaceVertexIndex);
    EXPECT_EQ(GeometryConverter::GetError(), ErrorStatusText::GetText(Acad::eInvalidFaceVertexIndex));
    EXPECT_FALSE(GeometryConverter::GetError().IsEmpty());
    EXPECT_EQ(polyface.numVertices(), 4);
    EXPECT_EQ(polyface.faceRecords(), (std::vector<Record>{{1, 2, 3, 4}}));
    EXPECT_EQ(GeometryConverter::MeshToPolyFaceMesh(mesh, &polyface), 0);  // the form without status
  }
}

TEST_F(MeshOutputs, RefusedVertexStopsBeforeAnyFace) {
  // A mesh that already holds a face record takes no more vertices.
  AcDbPolyFaceMesh polyface;
  for (int i = 0; i < 3; ++i) AcadUtils::AppendPolyFaceVertex(&polyface, AcGePoint3d(i, 0, 0));
  ASSERT_EQ(AcadUtils::AppendFaceRecord(&polyface, 1, 2, 3, 0), Acad::eOk);
  int status = 0;
  EXPECT_EQ(GeometryConverter::MeshToPolyFaceMesh(QuadAndTriangle(), &polyface, &status), 0);
  EXPECT_EQ(status, Acad::eVertexAfterFace);
  EXPECT_EQ(GeometryConverter::GetError(), ErrorStatusText::GetText(Acad::eVertexAfterFace));
  EXPECT_EQ(polyface.numVertices(), 3);
  EXPECT_EQ(polyface.numFaces(), 1);
}

TEST_F(MeshOutputs, FacesOutsideTheVerticesMakeNoThreeDFace) {
  const ON_Mesh mesh = MakeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 1, 9, 9}, {0, 1, 2, 2}, {-1, 0, 1, 1}});
  EXPECT_EQ(GeometryConverter::MeshToFaces(mesh, layer, red), 1);
  EXPECT_EQ(All<AcDbFace>().size(), 1u);
}

TEST_F(MeshOutputs, ArrayFormsConvertEveryMeshAndAnEmptyArrayNothing) {
  ON_ClassArray<ON_Mesh> none;
  EXPECT_EQ(GeometryConverter::MeshesToFaces(none, layer, red), 1);
  EXPECT_EQ(GeometryConverter::MeshesToLines(none, layer, red), 1);
  EXPECT_EQ(GeometryConverter::MeshesToPoints(none, layer, red), 1);
  EXPECT_EQ(GeometryConverter::MeshesToSubDMeshes(none, 1, layer, red), 1);
  EXPECT_TRUE(db.entities().empty());

  ON_ClassArray<ON_Mesh> two;
  two.Append(QuadAndTriangle());
  two.Append(TwoTriangles(true));
  struct Case {
    const char* name;
    int (*run)(const ON_ClassArray<ON_Mesh>&, const CString&, const AcCmColor&);
    size_t entities;
  } cases[] = {
      {"faces", GeometryConverter::MeshesToFaces, 2 + 2},
      {"lines", GeometryConverter::MeshesToLines, 6 + 5},
      {"points", GeometryConverter::MeshesToPoints, 5 + 4},
      {"subdivision meshes",
       [](const ON_ClassArray<ON_Mesh>& m, const CString& l, const AcCmColor& c) {
         return GeometryConverter::MeshesToSubDMeshes(m, 0, l, c);
       },
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    arxhost::ResetWorkingDatabase();
    EXPECT_EQ(c.run(two, layer, red), 1);
    EXPECT_EQ(db.entities().size(), c.entities);
    ExpectPlaced(L"Mesh", red);
  }
}

TEST_F(MeshOutputs, EntityTheDrawingRefusesIsNeitherAppendedNorLeftOpen) {
  // A layer name the table refuses stops AddEntity before the append.
  EXPECT_EQ(GeometryConverter::MeshToPoints(QuadAndTriangle(), L"a<b", red), 1);
  EXPECT_EQ(GeometryConverter::MeshToSubDMesh(QuadAndTriangle(), 1, L"a<b", red), 1);
  EXPECT_TRUE(db.entities().empty());
}

}  // namespace
