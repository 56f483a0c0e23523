// 3D faces, polyface meshes and polygon meshes of the drawing as openNURBS
// meshes; block references as instance references.
#include <array>

#include "GeometryFixture.h"

namespace {

using Corners = std::array<ON_3dPoint, 4>;

// The corners of each face, a triangle's third repeated.
std::vector<Corners> FaceCorners(const ON_Mesh& mesh) {
  std::vector<Corners> out;
  for (int f = 0; f < mesh.FaceCount(); ++f) {
    Corners c;
    for (int k = 0; k < 4; ++k) c[static_cast<size_t>(k)] = mesh.Vertex(mesh.m_F[f].vi[k]);
    out.push_back(c);
  }
  return out;
}

class ToMesh : public GeometryTest {};

TEST_F(ToMesh, ThreeDFaceIsOneTriangleOrOneQuad) {
  const AcGePoint3d a(0, 0, 0), b(1, 0, 0), c(1, 1, 0), d(0, 1, 0);
  const ON_3dPoint oa(0, 0, 0), ob(1, 0, 0), oc(1, 1, 0), od(0, 1, 0);
  AcDbFace quad(a, b, c, d);
  AcDbFace triangle(a, b, c, c + AcGeVector3d(1e-14, 0, 0));  // within the drawing's tolerance
  ON_Mesh mesh;
  EXPECT_EQ(GeometryConverter::AcDbFaceToMesh(&quad, mesh), 1);
  EXPECT_EQ(FaceCorners(mesh), (std::vector<Corners>{{oa, ob, oc, od}}));
  EXPECT_EQ(GeometryConverter::AcDbFaceToMesh(&triangle, mesh), 1);  // replaces what the mesh held
  EXPECT_EQ(FaceCorners(mesh), (std::vector<Corners>{{oa, ob, oc, oc}}));
  EXPECT_TRUE(mesh.m_F[0].IsTriangle());
}

AcDbPolyFaceMesh* Polyface(const std::vector<AcGePoint3d>& points, const std::vector<std::array<int, 4>>& faces) {
  auto* mesh = new AcDbPolyFaceMesh();
  for (const AcGePoint3d& p : points) EXPECT_EQ(AcadUtils::AppendPolyFaceVertex(mesh, p), Acad::eOk);
  for (const auto& f : faces) EXPECT_EQ(AcadUtils::AppendFaceRecord(mesh, f[0], f[1], f[2], f[3]), Acad::eOk);
  return mesh;
}

TEST_F(ToMesh, PolyfaceRecordsBecomeFacesWithoutTheirHiddenEdges) {
  const std::vector<AcGePoint3d> pts = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {5, 5, 5}};
  for (bool inDrawing : {false, true}) {
    SCOPED_TRACE(inDrawing ? "in the drawing" : "alone");
    AcDbPolyFaceMesh* polyface = Polyface(pts, {{1, 2, 3, 0}, {-1, 2, -3, 4}});
    if (inDrawing) {
      ASSERT_EQ(AcadUtils::AppendEntity(polyface), Acad::eOk);
      polyface->downgradeOpen();
    }
    ON_Mesh mesh;
    EXPECT_EQ(GeometryConverter::PolyFaceMeshToMesh(polyface, mesh), 1);
    // Vertex 5 is used by no face and goes.
    EXPECT_EQ(mesh.VertexCount(), 4);
    ASSERT_EQ(mesh.FaceCount(), 2);
    EXPECT_EQ(FaceCorners(mesh)[0], (Corners{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 0}}}));
    EXPECT_EQ(FaceCorners(mesh)[1], (Corners{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}}));
    if (inDrawing) {
      EXPECT_EQ(db.openObjects().size(), 1u);
      polyface->close();
    } else {
      delete polyface;
    }
  }
}

