// NURBS evaluation against closed forms, and the knot and CV accessors.
#include <gtest/gtest.h>

#include <cmath>

#include "opennurbs.h"

namespace {

constexpr double kTol = 1e-12;

ON_NurbsCurve QuarterCircle() {
  // Rational quadratic Bezier of the unit quarter circle from (1,0) to (0,1).
  ON_NurbsCurve c(3, true, 3, 3);
  const double w = std::sqrt(0.5);
  c.SetCV(0, ON_4dPoint(1, 0, 0, 1));
  c.SetCV(1, ON_4dPoint(w, w, 0, w));
  c.SetCV(2, ON_4dPoint(0, 1, 0, 1));
  const double knots[] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i) c.SetKnot(i, knots[i]);
  return c;
}

TEST(NurbsCurve, RationalQuarterCircleMatchesTheClosedForm) {
  const ON_NurbsCurve c = QuarterCircle();
  ASSERT_TRUE(c.IsValid());
  const double w = std::sqrt(0.5);
  for (int k = 0; k <= 16; ++k) {
    const double t = k / 16.0;
    const double b0 = (1 - t) * (1 - t), b1 = 2 * t * (1 - t), b2 = t * t;
    const double den = b0 + w * b1 + b2;
    const ON_3dPoint expect((b0 + w * b1) / den, (w * b1 + b2) / den, 0.0);
    const ON_3dPoint p = c.PointAt(t);
    EXPECT_NEAR(p.x, expect.x, kTol);
    EXPECT_NEAR(p.y, expect.y, kTol);
    EXPECT_NEAR(p.DistanceTo(ON_origin), 1.0, kTol);
  }
  // C'(0) = 2 w (P1 - P0) / w0 = (0, 2w, 0) with P1 the Euclidean (1, 1).
  const ON_3dVector d = c.DerivativeAt(0.0);
  EXPECT_NEAR(d.x, 0.0, kTol);
  EXPECT_NEAR(d.y, 2.0 * w, kTol);
}

TEST(NurbsCurve, ClampedCubicBezierMatchesBernsteinForm) {
  const ON_3dPoint P[4] = {{0, 0, 0}, {1, 2, 0}, {3, -1, 1}, {4, 1, 2}};
  ON_NurbsCurve c;
  ASSERT_TRUE(c.CreateClampedUniformNurbs(3, 4, 4, P));
  ASSERT_EQ(c.KnotCount(), 6);
  const double knots[] = {0, 0, 0, 1, 1, 1};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(c.Knot(i), knots[i]);
  for (int k = 0; k <= 10; ++k) {
    const double t = k / 10.0, s = 1 - t;
    const double b[4] = {s * s * s, 3 * t * s * s, 3 * t * t * s, t * t * t};
    ON_3dPoint e;
    for (int i = 0; i < 4; ++i) e += P[i] * b[i];
    const ON_3dPoint p = c.PointAt(t);
    EXPECT_NEAR(p.DistanceTo(e), 0.0, kTol) << "t=" << t;
  }
  EXPECT_EQ(c.PointAtStart(), P[0]);
  EXPECT_EQ(c.PointAtEnd(), P[3]);
}

TEST(NurbsCurve, MultiSpanCubicReproducesItsLinearFunctionAtGrevillePoints) {
  // With CV i at the Greville abscissa (mean of its degree knots), a B-spline
  // gives x(t) = t exactly; y = 2 t + 1 the same way.
  ON_NurbsCurve c(3, false, 4, 7);
  const double knots[] = {0, 0, 0, 0.5, 1.5, 2, 4, 4, 4};
  for (int i = 0; i < 9; ++i) c.SetKnot(i, knots[i]);
  for (int i = 0; i < 7; ++i) {
    const double g = (knots[i] + knots[i + 1] + knots[i + 2]) / 3.0;
    c.SetCV(i, ON_3dPoint(g, 2 * g + 1, 0));
  }
  ASSERT_TRUE(c.IsValid());
  EXPECT_EQ(c.SpanCount(), 4);
  for (int k = 0; k <= 40; ++k) {
    const double t = 4.0 * k / 40.0;
    const ON_3dPoint p = c.PointAt(t);
    EXPECT_NEAR(p.x, t, kTol);
    EXPECT_NEAR(p.y, 2 * t + 1, kTol);
    const ON_3dVector d = c.DerivativeAt(t);
    EXPECT_NEAR(d.x, 1.0, 1e-11);
    EXPECT_NEAR(d.y, 2.0, 1e-11);
  }
}

