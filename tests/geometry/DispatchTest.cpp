// Rays, construction lines, polylines and 2D solids of the drawing as
// openNURBS objects, and the dispatcher that picks the conversion by class.
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>

#include "GeometryFixture.h"
#include "win32/strconv.h"

namespace {

constexpr double kPi = std::numbers::pi;

class Dispatch : public GeometryTest {
 protected:
  void TearDown() override {
    for (int i = 0; i < objects.Count(); ++i) delete objects[i];
    GeometryTest::TearDown();
  }
  ON_SimpleArray<ON_Object*> objects;
  ON_ClassArray<ON_InstanceDefinition> definitions;
};

TEST_F(Dispatch, RaysAndConstructionLinesBecomeShortSegments) {
  AcDbRay ray;
  ray.setBasePoint(AcGePoint3d(1, 2, 3));
  ray.setUnitDir(AcGeVector3d(0, 0, 1));
  ON_LineCurve curve;
  EXPECT_EQ(GeometryConverter::AcDbRayToCurve(&ray, curve), 1);
  EXPECT_EQ(curve.PointAtStart(), ON_3dPoint(1, 2, 3));
  EXPECT_EQ(curve.PointAtEnd(), ON_3dPoint(1, 2, 4));
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 1));

  AcDbXline xline;
  xline.setBasePoint(AcGePoint3d(1, 2, 3));
  xline.setUnitDir(AcGeVector3d(1, 0, 0));
  EXPECT_EQ(GeometryConverter::AcDbXlineToCurve(&xline, curve), 1);
  EXPECT_EQ(curve.PointAtStart(), ON_3dPoint(2, 2, 3));  // against its direction
  EXPECT_EQ(curve.PointAtEnd(), ON_3dPoint(0, 2, 3));
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 2));
}

std::unique_ptr<AcDbPolyline> Light(bool closed, double bulge = 0.0) {
  auto p = std::make_unique<AcDbPolyline>();
  const AcGePoint2d pts[] = {{0, 0}, {4, 0}, {4, 3}, {0, 3}};
  for (unsigned int i = 0; i < 4; ++i) p->addVertexAt(i, pts[i], i == 0 ? bulge : 0.0);
  p->setClosed(closed);
  return p;
}

TEST_F(Dispatch, LightPolylinesAsChordsOrAsLinesAndArcs) {
  struct Case {
    const char* name;
    bool closed;
    double bulge;
    int points;
  } cases[] = {{"closed", true, 0, 5}, {"open", false, 0, 4}, {"bulged, as its chord", false, 1.0, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto polyline = Light(c.closed, c.bulge);
    ON_PolylineCurve curve;
    EXPECT_EQ(GeometryConverter::AcDbPolylineToPolylineCurve(polyline.get(), curve), 1);
    ASSERT_EQ(curve.PointCount(), c.points);
    EXPECT_EQ(curve.Point(1), ON_3dPoint(4, 0, 0));
    EXPECT_EQ(curve.Point(c.points - 1), c.closed ? ON_3dPoint(0, 0, 0) : ON_3dPoint(0, 3, 0));
  }
  AcDbPolyline none;
  none.setClosed(true);
  ON_PolylineCurve empty;
  GeometryConverter::AcDbPolylineToPolylineCurve(&none, empty);
  EXPECT_EQ(empty.PointCount(), 0);

  // As a poly-curve: a half circle over the first side (bulge 1), then
  // lines, behind the segment the curve already held.
  ON_PolyCurve chain;
  chain.Append(new ON_LineCurve(ON_3dPoint(-1, 0, 0), ON_3dPoint(0, 0, 0)));
  auto bulged = Light(false, 1.0);
  EXPECT_EQ(GeometryConverter::AcDbPolylineToPolyCurve(bulged.get(), chain), 1);
  ASSERT_EQ(chain.Count(), 4);
  const ON_ArcCurve* arc = ON_ArcCurve::Cast(chain.SegmentCurve(1));
  ASSERT_NE(arc, nullptr);
  EXPECT_NEAR(arc->m_arc.Radius(), 2.0, 1e-12);
  EXPECT_NEAR(arc->m_arc.AngleRadians(), kPi, 1e-12);
  EXPECT_LT(arc->PointAtStart().DistanceTo(ON_3dPoint(0, 0, 0)), 1e-12);
  EXPECT_LT(arc->PointAtEnd().DistanceTo(ON_3dPoint(4, 0, 0)), 1e-12);
  // The arc bulges to the side on which the drawing draws it.
  AcGePoint3d middle;
  bulged->getPointAtParam(0.5, middle);
  EXPECT_LT(arc->PointAt(arc->Domain().Mid()).DistanceTo(GeometryConverter::AcGePointToPoint(middle)), 1e-9);
  EXPECT_NE(ON_LineCurve::Cast(chain.SegmentCurve(2)), nullptr);
}

TEST_F(Dispatch, TwoDPolylineTakesItsElevationAsZ) {
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(0, 0, 0));
  pts.append(AcGePoint3d(1, 0, 0));
  pts.append(AcGePoint3d(1, 1, 0));
  AcDb2dPolyline polyline(AcDb::k2dSimplePoly, pts, 5.0, true);
  ON_PolylineCurve curve;
  EXPECT_EQ(GeometryConverter::AcDb2dPolylineToPolylineCurve(&polyline, curve), 1);
  ASSERT_EQ(curve.PointCount(), 4);
  EXPECT_EQ(curve.Point(2), ON_3dPoint(1, 1, 5));
  EXPECT_EQ(curve.Point(3), ON_3dPoint(0, 0, 5));
}

