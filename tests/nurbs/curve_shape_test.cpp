// Recognising lines, arcs and polylines among NURBS curves (tolerance 1e-12),
// and the NURBS forms of ellipses and poly-curves.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "opennurbs.h"

namespace {

constexpr double kTol = 1e-12;

ON_NurbsCurve Clamped(int order, std::initializer_list<ON_3dPoint> pts) {
  ON_NurbsCurve c;
  const ON_3dPointArray a = [&] {
    ON_3dPointArray r;
    for (const auto& p : pts) r.Append(p);
    return r;
  }();
  c.CreateClampedUniformNurbs(3, order, a.Count(), a.Array());
  return c;
}

ON_NurbsCurve ArcForm(const ON_Arc& arc) {
  ON_NurbsCurve c;
  arc.GetNurbForm(c);
  return c;
}

TEST(CurveShape, TableOfNurbsCurves) {
  const ON_Plane tilted(ON_3dPoint(1, 1, 0), ON_3dVector(1, 1, 1));
  struct Case {
    std::string name;
    ON_NurbsCurve curve;
    bool linear, arc;
    int polyline_points;
  };
  const Case cases[] = {
      {"collinear cubic", Clamped(4, {{0, 0, 0}, {0.5, 0.5, 0.5}, {2, 2, 2}, {3, 3, 3}}), true, false, 2},
      {"cubic off its line by 1e-9", Clamped(4, {{0, 0, 0}, {1, 1e-9, 0}, {2, 0, 0}, {3, 0, 0}}), false, false, 0},
      {"full rational circle", ArcForm(ON_Arc(ON_Circle(tilted, 5.0), 2 * ON_PI)), false, true, 0},
      {"quarter circle", ArcForm(ON_Arc(ON_Circle(ON_3dPoint(1, 1, 0), 2.0), 0.5 * ON_PI)), false, true, 0},
      {"three quarter circle", ArcForm(ON_Arc(ON_Circle(tilted, 0.25), 1.5 * ON_PI)), false, true, 0},
      {"degree 1 zig-zag", Clamped(2, {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}}), false, false, 4},
      {"free-form cubic", Clamped(4, {{0, 0, 0}, {1, 2, 0}, {3, -1, 0}, {4, 1, 0}}), false, false, 0},
      {"polynomial near-circle", Clamped(3, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}), false, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.curve.IsValid());
    EXPECT_EQ(c.curve.IsLinear(kTol), c.linear);
    ON_Arc arc;
    EXPECT_EQ(c.curve.IsArc(nullptr, &arc, kTol), c.arc);
    ON_3dPointArray pts;
    EXPECT_EQ(c.curve.IsPolyline(&pts), c.polyline_points);
    EXPECT_EQ(pts.Count(), c.polyline_points);
    // Through the base class too, as callers holding an ON_Curve do.
    const ON_Curve& base = c.curve;
    EXPECT_EQ(base.IsLinear(kTol), c.linear);
  }
}

TEST(CurveShape, RecognisedArcsKeepCentreRadiusSweepAndStart) {
  const ON_Circle circle(ON_Plane(ON_3dPoint(3, -2, 1), ON_3dVector(0, 1, 1)), 4.0);
  for (double sweep : {0.3, 0.5 * ON_PI, 2.0, ON_PI, 4.0, 2 * ON_PI}) {
    SCOPED_TRACE(sweep);
    const ON_Arc source(circle, ON_Interval(0.7, 0.7 + sweep));
    const ON_NurbsCurve c = ArcForm(source);
    ON_Arc arc;
    ASSERT_TRUE(c.IsArc(nullptr, &arc, kTol));
    EXPECT_NEAR(arc.Center().DistanceTo(circle.Center()), 0.0, 1e-11);
    EXPECT_NEAR(arc.radius, 4.0, 1e-11);
    EXPECT_NEAR(arc.AngleRadians(), sweep, 1e-11);
    EXPECT_NEAR((arc.Normal() - circle.Normal()).Length(), 0.0, 1e-11);
    EXPECT_NEAR(arc.StartPoint().DistanceTo(source.StartPoint()), 0.0, 1e-11);
    EXPECT_NEAR(arc.EndPoint().DistanceTo(source.EndPoint()), 0.0, 1e-11);
    EXPECT_EQ(arc.IsCircle(), sweep == 2 * ON_PI);
  }
}

TEST(CurveShape, DegreeOnePolylineGivesItsCornersWithParameters) {
  const ON_NurbsCurve c = Clamped(2, {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}});
  ON_3dPointArray pts;
  ON_SimpleArray<double> ts;
  ASSERT_EQ(c.IsPolyline(&pts, &ts), 4);
  for (int i = 0; i < 4; ++i) {
    ON_3dPoint cv;
    c.GetCV(i, cv);
    EXPECT_EQ(pts[i], cv);
    EXPECT_EQ(ts[i], static_cast<double>(i));
  }
}