TEST(NurbsCurve, AccessorsRefuseIndicesOutOfRange) {
  ON_NurbsCurve c = QuarterCircle();
  EXPECT_FALSE(c.SetKnot(-1, 0.0));
  EXPECT_FALSE(c.SetKnot(c.KnotCount(), 0.0));
  ON_3dPoint p;
  EXPECT_FALSE(c.GetCV(3, p));
  ASSERT_TRUE(c.GetCV(1, p));
  EXPECT_NEAR(p.x, 1.0, kTol);  // divided by the weight
  EXPECT_NEAR(p.y, 1.0, kTol);
  EXPECT_NEAR(c.Weight(1), std::sqrt(0.5), kTol);
  c.CV(1)[3] = 0.0;
  EXPECT_FALSE(c.GetCV(1, p));

  ON_NurbsCurve plain;
  const ON_3dPoint pts[2] = {{0, 0, 0}, {1, 1, 1}};
  ASSERT_TRUE(plain.CreateClampedUniformNurbs(3, 2, 2, pts));
  EXPECT_EQ(plain.Weight(0), 1.0);
  EXPECT_FALSE(plain.IsRational());
  EXPECT_FALSE(plain.CreateClampedUniformNurbs(3, 4, 3, pts));  // fewer points than the order
}

TEST(NurbsCurve, SetDomainRescalesAndRefusesAnEmptyInterval) {
  ON_NurbsCurve c = QuarterCircle();
  const ON_3dPoint mid = c.PointAt(0.5);
  ASSERT_TRUE(c.SetDomain(2.0, 6.0));
  EXPECT_EQ(c.Domain(), ON_Interval(2.0, 6.0));
  EXPECT_NEAR(c.PointAt(4.0).DistanceTo(mid), 0.0, kTol);
  EXPECT_FALSE(c.SetDomain(3.0, 3.0));
  EXPECT_FALSE(c.SetDomain(5.0, 1.0));
  EXPECT_EQ(c.Domain(), ON_Interval(2.0, 6.0));
}

TEST(NurbsCurve, TrimKeepsThePointsOfThePartKept) {
  ON_NurbsCurve c;
  ON_Circle(ON_xy_plane, 3.0).GetNurbForm(c);
  ON_NurbsCurve part = c;
  ASSERT_TRUE(part.Trim(ON_Interval(1.0, 4.0)));
  EXPECT_EQ(part.Domain(), ON_Interval(1.0, 4.0));
  for (int k = 0; k <= 12; ++k) {
    const double t = 1.0 + 3.0 * k / 12.0;
    EXPECT_NEAR(part.PointAt(t).DistanceTo(c.PointAt(t)), 0.0, 1e-12);
  }
}

TEST(NurbsCurve, PeriodicAndClosedFlags) {
  const ON_3dPoint square[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  ON_NurbsCurve periodic;
  ASSERT_TRUE(periodic.CreatePeriodicUniformNurbs(3, 4, 4, square));
  EXPECT_TRUE(periodic.IsPeriodic());
  EXPECT_TRUE(periodic.IsClosed());

  ON_NurbsCurve circle;
  ON_Circle(ON_xy_plane, 1.0).GetNurbForm(circle);
  EXPECT_TRUE(circle.IsClosed());
  EXPECT_FALSE(circle.IsPeriodic());

  const ON_NurbsCurve quarter = QuarterCircle();
  EXPECT_FALSE(quarter.IsClosed());
}

}  // namespace