TEST_F(Dispatch, TwoDSolidsSwapTheirLastCorners) {
  const AcGePoint3d a(0, 0, 0), b(2, 0, 0), c(0, 1, 0), d(2, 1, 0);  // outline a, b, d, c
  AcDbSolid quad(a, b, c, d);
  ON_Mesh mesh;
  EXPECT_EQ(GeometryConverter::EntityToMesh(&quad, mesh), 1);
  ASSERT_EQ(mesh.FaceCount(), 1);
  EXPECT_EQ(mesh.Vertex(mesh.m_F[0].vi[2]), ON_3dPoint(2, 1, 0));
  EXPECT_EQ(mesh.Vertex(mesh.m_F[0].vi[3]), ON_3dPoint(0, 1, 0));
  ON_NurbsSurface patch;
  EXPECT_EQ(GeometryConverter::AcDbSolidToSurface(&quad, patch), 1);
  EXPECT_EQ(patch.PointAt(1, 1), ON_3dPoint(2, 1, 0));
  AcDbSolid triangle(a, b, c);
  EXPECT_EQ(GeometryConverter::AcDbSolidToMesh(&triangle, mesh), 1);
  EXPECT_TRUE(mesh.m_F[0].IsTriangle());

  AcDbLine line(a, b);
  EXPECT_EQ(GeometryConverter::EntityToMesh(&line, mesh), 0);
  EXPECT_EQ(GeometryConverter::GetError(),
            CString(L"Entity is not a 3D Face, 2D Solid, PolyFace Mesh or Polygon Mesh"));
}

TEST_F(Dispatch, EachClassGetsItsOpenNurbsObject) {
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(0, 0, 0));
  pts.append(AcGePoint3d(1, 0, 0));
  pts.append(AcGePoint3d(1, 1, 0));
  pts.append(AcGePoint3d(0, 1, 1));
  AcGeDoubleArray knots, weights;
  for (double k : {0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0}) knots.append(k);
  auto ray = std::make_unique<AcDbRay>();
  auto xline = std::make_unique<AcDbXline>();
  auto mline = std::make_unique<AcDbMline>();
  for (const AcGePoint3d& p : {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), AcGePoint3d(10, 10, 0)})
    mline->appendSeg(p);
  auto polyface = std::make_unique<AcDbPolyFaceMesh>();
  for (int i = 0; i < 3; ++i) AcadUtils::AppendPolyFaceVertex(polyface.get(), pts[i]);
  AcadUtils::AppendFaceRecord(polyface.get(), 1, 2, 3, 0);
  auto hatch = std::make_unique<AcDbHatch>();
  AcGePoint2dArray loop;
  loop.append(AcGePoint2d(0, 0));
  loop.append(AcGePoint2d(1, 0));
  loop.append(AcGePoint2d(0, 1));
  hatch->appendLoop(AcDbHatch::kExternal, loop, AcGeDoubleArray());

  struct Case {
    std::string name;
    std::shared_ptr<AcDbEntity> entity;
    std::vector<const ON_ClassId*> made;
  } cases[] = {
      {"point", std::make_shared<AcDbPoint>(AcGePoint3d(1, 1, 1)), {&ON_Point::m_ON_Point_class_id}},
      {"line", std::make_shared<AcDbLine>(pts[0], pts[1]), {&ON_LineCurve::m_ON_LineCurve_class_id}},
      {"ray", std::shared_ptr<AcDbEntity>(std::move(ray)), {&ON_LineCurve::m_ON_LineCurve_class_id}},
      {"construction line", std::shared_ptr<AcDbEntity>(std::move(xline)), {&ON_LineCurve::m_ON_LineCurve_class_id}},
      {"multiline", std::shared_ptr<AcDbEntity>(std::move(mline)),
       std::vector<const ON_ClassId*>(4, &ON_LineCurve::m_ON_LineCurve_class_id)},
      {"circle", std::make_shared<AcDbCircle>(pts[0], AcGeVector3d(0, 0, 1), 1.0), {&ON_ArcCurve::m_ON_ArcCurve_class_id}},
      {"arc", std::make_shared<AcDbArc>(pts[0], 1.0, 0.0, 1.0), {&ON_ArcCurve::m_ON_ArcCurve_class_id}},
      {"ellipse", std::make_shared<AcDbEllipse>(pts[0], AcGeVector3d(0, 0, 1), AcGeVector3d(2, 0, 0), 0.5),
       {&ON_NurbsCurve::m_ON_NurbsCurve_class_id}},
      {"light polyline", std::shared_ptr<AcDbEntity>(Light(true)), {&ON_PolylineCurve::m_ON_PolylineCurve_class_id}},
      {"3D polyline", std::make_shared<AcDb3dPolyline>(AcDb::k3dSimplePoly, pts),
       {&ON_PolylineCurve::m_ON_PolylineCurve_class_id}},
      {"spline", std::make_shared<AcDbSpline>(3, false, false, false, pts, knots, weights),
       {&ON_NurbsCurve::m_ON_NurbsCurve_class_id}},
      {"3D face", std::make_shared<AcDbFace>(pts[0], pts[1], pts[2]), {&ON_Mesh::m_ON_Mesh_class_id}},
      {"polyface mesh", std::shared_ptr<AcDbEntity>(std::move(polyface)), {&ON_Mesh::m_ON_Mesh_class_id}},
      {"polygon mesh", std::make_shared<AcDbPolygonMesh>(AcDb::kSimpleMesh, 2, 2, pts, false, false),
       {&ON_Mesh::m_ON_Mesh_class_id}},
      {"2D solid", std::make_shared<AcDbSolid>(pts[0], pts[1], pts[3], pts[2]),
       {&ON_NurbsSurface::m_ON_NurbsSurface_class_id}},
      {"hatch", std::shared_ptr<AcDbEntity>(std::move(hatch)),
       std::vector<const ON_ClassId*>(3, &ON_LineCurve::m_ON_LineCurve_class_id)},
      {"text", std::make_shared<AcDbText>(), {&ON_TextEntity2::m_ON_TextEntity2_class_id}},
  };
  // Something already in the array stays in front.
  ON_Point* earlier = new ON_Point(0, 0, 0);
  objects.Append(earlier);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int before = objects.Count();
    EXPECT_EQ(GeometryConverter::EntityToObjects(c.entity.get(), objects, definitions), 1);
    ASSERT_EQ(objects.Count() - before, static_cast<int>(c.made.size()));
    for (size_t i = 0; i < c.made.size(); ++i)
      EXPECT_EQ(objects[before + static_cast<int>(i)]->ClassId(), c.made[i]) << i;
  }
  EXPECT_EQ(objects[0], earlier);
}

