// Polyline and polyface records, polygon mesh to polyface mesh, erasing and
// curve sampling.
#include <gtest/gtest.h>

#include <array>
#include <numbers>

#include "AcadUtils.h"
#include "arx/dbInspector.h"

namespace {

using Face = std::array<Adesk::Int16, 4>;

class Drawing : public ::testing::Test {
 protected:
  void SetUp() override { arxhost::ResetWorkingDatabase(); }
  void TearDown() override { arxhost::ResetWorkingDatabase(); }
  arxhost::DatabaseInspector db;
};

// An M by N grid mesh in model space, open for read as the conversion takes it.
AcDbPolygonMesh* GridMesh(int m, int n, bool mClosed, bool nClosed) {
  AcGePoint3dArray pts;
  for (int r = 0; r < m; ++r)
    for (int c = 0; c < n; ++c) pts.append(AcGePoint3d(c, r, 0));
  auto* mesh = new AcDbPolygonMesh(AcDb::kSimpleMesh, static_cast<Adesk::Int16>(m), static_cast<Adesk::Int16>(n),
                                   pts, mClosed, nClosed);
  EXPECT_EQ(AcadUtils::AppendEntity(mesh), Acad::eOk);
  mesh->downgradeOpen();
  return mesh;
}

TEST_F(Drawing, PolygonMeshBecomesPolyfaceMeshWithGridFaces) {
  const std::vector<Face> open34 = {{1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {5, 6, 10, 9}, {6, 7, 11, 10}, {7, 8, 12, 11}};
  struct Case {
    const char* name;
    int m, n;
    bool mClosed, nClosed;
    std::vector<Face> faces;
  } cases[] = {
      {"2x2 open", 2, 2, false, false, {{1, 2, 4, 3}}},
      {"2x2 closed both", 2, 2, true, true, {{1, 2, 4, 3}, {2, 1, 3, 4}, {3, 4, 2, 1}, {2, 4, 3, 1}}},
      {"3x4 open", 3, 4, false, false, open34},
      {"3x4 closed in N", 3, 4, false, true,
       {{1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}, {5, 6, 10, 9}, {6, 7, 11, 10}, {7, 8, 12, 11},
        {8, 5, 9, 12}}},
      {"3x4 closed in M", 3, 4, true, false,
       {{1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {5, 6, 10, 9}, {6, 7, 11, 10}, {7, 8, 12, 11}, {9, 10, 2, 1},
        {10, 11, 3, 2}, {11, 12, 4, 3}}},
      {"3x4 closed both", 3, 4, true, true,
       {{1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}, {5, 6, 10, 9}, {6, 7, 11, 10}, {7, 8, 12, 11},
        {8, 5, 9, 12}, {9, 10, 2, 1}, {10, 11, 3, 2}, {11, 12, 4, 3}, {4, 12, 9, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AcDbPolygonMesh* source = GridMesh(c.m, c.n, c.mClosed, c.nClosed);
    auto* target = new AcDbPolyFaceMesh();
    EXPECT_EQ(AcadUtils::PolygonMeshToPolyFaceMesh(source, target), 1);
    std::vector<AcGePoint3d> pts = target->vertexPositions();
    ASSERT_EQ(pts.size(), static_cast<size_t>(c.m * c.n));
    EXPECT_TRUE(pts[static_cast<size_t>(c.n)].isEqualTo(AcGePoint3d(0, 1, 0)));  // row by row, n fastest
    EXPECT_EQ(target->faceRecords(), c.faces);
    EXPECT_EQ(target->numFaces(), static_cast<int>(c.faces.size()));
    // Only the two meshes stay open: the source as handed in, the target new.
    ASSERT_EQ(db.openObjects().size(), 1u);
    EXPECT_EQ(db.openObjects()[0].id, source->objectId());
    source->close();
    delete target;
  }
}

TEST_F(Drawing, ShortGridCopiesVerticesButMakesNoFaces) {
  // A mesh that claims 2 by 3 but holds only 5 vertices.
  AcGePoint3dArray pts;
  for (int i = 0; i < 5; ++i) pts.append(AcGePoint3d(i, 0, 0));
  AcDbPolygonMesh source(AcDb::kSimpleMesh, 2, 3, pts, false, false);
  AcDbPolyFaceMesh target;
  EXPECT_EQ(AcadUtils::PolygonMeshToPolyFaceMesh(&source, &target), 1);
  EXPECT_EQ(target.numVertices(), 5);
  EXPECT_EQ(target.numFaces(), 0);
}

TEST_F(Drawing, FaceRecordsNarrowIndicesToSixteenBits) {
  AcDbPolyFaceMesh mesh;
  for (int i = 0; i < 32767; ++i) ASSERT_EQ(AcadUtils::AppendPolyFaceVertex(&mesh, AcGePoint3d(i, 0, 0)), Acad::eOk);
  EXPECT_EQ(AcadUtils::AppendPolyFaceVertex(&mesh, AcGePoint3d()), Acad::eTooManyVertices);
  // 32769 narrows to -32767: vertex 32767 with its edge hidden.
  EXPECT_EQ(AcadUtils::AppendFaceRecord(&mesh, 1, 2, 32769, 0), Acad::eOk);
  // 32768 narrows to -32768, which no mesh can address.
  EXPECT_EQ(AcadUtils::AppendFaceRecord(&mesh, 1, 2, 32768, 0), Acad::eInvalidFaceVertexIndex);
  ASSERT_EQ(mesh.faceRecords().size(), 1u);
  EXPECT_EQ(mesh.faceRecords()[0], (Face{1, 2, -32767, 0}));
}

TEST_F(Drawing, RecordAppendersReturnTheAppendsStatus) {
  AcDbPolyFaceMesh mesh;
  EXPECT_EQ(AcadUtils::AppendFaceRecord(&mesh, 1, 2, 3, 0), Acad::eInvalidFaceVertexIndex);  // no vertices yet
  for (int i = 0; i < 3; ++i) AcadUtils::AppendPolyFaceVertex(&mesh, AcGePoint3d(i, i * i, 0));
  EXPECT_EQ(AcadUtils::AppendFaceRecord(&mesh, 1, 2, 3, 0), Acad::eOk);
  EXPECT_EQ(AcadUtils::AppendFaceRecord(&mesh, 1, 2, 4, 0), Acad::eInvalidFaceVertexIndex);
  EXPECT_EQ(AcadUtils::AppendPolyFaceVertex(&mesh, AcGePoint3d()), Acad::eVertexAfterFace);
  EXPECT_EQ(mesh.numVertices(), 3);
  EXPECT_EQ(mesh.numFaces(), 1);

  auto* polyline = new AcDb3dPolyline();
  ASSERT_EQ(AcadUtils::AppendEntity(polyline), Acad::eOk);
  EXPECT_EQ(AcadUtils::Append3dPolylineVertex(polyline, AcGePoint3d(1, 2, 3)), Acad::eOk);
  ASSERT_EQ(polyline->points().size(), 1u);
  EXPECT_TRUE(polyline->points()[0].isEqualTo(AcGePoint3d(1, 2, 3)));
  // The vertex is closed again; the polyline stays with its caller.
  ASSERT_EQ(db.openObjects().size(), 1u);
  EXPECT_EQ(db.openObjects()[0].id, polyline->objectId());
  polyline->close();
  // A polyline open for read refuses the vertex.
  AcDb3dPolyline* readOnly = nullptr;
  ASSERT_EQ(acdbOpenObject(readOnly, polyline->objectId(), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(AcadUtils::Append3dPolylineVertex(readOnly, AcGePoint3d()), Acad::eNotOpenForWrite);
  readOnly->close();
  EXPECT_TRUE(db.openObjects().empty());
}

TEST_F(Drawing, EraseEntityAndEntities) {
  AcDbObjectIdArray ids;
  for (int i = 0; i < 3; ++i) {
    auto* p = new AcDbPoint(AcGePoint3d(i, 0, 0));
    AcDbObjectId id;
    AcadUtils::AppendEntityWithId(p, id);
    p->close();
    ids.append(id);
  }
  EXPECT_EQ(AcadUtils::EraseEntity(ids[0]), 1);
  EXPECT_TRUE(ids[0].isErased());
  EXPECT_EQ(AcadUtils::EraseEntity(AcDbObjectId()), 0);
  AcDbEntity* held = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(held, ids[1], AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(AcadUtils::EraseEntity(ids[1]), 0);  // open elsewhere
  held->close();
  EXPECT_EQ(AcadUtils::EraseEntities(ids), 1);  // toggles each: 0 comes back, 1 and 2 go
  EXPECT_FALSE(ids[0].isErased());
  EXPECT_TRUE(ids[1].isErased());
  EXPECT_TRUE(ids[2].isErased());
}

std::vector<double> SampleXs(AcDbCurve* curve, double step) {
  AcGePoint3dArray pts;
  EXPECT_EQ(AcadUtils::SampleCurve(curve, step, pts), 1);
  std::vector<double> xs;
  for (const AcGePoint3d& p : pts) xs.push_back(p.x);
  return xs;
}

TEST_F(Drawing, SampleCurveAlongALine) {
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  struct Case {
    double step;
    std::vector<double> xs;
  } cases[] = {{3, {0, 3, 6, 9, 10}}, {5, {0, 5, 10}}, {10, {0, 10}}, {25, {0, 10}}};
  for (const Case& c : cases) {
    std::vector<double> xs = SampleXs(&line, c.step);
    ASSERT_EQ(xs.size(), c.xs.size()) << c.step;
    for (size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(xs[i], c.xs[i], 1e-12) << c.step;
  }
  // Points already in the array stay in front.
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(-1, -1, -1));
  AcadUtils::SampleCurve(&line, 5, pts);
  EXPECT_EQ(pts.length(), 4);
  EXPECT_EQ(pts[0].x, -1);
}

TEST_F(Drawing, SampleCurveWithoutUsableStepOrLengthEndsAtOnce) {
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  for (double step : {0.0, -2.0}) EXPECT_EQ(SampleXs(&line, step), (std::vector<double>{0, 10})) << step;
  AcDbLine dot(AcGePoint3d(4, 0, 0), AcGePoint3d(4, 0, 0));
  EXPECT_EQ(SampleXs(&dot, 1.0), std::vector<double>{4});
  // A circle: uniform in angle, ending where it started.
  AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1.0);
  AcGePoint3dArray pts;
  AcadUtils::SampleCurve(&circle, std::numbers::pi / 2, pts);
  ASSERT_EQ(pts.length(), 5);
  EXPECT_TRUE(pts[4].isEqualTo(pts[0]));
  EXPECT_NEAR(pts[1].y, 1.0, 1e-9);
}

}  // namespace

namespace {

TEST(FindString, FirstExactMatchOrMinusOne) {
  CStringArray classes;
  EXPECT_EQ(AcadUtils::FindString(classes, L"AcDbFace"), -1);
  for (const wchar_t* s : {L"AcDbFace", L"AcDbPolyFaceMesh", L"AcDbFace", L""}) classes.Add(s);
  struct Case {
    const wchar_t* value;
    int index;
  } cases[] = {{L"AcDbFace", 0}, {L"AcDbPolyFaceMesh", 1}, {L"acdbface", -1}, {L"AcDbFace ", -1}, {L"", 3},
               {L"AcDbPolygonMesh", -1}};
  for (const Case& c : cases) EXPECT_EQ(AcadUtils::FindString(classes, c.value), c.index) << CString(c.value).GetString();
}

// The index kept beside a list answers as the linear search over the list:
// the first equal string, exact case, a value compared up to its first NUL.
TEST(FindString, IndexFindsWhatTheListSearchFinds) {
  CStringArray names;
  AcadUtils::StringIndex index;
  EXPECT_EQ(AcadUtils::FindString(index, L"A"), -1);
  const CString values[] = {L"A", L"b", L"A", L"", L"B", L"b", CString(std::wstring(L"C\0D", 3))};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(AcadUtils::AddString(names, index, values[i]), i);
  ASSERT_EQ(names.GetSize(), 7);
  const CString probes[] = {L"A", L"b", L"B", L"", L"a", L"C", CString(std::wstring(L"A\0X", 3)),
                            CString(std::wstring(L"C\0D", 3)), L"missing"};
  for (const CString& p : probes)
    EXPECT_EQ(AcadUtils::FindString(index, p), AcadUtils::FindString(names, p)) << p.GetString();
  EXPECT_EQ(AcadUtils::FindString(index, L"b"), 1);
  EXPECT_EQ(AcadUtils::FindString(index, CString(std::wstring(L"A\0X", 3))), 0);
}

}  // namespace
