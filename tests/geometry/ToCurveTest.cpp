// Drawing points, lines, circles, arcs, ellipses, splines and polylines as
// openNURBS objects.
#include <cmath>
#include <numbers>

#include "GeometryFixture.h"

namespace {

constexpr double kPi = std::numbers::pi;

bool NearPt(const ON_3dPoint& a, const ON_3dPoint& b, double tol = 1e-9) { return a.DistanceTo(b) <= tol; }

class ToCurve : public GeometryTest {};

TEST_F(ToCurve, PointsAndLines) {
  AcDbPoint point(AcGePoint3d(1, 2, 3));
  ON_Point on(9, 9, 9);
  EXPECT_EQ(GeometryConverter::AcDbPointToPoint(&point, on), 1);
  EXPECT_EQ(on.point, ON_3dPoint(1, 2, 3));

  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0));
  ON_LineCurve curve;
  EXPECT_EQ(GeometryConverter::AcDbLineToCurve(&line, curve), 1);
  EXPECT_EQ(curve.PointAtStart(), ON_3dPoint(0, 0, 0));
  EXPECT_EQ(curve.PointAtEnd(), ON_3dPoint(3, 4, 0));
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 5));

  AcGePoint3dArray none;
  EXPECT_EQ(GeometryConverter::AcGePointsToPoints(none).Count(), 0);
  AcGePoint3dArray two;
  two.append(AcGePoint3d(1, 0, 0));
  two.append(AcGePoint3d(0, 1, 0));
  ON_3dPointArray copied = GeometryConverter::AcGePointsToPoints(two);
  ASSERT_EQ(copied.Count(), 2);
  EXPECT_EQ(copied[1], ON_3dPoint(0, 1, 0));
  EXPECT_EQ(GeometryConverter::NoOp(), 1);
}

