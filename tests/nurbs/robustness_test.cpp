// Broken geometry, as a damaged file can deliver it, gives answers and no crash.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "opennurbs.h"

namespace {

ON_NurbsCurve Cubic() {
  const ON_3dPoint P[4] = {{0, 0, 0}, {1, 2, 0}, {3, -1, 0}, {4, 1, 0}};
  ON_NurbsCurve c;
  c.CreateClampedUniformNurbs(3, 4, 4, P);
  return c;
}

TEST(Robustness, DamagedNurbsCurvesAreRefusedQuietly) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::string name;
    std::function<void(ON_NurbsCurve&)> damage;
    bool still_valid;  // weights are not part of the validity test
  };
  const Case cases[] = {
      {"NaN control point", [nan](ON_NurbsCurve& c) { c.CV(1)[0] = nan; }, false},
      {"decreasing knots", [](ON_NurbsCurve& c) { c.SetKnot(3, -5.0); }, false},
      {"empty domain", [](ON_NurbsCurve& c) { for (int i = 0; i < c.KnotCount(); ++i) c.SetKnot(i, 1.0); }, false},
      {"zero weights", [](ON_NurbsCurve& c) { c.MakeRational(); for (int i = 0; i < 4; ++i) c.CV(i)[3] = 0.0; }, true},
      {"no arrays", [](ON_NurbsCurve& c) { c.Destroy(); }, false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    ON_NurbsCurve c = Cubic();
    k.damage(c);
    EXPECT_EQ(c.IsValid(), k.still_valid);
    EXPECT_FALSE(c.IsLinear(1e-12));
    EXPECT_FALSE(c.IsArc(nullptr, nullptr, 1e-12));
    (void)c.IsPolyline();
    (void)c.PointAt(0.5);
    (void)c.IsClosed();
    (void)c.IsPeriodic();
    ON_NurbsCurve copy(c);
    ON_PolyCurve pc;
    pc.Append(new ON_NurbsCurve(c));
    (void)pc.NurbsCurve(&copy);
  }
}

TEST(Robustness, ImpossibleSizesAreRefused) {
  ON_NurbsCurve c;
  EXPECT_FALSE(c.Create(3, false, 4, 3));
  EXPECT_FALSE(c.Create(0, false, 2, 2));
  EXPECT_FALSE(c.Create(3, true, 4, 2000000000));
  EXPECT_EQ(c.CV(0), nullptr);
  EXPECT_EQ(c.KnotCount(), 0);
  ON_NurbsSurface s;
  EXPECT_FALSE(s.Create(3, false, 2, 2, 100000, 100000));
  EXPECT_EQ(s.CV(0, 0), nullptr);
}

TEST(Robustness, DegenerateSimpleCurvesAndMeshes) {
  const ON_LineCurve dot(ON_3dPoint(1, 1, 1), ON_3dPoint(1, 1, 1));
  EXPECT_FALSE(dot.IsValid());
  EXPECT_FALSE(dot.IsLinear(1e-12));
  ON_ArcCurve zero(ON_Circle(ON_3dPoint(0, 0, 0), 0.0));
  EXPECT_FALSE(zero.IsValid());
  ON_NurbsCurve nc;
  EXPECT_EQ(zero.GetNurbForm(nc), 0);
  const ON_PolylineCurve single(ON_3dPointArray(1));
  EXPECT_EQ(single.IsPolyline(), 0);
  EXPECT_EQ(single.NurbsCurve(), nullptr);

  ON_Mesh m;
  m.m_V.Append(ON_3fPoint(std::numeric_limits<float>::quiet_NaN(), 0, 0));
  m.m_V.Append(ON_3fPoint(1, 0, 0));
  m.m_V.Append(ON_3fPoint(std::numeric_limits<float>::quiet_NaN(), 0, 0));
  m.SetTriangle(0, 0, 1, 2);
  m.SetQuad(1, 0, 1, 2, -7);
  EXPECT_FALSE(m.IsValid());
  EXPECT_EQ(m.Topology().TopVertexCount(), 3);  // NaN never equals itself
  (void)m.CullDegenerateFaces();
  (void)m.CullUnusedVertices();
  EXPECT_EQ(m.FaceCount(), 1);
}

}  // namespace
