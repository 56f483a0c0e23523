// Entity data as the drawing checks it, and moving entities.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>
#include <numbers>

#include "arx/dbInspector.h"
#include "arx/acutils.h"
#include "arx/dbheaders.h"

namespace {

constexpr double kPi = std::numbers::pi;

AcGePoint3dArray Points(std::initializer_list<AcGePoint3d> pts) {
  AcGePoint3dArray a;
  for (const AcGePoint3d& p : pts) a.append(p);
  return a;
}
AcGeDoubleArray Doubles(std::initializer_list<double> v) {
  AcGeDoubleArray a;
  for (double d : v) a.append(d);
  return a;
}

// Book names travel with copies of a colour, each copy its own, and a new
// colour value leaves them behind.
TEST(Color, BookNamesGoWithCopiesAndCountInComparisons) {
  AcCmColor named;
  named.setRGB(10, 20, 30);
  ASSERT_EQ(named.setNames(L"Sky", L"Book"), Acad::eOk);
  EXPECT_EQ(named.setNames(L""), Acad::eInvalidInput);
  AcCmColor copy = named;
  AcCmColor assigned;
  assigned = named;
  for (const AcCmColor* c : {&named, &copy, &assigned}) {
    EXPECT_STREQ(c->colorName(), L"Sky");
    EXPECT_STREQ(c->bookName(), L"Book");
  }
  EXPECT_NE(copy.colorName(), named.colorName());  // not shared
  EXPECT_EQ(copy, named);
  AcCmColor plain;
  plain.setRGB(10, 20, 30);
  EXPECT_NE(plain, named);
  EXPECT_FALSE(plain.hasColorName());
  EXPECT_EQ(plain.colorName(), nullptr);
  copy.setNames(L"Sky");
  EXPECT_NE(copy, named);
  EXPECT_TRUE(copy.hasColorName());
  EXPECT_FALSE(copy.hasBookName());
  EXPECT_EQ(copy.bookName(), nullptr);
  assigned.setColorIndex(3);
  EXPECT_FALSE(assigned.hasColorName());
  EXPECT_STREQ(named.colorName(), L"Sky");
  named = named;
  EXPECT_STREQ(named.bookName(), L"Book");
}

// Objects of every size, made and freed in a mixed order and at numbers
// that take many pages: each keeps what was put in it, whatever comes and
// goes around it.
TEST(Objects, KeepTheirDataWhileOthersComeAndGo) {
  struct Made {
    std::unique_ptr<AcDbEntity> entity;
    int n;
  };
  const auto make = [](int n) -> Made {
    const double v = n;
    switch (n % 4) {
      case 0: return {std::make_unique<AcDbLine>(AcGePoint3d(v, 0, 0), AcGePoint3d(0, v, 0)), n};
      case 1: return {std::make_unique<AcDbArc>(AcGePoint3d(v, v, 0), v + 1, 0.0, 1.0), n};
      case 2: {
        auto text = std::make_unique<AcDbMText>();
        text->setContents(std::to_wstring(n).c_str());
        return {std::move(text), n};
      }
      default:
        return {std::make_unique<AcDbRotatedDimension>(0.0, AcGePoint3d(v, 0, 0), AcGePoint3d(v, 1, 0),
                                                       AcGePoint3d(v, 2, 0)),
                n};
    }
  };
  const auto intact = [](const Made& m) {
    const double v = m.n;
    if (auto* line = AcDbLine::cast(m.entity.get())) return line->startPoint() == AcGePoint3d(v, 0, 0) &&
                                                            line->endPoint() == AcGePoint3d(0, v, 0);
    if (auto* arc = AcDbArc::cast(m.entity.get())) return arc->center() == AcGePoint3d(v, v, 0) && arc->radius() == v + 1;
    if (auto* text = AcDbMText::cast(m.entity.get())) {
      ACHAR* contents = text->contents();
      const bool same = std::wstring(contents) == std::to_wstring(m.n);
      acutDelString(contents);
      return same;
    }
    auto* dim = AcDbRotatedDimension::cast(m.entity.get());
    return dim && dim->xLine1Point() == AcGePoint3d(v, 0, 0) && dim->dimLinePoint() == AcGePoint3d(v, 2, 0);
  };
  std::vector<Made> made;
  for (int n = 0; n < 40000; ++n) made.push_back(make(n));
  // Every third goes, and new ones take their room.
  for (size_t i = 0; i < made.size(); i += 3) made[i] = make(static_cast<int>(made.size() + i));
  for (int n = 40000; n < 60000; ++n) made.push_back(make(n));
  size_t broken = 0;
  for (const Made& m : made) broken += intact(m) ? 0 : 1;
  EXPECT_EQ(broken, 0u);
}

TEST(Spline, NurbsDataTheDrawingRefusesLeavesTheSplineNull) {
  AcGePoint3dArray four = Points({{0, 0, 0}, {1, 1, 0}, {2, 1, 0}, {3, 0, 0}});
  AcGeDoubleArray clamped = Doubles({0, 0, 0, 0, 1, 1, 1, 1});
  struct Case {
    const char* name;
    int degree;
    bool rational;
    AcGePoint3dArray cps;
    AcGeDoubleArray knots, weights;
    bool accepted;
  } cases[] = {
      {"cubic Bezier", 3, false, four, clamped, AcGeDoubleArray(), true},
      {"rational with weights", 3, true, four, clamped, Doubles({1, 0.5, 0.5, 1}), true},
      {"degree 0", 0, false, four, Doubles({0, 0, 0, 0, 1}), AcGeDoubleArray(), false},
      {"too few control points", 4, false, four, Doubles({0, 0, 0, 0, 0, 1, 1, 1, 1}), AcGeDoubleArray(), false},
      {"knot count", 3, false, four, Doubles({0, 0, 0, 1, 1, 1, 1}), AcGeDoubleArray(), false},
      {"decreasing knots", 3, false, four, Doubles({0, 0, 0, 0, 1, 1, 0.5, 1}), AcGeDoubleArray(), false},
      {"empty knot range", 3, false, four, Doubles({0, 0, 0, 0, 0, 0, 0, 0}), AcGeDoubleArray(), false},
      {"rational without weights", 3, true, four, clamped, AcGeDoubleArray(), false},
      {"zero weight", 3, true, four, clamped, Doubles({1, 0, 1, 1}), false},
      {"inner knot too often", 1, false, Points({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}), Doubles({0, 0, 0.5, 0.5, 1}),
       AcGeDoubleArray(), false},
      {"not finite", 3, false, Points({{0, 0, 0}, {NAN, 1, 0}, {2, 1, 0}, {3, 0, 0}}), clamped, AcGeDoubleArray(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AcDbSpline spline;
    Acad::ErrorStatus es = spline.setNurbsData(c.degree, c.rational, false, false, c.cps, c.knots, c.weights);
    EXPECT_EQ(es == Acad::eOk, c.accepted);
    EXPECT_EQ(spline.isNull(), !c.accepted);
  }
  // A refused update keeps the data the spline had.
  AcDbSpline spline(3, false, false, false, four, clamped, AcGeDoubleArray());
  ASSERT_FALSE(spline.isNull());
  EXPECT_EQ(spline.setNurbsData(3, false, false, false, four, Doubles({0, 1}), AcGeDoubleArray()), Acad::eInvalidInput);
  EXPECT_EQ(spline.numControlPoints(), 4);
}

TEST(Spline, EvaluatesAndGivesItsDataBack) {
  AcGePoint3dArray cps = Points({{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}});
  AcDbSpline spline(3, false, false, false, cps, Doubles({0, 0, 0, 0, 2, 2, 2, 2}), AcGeDoubleArray());
  AcGePoint3d mid;
  ASSERT_EQ(spline.getPointAtParam(1.0, mid), Acad::eOk);
  EXPECT_TRUE(mid.isEqualTo(AcGePoint3d(2, 1.5, 0)));
  int degree;
  bool rational, closed, periodic;
  AcGePoint3dArray outCps;
  AcGeDoubleArray knots, weights;
  double ct, kt;
  ASSERT_EQ(spline.getNurbsData(degree, rational, closed, periodic, outCps, knots, weights, ct, kt), Acad::eOk);
  EXPECT_EQ(degree, 3);
  EXPECT_EQ(outCps, cps);
  EXPECT_EQ(knots.length(), 8);
  EXPECT_TRUE(weights.isEmpty());
  EXPECT_FALSE(closed);
  double length = 0.0;
  ASSERT_EQ(spline.getDistAtParam(2.0, length), Acad::eOk);
  EXPECT_GT(length, 4.0);
  EXPECT_LT(length, 1.0 + 2.0 + 2.0 * std::sqrt(5.0));

  // A rational quarter circle stays on the circle.
  double w = std::sqrt(0.5);
  AcDbSpline arc(2, true, false, false, Points({{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}), Doubles({0, 0, 0, 1, 1, 1}),
                 Doubles({1, w, 1}));
  for (double t : {0.1, 0.5, 0.9}) {
    AcGePoint3d p;
    arc.getPointAtParam(t, p);
    EXPECT_NEAR(p.asVector().length(), 1.0, 1e-12);
  }
}

TEST(Spline, FitPointsGiveAnInterpolatingCurve) {
  AcGePoint3dArray fit = Points({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}});
  AcDbSpline spline(fit, 4, 0.0);
  ASSERT_FALSE(spline.isNull());
  EXPECT_TRUE(spline.hasFitData());
  EXPECT_EQ(spline.numFitPoints(), 5);
  EXPECT_EQ(spline.degree(), 3);
  // The curve passes through every fit point.
  for (const AcGePoint3d& p : fit) {
    double t = 0.0;
    EXPECT_EQ(spline.getParamAtPoint(p, t), Acad::eOk) << p.x;
  }
  AcGePoint3d start, end;
  spline.getStartPoint(start);
  spline.getEndPoint(end);
  EXPECT_TRUE(start.isEqualTo(fit[0]));
  EXPECT_TRUE(end.isEqualTo(fit[4]));
  EXPECT_TRUE(AcDbSpline(Points({{1, 1, 1}, {1, 1, 1}}), 4, 0.0).isNull());
  EXPECT_FALSE(AcDbSpline(Points({{0, 0, 0}, {1, 0, 0}}), 4, 0.0).isNull());  // degree drops to fit
}

TEST(SubDMesh, FaceListsAreChecked) {
  AcGePoint3dArray v = Points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  auto faces = [](std::initializer_list<Adesk::Int32> l) {
    AcArray<Adesk::Int32> a;
    for (Adesk::Int32 x : l) a.append(x);
    return a;
  };
  struct Case {
    const char* name;
    AcArray<Adesk::Int32> faces;
    int level;
    bool accepted;
  } cases[] = {
      {"one quad", faces({4, 0, 1, 2, 3}), 0, true},
      {"two triangles", faces({3, 0, 1, 2, 3, 0, 2, 3}), 0, true},
      {"index past the vertices", faces({3, 0, 1, 4}), 0, false},
      {"negative index", faces({3, 0, -1, 2}), 0, false},
      {"two corners", faces({2, 0, 1}), 0, false},
      {"list ends inside a face", faces({4, 0, 1, 2}), 0, false},
      {"no faces", faces({}), 0, false},
      {"level too high", faces({4, 0, 1, 2, 3}), 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AcDbSubDMesh mesh;
    EXPECT_EQ(mesh.setSubDMesh(v, c.faces, c.level) == Acad::eOk, c.accepted);
    int n = -1;
    mesh.numOfVertices(n);
    EXPECT_EQ(n, c.accepted ? 4 : 0);
  }
  AcDbSubDMesh mesh;
  mesh.setSubDMesh(v, faces({3, 0, 1, 2, 3, 0, 2, 3}), 0);
  int count = 0;
  mesh.numOfFaces(count);
  EXPECT_EQ(count, 2);
  mesh.numOfEdges(count);
  EXPECT_EQ(count, 5);
}

TEST(PolyFaceMesh, IteratorYieldsVerticesThenFaceRecordsAlsoInTheDrawing) {
  arxhost::ResetWorkingDatabase();
  auto* mesh = new AcDbPolyFaceMesh();
  for (int i = 0; i < 3; ++i) {
    auto* v = new AcDbPolyFaceMeshVertex(AcGePoint3d(i, 0, 0));
    ASSERT_EQ(mesh->appendVertex(v), Acad::eOk);
    v->close();
  }
  auto* f = new AcDbFaceRecord(1, 2, -3, 0);
  ASSERT_EQ(mesh->appendFaceRecord(f), Acad::eOk);
  f->close();
  // Joining the drawing gives every vertex and record its id.
  AcDbBlockTableRecord* ms = nullptr;
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  ASSERT_EQ(acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(ms->appendAcDbEntity(mesh), Acad::eOk);
  ms->close();
  AcDbObjectIterator* it = mesh->vertexIterator();
  std::vector<const wchar_t*> kinds;
  for (; !it->done(); it->step()) {
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, it->objectId(), AcDb::kForRead), Acad::eOk);
    kinds.push_back(o->isA()->name());
    EXPECT_EQ(o->ownerId(), mesh->objectId());
    o->close();
  }
  delete it;
  ASSERT_EQ(kinds.size(), 4u);
  EXPECT_STREQ(kinds[0], L"AcDbPolyFaceMeshVertex");
  EXPECT_STREQ(kinds[3], L"AcDbFaceRecord");
  Adesk::Boolean visible = true;
  f->isEdgeVisibleAt(2, visible);
  EXPECT_FALSE(visible);
  mesh->close();
  EXPECT_TRUE(arxhost::DatabaseInspector().openObjects().empty());
  arxhost::ResetWorkingDatabase();
}

TEST(TransformBy, EveryKindMovesItsPoints) {
  AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0)) * AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis);
  auto moved = [&](AcGePoint3d p) { return m * p; };