TEST(CurveShape, SimpleCurveClassesAnswerForThemselves) {
  const ON_LineCurve line(ON_3dPoint(0, 0, 0), ON_3dPoint(3, 4, 0));
  EXPECT_EQ(line.Domain(), ON_Interval(0.0, 5.0));
  EXPECT_TRUE(line.IsLinear(kTol));
  EXPECT_FALSE(line.IsArc(nullptr, nullptr, kTol));
  const ON_LineCurve dot(ON_3dPoint(1, 1, 1), ON_3dPoint(1, 1, 1 + 1e-13));
  EXPECT_EQ(dot.Domain(), ON_Interval(0.0, 1.0));

  const ON_ArcCurve circle(ON_Circle(ON_3dPoint(0, 0, 0), 2.0));
  EXPECT_NEAR(circle.Domain()[1], 4.0 * ON_PI, kTol);
  EXPECT_TRUE(circle.IsCircle());
  EXPECT_TRUE(circle.IsClosed());
  EXPECT_NEAR(circle.PointAtStart().DistanceTo(ON_3dPoint(2, 0, 0)), 0.0, kTol);
  EXPECT_NEAR(circle.PointAt(ON_PI).DistanceTo(ON_3dPoint(0, 2, 0)), 0.0, kTol);

  ON_3dPointArray square;
  for (const auto& p : {ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0), ON_3dPoint(1, 1, 0), ON_3dPoint(0, 1, 0),
                        ON_3dPoint(0, 0, 0)})
    square.Append(p);
  const ON_PolylineCurve pl(square);
  EXPECT_EQ(pl.Domain(), ON_Interval(0.0, 4.0));
  EXPECT_TRUE(pl.IsClosed());
  EXPECT_EQ(pl.IsPolyline(), 5);
  EXPECT_NEAR(pl.PointAt(2.5).DistanceTo(ON_3dPoint(0.5, 1, 0)), 0.0, kTol);
}

TEST(CurveShape, PolylineClosedTestNeedsFourPointsAndAnExactMatch) {
  auto make = [](std::initializer_list<ON_3dPoint> pts) {
    ON_Polyline p;
    for (const auto& q : pts) p.Append(q);
    return p;
  };
  const ON_3dPoint A(0, 0, 0), B(1, 0, 0), C(1, 1, 0);
  EXPECT_TRUE(make({A, B, C, A}).IsClosed(0.0));
  EXPECT_FALSE(make({A, B, A}).IsClosed(0.0));
  EXPECT_FALSE(make({A, B, C, ON_3dPoint(1e-300, 0, 0)}).IsClosed(0.0));
  EXPECT_FALSE(make({A, A, A, A}).IsClosed(0.0));
  EXPECT_TRUE(make({A, B, C, ON_3dPoint(1e-9, 0, 0)}).IsClosed(1e-6));
}

TEST(CurveShape, EllipseNurbsFormLiesOnTheEllipse) {
  const ON_Plane plane(ON_3dPoint(5, 1, -2), ON_3dVector(1, 1, 0), ON_3dVector(-1, 1, 1));
  const ON_Ellipse ellipse(plane, 3.0, 1.25);
  ON_NurbsCurve c;
  ASSERT_TRUE(ellipse.GetNurbForm(c));
  EXPECT_EQ(c.Degree(), 2);
  EXPECT_EQ(c.CVCount(), 9);
  EXPECT_TRUE(c.IsRational());
  EXPECT_EQ(c.Domain(), ON_Interval(0.0, 2 * ON_PI));
  for (int k = 0; k <= 64; ++k) {
    const double t = 2 * ON_PI * k / 64.0;
    double x = 0.0, y = 0.0;
    const ON_3dPoint p = c.PointAt(t);
    plane.ClosestPointTo(p, &x, &y);
    EXPECT_NEAR(std::fabs(plane.DistanceTo(p)), 0.0, kTol);
    EXPECT_NEAR((x / 3.0) * (x / 3.0) + (y / 1.25) * (y / 1.25), 1.0, kTol);
  }
  // The axis ends at the quarter knots.
  EXPECT_NEAR(c.PointAt(0.0).DistanceTo(ellipse.PointAt(0.0)), 0.0, kTol);
  EXPECT_NEAR(c.PointAt(0.5 * ON_PI).DistanceTo(ellipse.PointAt(0.5 * ON_PI)), 0.0, kTol);
  EXPECT_NEAR(c.PointAt(ON_PI).DistanceTo(ellipse.PointAt(ON_PI)), 0.0, kTol);
  EXPECT_TRUE(c.IsClosed());
  EXPECT_FALSE(ON_Ellipse(plane, 0.0, 1.0).GetNurbForm(c));
}

