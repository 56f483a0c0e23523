// Picking or selecting 3D faces, polyface meshes and polygon meshes and
// converting them, answered by lines as a script answers them.
#include <memory>

#include "GeometryFixture.h"
#include "ScriptedAnswers.h"
#include "arx/aced.h"

namespace {

class SelectMesh : public GeometryTest, protected ScriptedAnswers {
 protected:
  void TearDown() override {
    EXPECT_EQ(arxhost::LiveSelectionSets(), 0u) << "a selection set was not freed";
    GeometryTest::TearDown();
  }

  AcDbObjectId Add(AcDbEntity* entity) {
    AcDbObjectId id;
    EXPECT_EQ(AcadUtils::AppendEntityWithId(entity, id), Acad::eOk);
    entity->close();
    return id;
  }
  // A polyface mesh of the points and face records (none: a mesh that does
  // not convert).
  AcDbObjectId AddPolyface(const std::vector<std::array<int, 4>>& faces) {
    auto* mesh = new AcDbPolyFaceMesh();
    for (const AcGePoint3d& p : {AcGePoint3d(0, 30, 0), AcGePoint3d(10, 30, 0), AcGePoint3d(10, 40, 0)})
      EXPECT_EQ(AcadUtils::AppendPolyFaceVertex(mesh, p), Acad::eOk);
    for (const auto& f : faces) EXPECT_EQ(AcadUtils::AppendFaceRecord(mesh, f[0], f[1], f[2], f[3]), Acad::eOk);
    return Add(mesh);
  }
  // A line at y = 0, a 3D face at y = 10..20, a 2D solid at y = 50..60, a
  // 2 x 2 polygon mesh at y = 70..71.
  void Draw() {
    line = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    face = Add(new AcDbFace(AcGePoint3d(0, 10, 0), AcGePoint3d(10, 10, 0), AcGePoint3d(10, 20, 0),
                            AcGePoint3d(0, 20, 0)));
    solid = Add(new AcDbSolid(AcGePoint3d(0, 50, 0), AcGePoint3d(10, 50, 0), AcGePoint3d(0, 60, 0),
                              AcGePoint3d(10, 60, 0)));
    AcGePoint3dArray grid;
    for (double y : {70.0, 71.0})
      for (double x : {0.0, 1.0}) grid.append(AcGePoint3d(x, y, 0));
    polygon = Add(new AcDbPolygonMesh(AcDb::kSimpleMesh, 2, 2, grid, false, false));
  }

  AcDbObjectId line, face, solid, polygon;
};

}  // namespace

TEST_F(SelectMesh, PickOffersNoTwoDSolidAndConvertsTheAcceptedPick) {
  Draw();
  Answer({L"pick 5,50", L"pick 5,0", L"pick 5,10"});
  ON_Mesh mesh;
  AcDbObjectId id;
  ASSERT_EQ(GeometryConverter::SelectMesh(L"Mesh: ", 1, mesh, id), 1);
  EXPECT_EQ(id, face);
  EXPECT_EQ(mesh.FaceCount(), 1);
  EXPECT_EQ(mesh.VertexCount(), 4);
  EXPECT_TRUE(db.get<AcDbEntity>(face)->isHighlighted());
  EXPECT_EQ(transcript.Text(), L"Mesh: pick 5,50\n\nObject was filtered out\n"
                               L"Mesh: pick 5,0\n\nObject was filtered out\n"
                               L"Mesh: pick 5,10\n");

  Answer({L"pick 0.5,70"});
  ON_Mesh grid;
  ASSERT_EQ(GeometryConverter::SelectMesh(L"", 0, grid), 1);
  EXPECT_EQ(grid.FaceCount(), 1);
  EXPECT_FALSE(db.get<AcDbEntity>(polygon)->isHighlighted());
}

TEST_F(SelectMesh, CancelledPickCopiesTheReason) {
  Draw();
  Answer({L"cancel"});
  ON_Mesh mesh;
  AcDbObjectId id = line;
  EXPECT_EQ(GeometryConverter::SelectMesh(L"", 1, mesh, id), 0);
  EXPECT_EQ(GeometryConverter::GetError(), L"Object selection cancelled");
  EXPECT_EQ(id, line);
  EXPECT_EQ(mesh.FaceCount(), 0);
}

TEST_F(SelectMesh, SelectionConvertsEachOfferedEntityInOrder) {
  Draw();
  AcDbObjectId polyface = AddPolyface({{1, 2, 3, 0}});
  ON_ClassArray<ON_Mesh> meshes;
  meshes.AppendNew();  // replaced
  AcDbObjectIdArray ids;
  Answer({L"all", L""});
  ASSERT_EQ(GeometryConverter::SelectMeshes(L"Meshes: ", 1, meshes, ids), 1);
  ASSERT_EQ(ids.length(), 3);
  EXPECT_EQ(ids[0], face);
  EXPECT_EQ(ids[1], polygon);
  EXPECT_EQ(ids[2], polyface);
  ASSERT_EQ(meshes.Count(), 3);
  EXPECT_EQ(meshes[0].FaceCount(), 1);
  EXPECT_EQ(meshes[1].FaceCount(), 1);
  EXPECT_EQ(meshes[2].VertexCount(), 3);
  EXPECT_TRUE(db.get<AcDbEntity>(polyface)->isHighlighted());
  EXPECT_FALSE(db.get<AcDbEntity>(solid)->isHighlighted());
  EXPECT_EQ(transcript.Text(), L"Meshes: all\n5 found\nMeshes: \n2 object(s) were filtered out\n");

  Answer({L"pick 5,10", L""});
  ASSERT_EQ(GeometryConverter::SelectMeshes(L"", 0, meshes), 1);
  EXPECT_EQ(meshes.Count(), 1);
}

TEST_F(SelectMesh, SelectionWithNothingConvertibleSaysMeshesNotSelected) {
  AcDbObjectId broken = AddPolyface({});  // a mesh without faces does not convert
  ON_ClassArray<ON_Mesh> meshes;
  meshes.AppendNew();
  AcDbObjectIdArray ids;
  Answer({L"all", L""});
  EXPECT_EQ(GeometryConverter::SelectMeshes(L"", 0, meshes, ids), 0);
  EXPECT_EQ(GeometryConverter::GetError(), L"Meshes not selected");
  EXPECT_EQ(meshes.Count(), 0);
  ASSERT_EQ(ids.length(), 1);
  EXPECT_EQ(ids[0], broken);

  // Nothing of the offered classes: the selection's own reason.
  Draw();
  Answer({L"pick 5,0", L"pick 5,50", L""});
  AcDbObjectIdArray none;
  EXPECT_EQ(GeometryConverter::SelectMeshes(L"", 0, meshes, none), 0);
  EXPECT_EQ(GeometryConverter::GetError(), L"No valid objects selected");
  Answer({L"cancel"});
  EXPECT_EQ(GeometryConverter::SelectMeshes(L"", 0, meshes), 0);
  EXPECT_EQ(GeometryConverter::GetError(), L"No entities selected");
}