TEST_F(Dispatch, OtherClassesAndFailedConversionsAppendNothing) {
  objects.Append(new ON_Point(0, 0, 0));
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(0, 0, 0));
  pts.append(AcGePoint3d(1, 0, 0));
  AcDb2dPolyline polyline2d(AcDb::k2dSimplePoly, pts);
  AcDbMText mtext;
  AcDbLeader leader;
  AcDbPolyFaceMesh faceless;  // converts to no valid mesh
  AcDbBlockReference orphan(AcGePoint3d(0, 0, 0), AcDbObjectId::kNull);
  for (AcDbEntity* e : std::initializer_list<AcDbEntity*>{&polyline2d, &mtext, &leader, &faceless, &orphan}) {
    SCOPED_TRACE(arxhost::ToUtf8(e->isA()->name()));
    GeometryConverter::SetError(L"earlier");
    EXPECT_EQ(GeometryConverter::EntityToObjects(e, objects, definitions), 0);
    EXPECT_EQ(objects.Count(), 1);
    if (e != &faceless) {
      EXPECT_EQ(GeometryConverter::GetError(), CString(L"earlier"));
    } else {
      EXPECT_EQ(GeometryConverter::GetError(), CString(L"Invalid mesh"));  // the conversion's own text stays
    }
  }

  // Entities that do not explode.
  AcDbPoint point(AcGePoint3d(1, 1, 1));
  ON_ClassArray<ON_LineCurve> lines;
  GeometryConverter::SetError(L"");
  EXPECT_EQ(GeometryConverter::HatchToLines(&point, lines), 0);
  EXPECT_EQ(GeometryConverter::GetError(), CString(L""));
  EXPECT_EQ(GeometryConverter::MlineToLines(&point, lines), 0);
  EXPECT_EQ(GeometryConverter::GetError(), CString(L"Unable to explode MLINE object"));
  EXPECT_EQ(GeometryConverter::ExplodeRegion(&point, objects), 0);
  EXPECT_EQ(lines.Count(), 0);
  EXPECT_EQ(objects.Count(), 1);
}

TEST_F(Dispatch, ExplodedRegionGivesItsEdges) {
  AcDbVoidPtrArray entities;
  const std::string path = std::string(TOLVANE_FIXTURES) + "/sat/square_region.sat";
  ASSERT_EQ(AcDbBody::acisIn(arxhost::FromUtf8(path).c_str(), entities), Acad::eOk);
  ASSERT_EQ(entities.length(), 1);
  std::unique_ptr<AcDbEntity> region(static_cast<AcDbEntity*>(entities[0]));
  EXPECT_EQ(GeometryConverter::EntityToObjects(region.get(), objects, definitions), 1);
  ASSERT_EQ(objects.Count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(objects[i]->ClassId(), &ON_LineCurve::m_ON_LineCurve_class_id);
}

}  // namespace
