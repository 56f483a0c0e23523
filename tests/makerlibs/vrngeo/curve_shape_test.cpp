// What the curve tests accept as a line, circle, arc or polyline, and what
// they refuse.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "VRNGeo90Ux64.h"
#include "opennurbs.h"

namespace {

constexpr double kPi = std::numbers::pi;

std::unique_ptr<ON_NurbsCurve> Nurbs(int order, const std::vector<ON_3dPoint>& cvs) {
  auto curve = std::make_unique<ON_NurbsCurve>();
  EXPECT_TRUE(curve->CreateClampedUniformNurbs(3, order, static_cast<int>(cvs.size()), cvs.data()));
  return curve;
}

std::unique_ptr<ON_NurbsCurve> NurbsOf(const ON_Curve& curve) {
  auto nurbs = std::make_unique<ON_NurbsCurve>();
  EXPECT_TRUE(curve.GetNurbForm(*nurbs) > 0);
  return nurbs;
}

std::unique_ptr<ON_NurbsCurve> Raised(std::unique_ptr<ON_NurbsCurve> curve, int degree) {
  EXPECT_TRUE(curve->IncreaseDegree(degree));
  return curve;
}

ON_Arc QuarterArc() {
  ON_Plane plane(ON_3dPoint(1, 2, 3), ON_3dVector(0, 0, 1));
  return ON_Arc(ON_Circle(plane, 5.0), ON_Interval(0.25, 0.25 + kPi / 2));
}

std::vector<ON_3dPoint> Ngon(int n, double radius) {
  std::vector<ON_3dPoint> pts;
  for (int i = 0; i <= n; ++i) {
    const double a = 2 * kPi * (i % n) / n;
    pts.emplace_back(radius * std::cos(a), radius * std::sin(a), 0);
  }
  return pts;
}

struct Verdict {
  int line, circle, arc, polyline;
};

Verdict Classify(const ON_Curve* curve) {
  ON_Line line;
  ON_Circle circle;
  ON_Arc arc;
  ON_Polyline polyline;
  return {VRNCurve::IsLine(curve, line), VRNCurve::IsCircle(curve, circle), VRNCurve::IsArc(curve, arc),
          VRNCurve::IsPolyline(curve, polyline)};
}

TEST(VRNCurve, EachShapeIsRecognisedAndNothingElse) {
  const ON_3dPoint a(0, 0, 0), b(10, 0, 0), c(10, 10, 0), d(0, 10, 0);
  // A cubic that runs through points of a circle but only approximates it.
  std::vector<ON_3dPoint> onCircle;
  for (int i = 0; i <= 8; ++i) onCircle.emplace_back(std::cos(i * kPi / 8), std::sin(i * kPi / 8), 0);
  struct Case {
    std::string name;
    std::function<std::unique_ptr<ON_Curve>()> make;
    Verdict expected;
  } cases[] = {
      {"line curve", [&] { return std::make_unique<ON_LineCurve>(a, b); }, {1, 0, 0, 1}},
      {"cubic with collinear CVs", [&] { return Nurbs(4, {a, {3, 0, 0}, {7, 0, 0}, b}); }, {1, 0, 0, 1}},
      {"degree 1 through collinear points", [&] { return Nurbs(2, {a, {4, 0, 0}, b}); }, {1, 0, 0, 1}},
      {"degree 1 doubling back", [&] { return Nurbs(2, {a, b, {5, 0, 0}}); }, {0, 0, 0, 1}},
      {"line bent by 1e-6 of its length", [&] { return Nurbs(4, {a, {3, 1e-5, 0}, {7, 0, 0}, b}); }, {0, 0, 0, 0}},
      {"arc curve", [&] { return std::make_unique<ON_ArcCurve>(QuarterArc()); }, {0, 0, 1, 0}},
      {"rational arc", [&] { return NurbsOf(ON_ArcCurve(QuarterArc())); }, {0, 0, 1, 0}},
      {"rational circle", [&] { return NurbsOf(ON_ArcCurve(ON_Circle(ON_3dPoint(4, 5, 6), 2.0))); },
       {0, 1, 0, 0}},
      {"cubic through points of a half circle", [&] { return Nurbs(4, onCircle); }, {0, 0, 0, 0}},
      {"64-gon", [&] { return Nurbs(2, Ngon(64, 10)); }, {0, 0, 0, 1}},
      {"closed square", [&] { return Nurbs(2, {a, b, c, d, a}); }, {0, 0, 0, 1}},
      {"square raised to degree 3", [&] { return Raised(Nurbs(2, {a, b, c, d, a}), 3); }, {0, 0, 0, 1}},
      {"smooth cubic", [&] { return Nurbs(4, {a, b, c, d}); }, {0, 0, 0, 0}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    std::unique_ptr<ON_Curve> curve = k.make();
    const Verdict v = Classify(curve.get());
    EXPECT_EQ(v.line, k.expected.line);
    EXPECT_EQ(v.circle, k.expected.circle);
    EXPECT_EQ(v.arc, k.expected.arc);
    EXPECT_EQ(v.polyline, k.expected.polyline);
  }
  const Verdict none = Classify(nullptr);
  EXPECT_EQ(none.line + none.circle + none.arc + none.polyline, 0);
}

TEST(VRNCurve, LineRunsFromTheCurvesStartToItsEnd) {
  auto curve = Nurbs(4, {{1, 2, 3}, {2, 3, 4}, {3, 4, 5}, {7, 8, 9}});
  ON_Line line;
  ASSERT_EQ(VRNCurve::IsLine(curve.get(), line), 1);
  EXPECT_EQ(line.from, ON_3dPoint(1, 2, 3));
  EXPECT_EQ(line.to, ON_3dPoint(7, 8, 9));
}

TEST(VRNCurve, ArcAndCircleKeepTheCurvesStartDirectionAndSize) {
  // Clockwise seen from +z: the arc found turns about -z.
  ON_Arc quarter = QuarterArc();
  ON_ArcCurve reversed(quarter);
  ASSERT_TRUE(reversed.Reverse());
  for (const ON_Curve* curve : {static_cast<const ON_Curve*>(NurbsOf(ON_ArcCurve(quarter)).release()),
                                static_cast<const ON_Curve*>(new ON_ArcCurve(reversed))}) {
    std::unique_ptr<const ON_Curve> owned(curve);
    ON_Arc arc;
    ASSERT_EQ(VRNCurve::IsArc(curve, arc), 1);
    EXPECT_NEAR(arc.Radius(), 5.0, 1e-9);
    EXPECT_NEAR(arc.AngleRadians(), kPi / 2, 1e-9);
    EXPECT_LT(arc.StartPoint().DistanceTo(curve->PointAtStart()), 1e-9);
    EXPECT_LT(arc.EndPoint().DistanceTo(curve->PointAtEnd()), 1e-9);
    EXPECT_LT(arc.PointAt(arc.m_angle.Mid()).DistanceTo(curve->PointAt(curve->Domain().Mid())), 1e-6);
  }

  ON_Plane tilted(ON_3dPoint(4, 5, 6), ON_3dVector(1, 1, 1));
  ON_ArcCurve whole(ON_Circle(tilted, 2.0));
  auto nurbs = NurbsOf(whole);
  ON_Circle circle;
  ASSERT_EQ(VRNCurve::IsCircle(nurbs.get(), circle), 1);
  EXPECT_LT(circle.Center().DistanceTo(ON_3dPoint(4, 5, 6)), 1e-9);
  EXPECT_NEAR(circle.Radius(), 2.0, 1e-9);
  EXPECT_LT((circle.Normal().UnitVector() - ON_3dVector(1, 1, 1).UnitVector()).Length(), 1e-9);
  EXPECT_LT(circle.PointAt(0).DistanceTo(nurbs->PointAtStart()), 1e-9);
}

TEST(VRNCurve, PolylineHoldsOnlyTheCorners) {
  const ON_3dPoint a(0, 0, 0), b(10, 0, 0), c(10, 10, 0), d(0, 10, 0);
  struct Case {
    const char* name;
    std::vector<ON_3dPoint> cvs;
    std::vector<ON_3dPoint> corners;
  } cases[] = {
      {"open L", {a, b, c}, {a, b, c}},
      {"point in a straight run", {a, {5, 0, 0}, b, c}, {a, b, c}},
      {"repeated point", {a, b, b, c}, {a, b, c}},
      {"closed square with a mid-edge point", {a, b, {10, 5, 0}, c, d, a}, {a, b, c, d, a}},
      {"closed, starting mid-edge", {{5, 0, 0}, b, c, d, a, {5, 0, 0}}, {{5, 0, 0}, b, c, d, a, {5, 0, 0}}},
      {"spike out and back", {a, b, {5, 0, 0}}, {a, b, {5, 0, 0}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    auto curve = Nurbs(2, k.cvs);
    ON_Polyline polyline;
    ASSERT_EQ(VRNCurve::IsPolyline(curve.get(), polyline), 1);
    ASSERT_EQ(polyline.Count(), static_cast<int>(k.corners.size()));
    for (int i = 0; i < polyline.Count(); ++i) EXPECT_EQ(polyline[i], k.corners[static_cast<size_t>(i)]) << i;
  }

  // A closed curve whose end misses its start by rounding still closes
  // exactly, so that the drawing closes it.
  auto nearly = Nurbs(2, {a, b, c, d, {1e-12, 0, 0}});
  ON_Polyline closed;
  ASSERT_EQ(VRNCurve::IsPolyline(nearly.get(), closed), 1);
  EXPECT_TRUE(closed.IsClosed(0.0));
  EXPECT_EQ(closed.Count(), 5);

  // A poly-curve of segments is one polyline.
  ON_PolyCurve chain;
  chain.Append(new ON_LineCurve(a, b));
  chain.Append(new ON_LineCurve(b, c));
  ON_Polyline joined;
  ASSERT_EQ(VRNCurve::IsPolyline(&chain, joined), 1);
  EXPECT_EQ(joined.Count(), 3);
}

TEST(VRNCurve, RefusalLeavesTheOutObjectAlone) {
  auto smooth = Nurbs(4, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
  ON_Line line(ON_3dPoint(1, 1, 1), ON_3dPoint(2, 2, 2));
  ON_Polyline polyline;
  polyline.Append(ON_3dPoint(7, 7, 7));
  EXPECT_EQ(VRNCurve::IsLine(smooth.get(), line), 0);
  EXPECT_EQ(VRNCurve::IsPolyline(smooth.get(), polyline), 0);
  EXPECT_EQ(line.from, ON_3dPoint(1, 1, 1));
  ASSERT_EQ(polyline.Count(), 1);
  EXPECT_EQ(polyline[0], ON_3dPoint(7, 7, 7));

  // A curve that has shrunk to a point is no shape at all.
  auto dot = Nurbs(2, {{3, 3, 3}, {3, 3, 3}});
  const Verdict v = Classify(dot.get());
  EXPECT_EQ(v.line + v.circle + v.arc + v.polyline, 0);
}

}  // namespace