TEST_F(ToMesh, MeshLeftWithoutFacesIsInvalidAndLeavesTheCallersMesh) {
  AcDbPolyFaceMesh* polyface = Polyface({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {});
  ON_Mesh mesh;
  mesh.SetVertex(0, ON_3dPoint(7, 7, 7));
  EXPECT_EQ(GeometryConverter::PolyFaceMeshToMesh(polyface, mesh), 0);
  EXPECT_EQ(GeometryConverter::GetError(), CString(L"Invalid mesh"));
  ASSERT_EQ(mesh.VertexCount(), 1);
  EXPECT_EQ(mesh.Vertex(0), ON_3dPoint(7, 7, 7));
  delete polyface;
}

AcDbPolygonMesh* Grid(int m, int n, bool mClosed, bool nClosed, int missing = 0) {
  AcGePoint3dArray pts;
  for (int r = 0; r < m; ++r)
    for (int c = 0; c < n; ++c)
      if (r * n + c < m * n - missing) pts.append(AcGePoint3d(c, r, r * c));
  return new AcDbPolygonMesh(AcDb::kSimpleMesh, static_cast<Adesk::Int16>(m), static_cast<Adesk::Int16>(n), pts,
                             mClosed, nClosed);
}

TEST_F(ToMesh, PolygonMeshGivesOneQuadPerCellAndSeam) {
  struct Case {
    const char* name;
    bool mClosed, nClosed;
    int quads;
  } cases[] = {{"open", false, false, 6}, {"closed in N", false, true, 8}, {"closed in M", true, false, 9},
               {"closed in both", true, true, 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AcDbPolygonMesh* grid = Grid(3, 4, c.mClosed, c.nClosed);
    ON_Mesh mesh;
    EXPECT_EQ(GeometryConverter::PolygonMeshToMesh(grid, mesh), 1);
    EXPECT_EQ(mesh.FaceCount(), c.quads);
    // The first cell runs (0,0), (0,1), (1,1), (1,0).
    EXPECT_EQ(FaceCorners(mesh)[0], (Corners{{{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 0}}}));
    delete grid;
  }
  // The corner quad of a mesh closed both ways joins places 3, 11, 8 and 0.
  AcDbPolygonMesh* grid = Grid(3, 4, true, true);
  ON_Mesh mesh;
  GeometryConverter::PolygonMeshToMesh(grid, mesh);
  EXPECT_EQ(FaceCorners(mesh).back(), (Corners{{{3, 0, 0}, {3, 2, 6}, {0, 2, 0}, {0, 0, 0}}}));
  delete grid;
}

TEST_F(ToMesh, ShortOrEmptyGridsMakeOnlyTheQuadsTheyCanFill) {
  // Two vertices short: the last row's cells lose their far corners.
  AcDbPolygonMesh* shortGrid = Grid(3, 4, false, false, 2);
  ON_Mesh mesh;
  EXPECT_EQ(GeometryConverter::PolygonMeshToMesh(shortGrid, mesh), 1);
  EXPECT_EQ(mesh.FaceCount(), 4);
  delete shortGrid;

  AcDbPolygonMesh empty;
  GeometryConverter::SetError(L"");
  EXPECT_EQ(GeometryConverter::PolygonMeshToMesh(&empty, mesh), 0);
  EXPECT_EQ(GeometryConverter::GetError(), CString(L"Invalid mesh"));
  EXPECT_EQ(mesh.FaceCount(), 4);
}

AcDbObjectId AddBlock(const wchar_t* name) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase()->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbBlockTableRecord;
  record->setName(name);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, record), Acad::eOk);
  record->close();
  table->close();
  return id;
}

TEST_F(ToMesh, BlockReferenceFindsItsDefinitionByExactName) {
  AcDbBlockReference reference(AcGePoint3d(5, 6, 7), AddBlock(L"Bolt"));
  ON_ClassArray<ON_InstanceDefinition> definitions;
  ON_InstanceDefinition other, bolt;
  other.SetName(L"bolt");
  other.SetUuid(ON_UUID{1, 0, 0, {0}});
  bolt.SetName(L"Bolt");
  bolt.SetUuid(ON_UUID{2, 0, 0, {0}});
  definitions.Append(other);
  definitions.Append(bolt);

  ON_InstanceRef found;
  EXPECT_EQ(GeometryConverter::BlockReferenceToInstanceRef(&reference, found, definitions), 1);
  EXPECT_EQ(found.m_instance_definition_uuid, bolt.Uuid());
  EXPECT_EQ(found.m_xform.m_xform[0][3], 5.0);
  EXPECT_EQ(found.m_xform.m_xform[2][3], 7.0);

  ON_ClassArray<ON_InstanceDefinition> onlyOther;
  onlyOther.Append(other);
  ON_InstanceRef missing;
  EXPECT_EQ(GeometryConverter::BlockReferenceToInstanceRef(&reference, missing, onlyOther), 0);
  EXPECT_EQ(missing.m_instance_definition_uuid, ON_nil_uuid);
  EXPECT_EQ(missing.m_xform.m_xform[1][3], 6.0);  // the transform is set all the same

  AcDbBlockReference unplaced;  // no block at all
  ON_InstanceRef untouched;
  EXPECT_EQ(GeometryConverter::BlockReferenceToInstanceRef(&unplaced, untouched, definitions), 0);
  EXPECT_EQ(untouched.m_xform.m_xform[0][3], 0.0);
}

}  // namespace