  AcDbLine line(AcGePoint3d(1, 0, 0), AcGePoint3d(2, 0, 0));
  ASSERT_EQ(line.transformBy(m), Acad::eOk);
  EXPECT_TRUE(line.startPoint().isEqualTo(AcGePoint3d(10, 1, 0)));

  AcDbArc arc(AcGePoint3d(0, 0, 0), 1.0, 0.0, kPi / 2);
  ASSERT_EQ(arc.transformBy(m), Acad::eOk);
  EXPECT_NEAR(arc.startAngle(), kPi / 2, 1e-12);
  EXPECT_NEAR(arc.endAngle(), kPi, 1e-12);

  // A mirror keeps the arc's points: it runs from the old end to the old start.
  AcDbArc mirrored(AcGePoint3d(0, 0, 0), 1.0, 0.0, kPi / 2);
  AcGeMatrix3d mirrorX;
  mirrorX.entry[0][0] = -1.0;
  ASSERT_EQ(mirrored.transformBy(mirrorX), Acad::eOk);
  AcGePoint3d s, e;
  mirrored.getStartPoint(s);
  mirrored.getEndPoint(e);
  EXPECT_TRUE(s.isEqualTo(AcGePoint3d(0, 1, 0), AcGeTol()));
  EXPECT_TRUE(e.isEqualTo(AcGePoint3d(-1, 0, 0), AcGeTol()));