TEST(CurveShape, LineAndArcPolyCurveNurbsFormRunsThroughBothSegments) {
  // Line from (0,0,0) to (1,0,0), then a quarter circle about (1,1,0) to (2,1,0).
  ON_PolyCurve pc;
  ASSERT_TRUE(pc.Append(new ON_LineCurve(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0))));
  const ON_Plane arc_plane(ON_3dPoint(1, 1, 0), ON_3dVector(0, -1, 0), ON_3dVector(1, 0, 0));
  const ON_Arc arc(ON_Circle(arc_plane, 1.0), 0.5 * ON_PI);
  ASSERT_TRUE(pc.Append(new ON_ArcCurve(arc)));
  ASSERT_TRUE(pc.IsValid());
  const ON_Interval d = pc.Domain();
  const double joint = pc.SegmentDomain(1)[0];
  EXPECT_NEAR(d[1], 1.0 + 0.5 * ON_PI, kTol);

  ON_NurbsCurve nc;
  ASSERT_NE(pc.NurbsCurve(&nc, 0.0, nullptr), nullptr);
  ASSERT_TRUE(nc.IsValid());
  EXPECT_EQ(nc.Domain(), d);
  EXPECT_NEAR(nc.PointAtStart().DistanceTo(ON_3dPoint(0, 0, 0)), 0.0, kTol);
  EXPECT_NEAR(nc.PointAt(joint).DistanceTo(ON_3dPoint(1, 0, 0)), 0.0, kTol);
  EXPECT_NEAR(nc.PointAtEnd().DistanceTo(ON_3dPoint(2, 1, 0)), 0.0, kTol);
  for (int k = 0; k <= 50; ++k) {
    const double t = d.ParameterAt(k / 50.0);
    const ON_3dPoint p = nc.PointAt(t);
    if (t <= joint) {
      EXPECT_NEAR(std::fabs(p.y) + std::fabs(p.z), 0.0, kTol) << t;
      EXPECT_NEAR(p.x, t, kTol);  // a line keeps its parameterisation
    } else {
      EXPECT_NEAR(p.DistanceTo(ON_3dPoint(1, 1, 0)), 1.0, kTol) << t;
      EXPECT_GE(p.x, 1.0 - kTol);
      EXPECT_LE(p.y, 1.0 + kTol);
    }
  }
  EXPECT_FALSE(nc.IsLinear(kTol));
  EXPECT_FALSE(nc.IsArc(nullptr, nullptr, kTol));
  EXPECT_EQ(nc.IsPolyline(), 0);

  // Segment by segment, each keeps its own shape.
  ON_NurbsCurve seg;
  ASSERT_NE(pc.SegmentCurve(0)->NurbsCurve(&seg), nullptr);
  EXPECT_TRUE(seg.IsLinear(kTol));
  ASSERT_NE(pc.SegmentCurve(1)->NurbsCurve(&seg), nullptr);
  EXPECT_TRUE(seg.IsArc(nullptr, nullptr, kTol));
  EXPECT_EQ(pc.SegmentCurve(2), nullptr);
}

TEST(CurveShape, PolyCurveOfLinesIsAPolyline) {
  ON_PolyCurve pc;
  pc.Append(new ON_LineCurve(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0)));
  pc.Append(new ON_LineCurve(ON_3dPoint(1, 0, 0), ON_3dPoint(1, 2, 0)));
  ON_3dPointArray pts;
  EXPECT_EQ(pc.IsPolyline(&pts), 3);
  EXPECT_EQ(pts[2], ON_3dPoint(1, 2, 0));
  ON_NurbsCurve nc;
  ASSERT_NE(pc.NurbsCurve(&nc), nullptr);
  EXPECT_EQ(nc.Degree(), 1);
  EXPECT_EQ(nc.IsPolyline(&pts), 3);
  EXPECT_FALSE(nc.IsLinear(kTol));
}

TEST(CurveShape, NurbsCurveOfAnEmptyPolyCurveFails) {
  const ON_PolyCurve empty;
  EXPECT_EQ(empty.NurbsCurve(), nullptr);
  ON_NurbsCurve out;
  EXPECT_EQ(empty.NurbsCurve(&out), nullptr);
}

}  // namespace

namespace {

TEST(CurveShape, PolyCurveNurbsFormClosesSmallGapsAndRefusesLargeOnes) {
  for (const double gap : {1e-7, 0.5}) {
    SCOPED_TRACE(gap);
    ON_PolyCurve pc;
    pc.Append(new ON_LineCurve(ON_3dPoint(0, 0, 0), ON_3dPoint(10, 0, 0)));
    pc.Append(new ON_LineCurve(ON_3dPoint(10, gap, 0), ON_3dPoint(10, 10, 0)));
    ON_NurbsCurve nc;
    const bool joined = pc.NurbsCurve(&nc) != nullptr;
    EXPECT_EQ(joined, gap < 1e-3);
    if (joined) {
      EXPECT_TRUE(nc.IsValid());
      EXPECT_EQ(nc.PointAtEnd(), ON_3dPoint(10, 10, 0));
      EXPECT_EQ(nc.IsPolyline(), 3);
    }
  }
}

}  // namespace