TEST_F(ToCurve, CirclesAndArcsRunCounterClockwiseBetweenTheEntitysEnds) {
  AcDbCircle circle(AcGePoint3d(1, 1, 1), AcGeVector3d(0, 0, 1), 3.0);
  ON_ArcCurve whole;
  GeometryConverter::AcDbCircleToCurve(&circle, whole);
  EXPECT_TRUE(whole.IsClosed());
  EXPECT_NEAR(whole.Domain()[1], 2 * kPi * 3.0, 1e-12);
  EXPECT_NEAR(whole.m_arc.Radius(), 3.0, 0);

  struct Case {
    const char* name;
    double start, end, sweep;
    ON_3dPoint from, through, to;
  } cases[] = {
      {"quarter", 0, kPi / 2, kPi / 2, {2, 0, 0}, {std::sqrt(2.0), std::sqrt(2.0), 0}, {0, 2, 0}},
      {"across angle 0", 3 * kPi / 2, kPi / 2, kPi, {0, -2, 0}, {2, 0, 0}, {0, 2, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AcDbArc arc(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 2.0, c.start, c.end);
    ON_ArcCurve curve;
    EXPECT_EQ(GeometryConverter::AcDbArcToCurve(&arc, curve), 1);
    EXPECT_TRUE(NearPt(curve.PointAtStart(), c.from));
    EXPECT_TRUE(NearPt(curve.PointAt(curve.Domain().Mid()), c.through));
    EXPECT_TRUE(NearPt(curve.PointAtEnd(), c.to));
    EXPECT_NEAR(curve.m_arc.AngleRadians(), c.sweep, 1e-12);  // a part, not the whole circle
    EXPECT_FALSE(curve.IsClosed());
  }

  // About -z the arc turns the other way round in the world.
  AcDbArc flipped(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, -1), 2.0, 0, kPi / 2);
  AcGePoint3d from, to;
  flipped.getStartPoint(from);
  flipped.getEndPoint(to);
  ON_ArcCurve curve;
  GeometryConverter::AcDbArcToCurve(&flipped, curve);
  EXPECT_TRUE(NearPt(curve.PointAtStart(), GeometryConverter::AcGePointToPoint(from)));
  EXPECT_TRUE(NearPt(curve.PointAtEnd(), GeometryConverter::AcGePointToPoint(to)));
  EXPECT_NEAR(curve.m_arc.AngleRadians(), kPi / 2, 1e-12);
}

TEST_F(ToCurve, EllipsesAndEllipticalArcs) {
  const AcGePoint3d center(1, 2, 0);
  AcDbEllipse whole(center, AcGeVector3d(0, 0, 1), AcGeVector3d(4, 0, 0), 0.5);
  ON_NurbsCurve curve;
  EXPECT_EQ(GeometryConverter::AcDbEllipseToCurve(&whole, curve), 1);
  EXPECT_EQ(curve.Degree(), 2);
  EXPECT_EQ(curve.CVCount(), 9);
  EXPECT_TRUE(curve.IsRational());
  EXPECT_NEAR(curve.Domain()[0], 0, 1e-15);
  EXPECT_NEAR(curve.Domain()[1], 2 * kPi, 1e-12);
  EXPECT_TRUE(NearPt(curve.PointAtStart(), ON_3dPoint(5, 2, 0)));

  struct Case {
    const char* name;
    double start, end;
  } cases[] = {{"first quadrant to third", 0.3, 4.0}, {"across angle 0", 5.5, 0.7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AcDbEllipse arc(center, AcGeVector3d(0, 0, 1), AcGeVector3d(4, 0, 0), 0.5, c.start, c.end);
    ON_NurbsCurve part;
    GeometryConverter::AcDbEllipseToCurve(&arc, part);
    AcGePoint3d from, to, mid;
    arc.getStartPoint(from);
    arc.getEndPoint(to);
    double p0 = 0, p1 = 0;
    arc.getStartParam(p0);
    arc.getEndParam(p1);
    arc.getPointAtParam(0.5 * (p0 + p1), mid);
    EXPECT_NEAR(part.Domain()[0], p0, 1e-12);
    EXPECT_NEAR(part.Domain()[1], p1, 1e-12);
    EXPECT_TRUE(NearPt(part.PointAtStart(), GeometryConverter::AcGePointToPoint(from), 1e-9));
    EXPECT_TRUE(NearPt(part.PointAtEnd(), GeometryConverter::AcGePointToPoint(to), 1e-9));
    // The middle of the arc, not of some other part of the ellipse.
    const ON_3dPoint m = part.PointAt(part.Domain().Mid());
    EXPECT_NEAR((m.x - 1) * (m.x - 1) / 16 + (m.y - 2) * (m.y - 2) / 4, 1.0, 1e-9);
    EXPECT_LT(m.DistanceTo(GeometryConverter::AcGePointToPoint(mid)), 0.5);
  }
}

TEST_F(ToCurve, SplinesDropTheEndKnotsAndTheWeights) {
  AcGePoint3dArray cvs;
  cvs.append(AcGePoint3d(0, 0, 0));
  cvs.append(AcGePoint3d(1, 2, 0));
  cvs.append(AcGePoint3d(3, 2, 0));
  cvs.append(AcGePoint3d(4, 0, 0));
  AcGeDoubleArray knots;
  for (double k : {0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0}) knots.append(k);
  AcGeDoubleArray plain, weighted;
  for (double w : {1.0, 2.0, 0.5, 1.0}) weighted.append(w);
  for (bool rational : {false, true}) {
    SCOPED_TRACE(rational ? "rational" : "non-rational");
    AcDbSpline spline(3, rational, false, false, cvs, knots, rational ? weighted : plain);
    ASSERT_FALSE(spline.isNull());
    ON_NurbsCurve curve;
    EXPECT_EQ(GeometryConverter::SplineToNurbsCurve(&spline, curve), 1);
    EXPECT_EQ(curve.Order(), 4);
    EXPECT_FALSE(curve.IsRational());
    ASSERT_EQ(curve.KnotCount(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(curve.Knot(i), i < 3 ? 0.0 : 1.0);
    ASSERT_EQ(curve.CVCount(), 4);
    ON_3dPoint p;
    curve.GetCV(1, p);
    EXPECT_EQ(p, ON_3dPoint(1, 2, 0));
  }
}

TEST_F(ToCurve, ThreeDPolylinesCloseWithTheirFirstPointInOrOutOfTheDrawing) {
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(0, 0, 0));
  pts.append(AcGePoint3d(1, 0, 0));
  pts.append(AcGePoint3d(1, 1, 1));
  pts.append(AcGePoint3d(0, 1, 0));
  for (bool inDrawing : {false, true})
    for (bool closed : {false, true}) {
      SCOPED_TRACE(testing::Message() << (inDrawing ? "in the drawing, " : "alone, ") << (closed ? "closed" : "open"));
      auto* polyline = new AcDb3dPolyline(AcDb::k3dSimplePoly, pts, closed);
      if (inDrawing) {
        ASSERT_EQ(AcadUtils::AppendEntity(polyline), Acad::eOk);
        polyline->downgradeOpen();
      }
      ON_PolylineCurve curve;
      EXPECT_EQ(GeometryConverter::AcDb3dPolylineToPolylineCurve(polyline, curve), 1);
      ASSERT_EQ(curve.PointCount(), closed ? 5 : 4);
      EXPECT_EQ(curve.Point(2), ON_3dPoint(1, 1, 1));
      EXPECT_EQ(curve.Point(curve.PointCount() - 1), closed ? ON_3dPoint(0, 0, 0) : ON_3dPoint(0, 1, 0));
      if (inDrawing) {
        // Only the polyline itself is open: every vertex was closed again.
        ASSERT_EQ(db.openObjects().size(), 1u);
        polyline->close();
      } else {
        delete polyline;
      }
    }

  AcDb3dPolyline empty;
  empty.makeClosed();
  ON_PolylineCurve curve;
  GeometryConverter::AcDb3dPolylineToPolylineCurve(&empty, curve);
  EXPECT_EQ(curve.PointCount(), 0);
}

}  // namespace