  AcDbCircle circle(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, 2.0);
  ASSERT_EQ(circle.transformBy(AcGeMatrix3d::scaling(3.0)), Acad::eOk);
  EXPECT_DOUBLE_EQ(circle.radius(), 6.0);
  AcGeMatrix3d stretch;
  stretch.entry[1][1] = 2.0;
  EXPECT_EQ(circle.transformBy(stretch), Acad::eCannotScaleNonUniformly);

  AcDbEllipse ellipse(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(2, 0, 0), 0.5);
  ASSERT_EQ(ellipse.transformBy(m), Acad::eOk);
  EXPECT_TRUE(ellipse.majorAxis().isEqualTo(AcGeVector3d(0, 2, 0)));
  EXPECT_TRUE(ellipse.center().isEqualTo(AcGePoint3d(10, 0, 0)));

  AcDbFace face(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0));
  face.transformBy(m);
  AcGePoint3d corner;
  face.getVertexAt(3, corner);
  EXPECT_TRUE(corner.isEqualTo(moved(AcGePoint3d(1, 1, 0))));

  AcDb3dPolyline pline(AcDb::k3dSimplePoly, Points({{0, 0, 0}, {1, 0, 0}}));
  pline.transformBy(m);
  EXPECT_TRUE(pline.points()[1].isEqualTo(AcGePoint3d(10, 1, 0)));

  AcDbPolyline lw;
  lw.addVertexAt(0, AcGePoint2d(0, 0), 1.0);  // a half circle to (2, 0)
  lw.addVertexAt(1, AcGePoint2d(2, 0));
  ASSERT_EQ(lw.transformBy(m), Acad::eOk);
  AcGePoint3d p;
  lw.getPointAt(1, p);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(10, 2, 0), AcGeTol()));
  AcGeCircArc3d seg;
  ASSERT_EQ(lw.getArcSegAt(0, seg), Acad::eOk);
  EXPECT_TRUE(seg.center().isEqualTo(AcGePoint3d(10, 1, 0), AcGeTol()));

  AcDbSpline spline(1, false, false, false, Points({{0, 0, 0}, {1, 0, 0}}), Doubles({0, 0, 1, 1}), AcGeDoubleArray());
  spline.transformBy(m);
  AcGePoint3d cp;
  spline.getControlPointAt(1, cp);
  EXPECT_TRUE(cp.isEqualTo(AcGePoint3d(10, 1, 0)));

  AcDbText text(AcGePoint3d(1, 0, 0), L"T", AcDbObjectId(), 2.0, 0.0);
  text.transformBy(m);
  EXPECT_NEAR(text.rotation(), kPi / 2, 1e-12);
  AcDbMText mtext;
  mtext.setTextHeight(1.0);
  mtext.transformBy(AcGeMatrix3d::scaling(2.0));
  EXPECT_DOUBLE_EQ(mtext.textHeight(), 2.0);

  AcDbBlockReference ref(AcGePoint3d(1, 0, 0), AcDbObjectId());
  ref.transformBy(m);
  EXPECT_TRUE(ref.position().isEqualTo(AcGePoint3d(10, 1, 0)));
  EXPECT_NEAR(ref.rotation(), kPi / 2, 1e-12);

  AcDbRotatedDimension dim(0.0, AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0), AcGePoint3d(0, 1, 0));
  dim.transformBy(m);
  double value = 0;
  dim.measurement(value);
  EXPECT_NEAR(value, 4.0, 1e-12);
  EXPECT_TRUE(dim.xLine2Point().isEqualTo(AcGePoint3d(10, 4, 0)));

  AcDbLeader leader;
  leader.appendVertex(AcGePoint3d(1, 0, 0));
  leader.transformBy(m);
  EXPECT_TRUE(leader.vertexAt(0).isEqualTo(AcGePoint3d(10, 1, 0)));
  EXPECT_DOUBLE_EQ(leader.dimasz(), 0.18);  // the standard style's, outside a drawing
}

TEST(Explode, PolylinesFacesAndMultilinesGiveLines) {
  AcDbPolyline lw;
  lw.addVertexAt(0, AcGePoint2d(0, 0));
  lw.addVertexAt(1, AcGePoint2d(4, 0), 1.0);
  lw.addVertexAt(2, AcGePoint2d(4, 4));
  lw.setClosed(true);
  AcDbVoidPtrArray pieces;
  ASSERT_EQ(lw.explode(pieces), Acad::eOk);
  ASSERT_EQ(pieces.length(), 3);
  EXPECT_NE(AcDbLine::cast(static_cast<AcDbEntity*>(pieces[0])), nullptr);
  auto* arc = AcDbArc::cast(static_cast<AcDbEntity*>(pieces[1]));
  ASSERT_NE(arc, nullptr);
  EXPECT_NEAR(arc->radius(), 2.0, 1e-12);
  for (void* p : pieces) delete static_cast<AcDbEntity*>(p);

  AcDbMline mline;
  mline.setJustification(AcDbMline::kZero);
  mline.appendSeg(AcGePoint3d(0, 0, 0));
  mline.appendSeg(AcGePoint3d(10, 0, 0));
  mline.appendSeg(AcGePoint3d(10, 10, 0));
  AcDbVoidPtrArray lines;
  ASSERT_EQ(mline.explode(lines), Acad::eOk);
  ASSERT_EQ(lines.length(), 4);
  // The inner and outer lines meet at the mitred corner.
  auto* first = AcDbLine::cast(static_cast<AcDbEntity*>(lines[0]));
  EXPECT_TRUE(first->endPoint().isEqualTo(AcGePoint3d(9.5, 0.5, 0)));
  for (void* p : lines) delete static_cast<AcDbEntity*>(p);

  AcDbCircle circle;
  EXPECT_EQ(circle.explode(pieces), Acad::eNotApplicable);
}

}  // namespace
