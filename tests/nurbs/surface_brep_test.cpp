// Surfaces (NURBS, plane, revolution) with the recovery of their analytic
// kind, and the B-rep structure.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "opennurbs.h"

namespace {

constexpr double kTol = 1e-12;

enum class Kind { sphere, cylinder, cone, torus };

struct Recognised {
  bool sphere, cylinder, cone, torus, planar;
};

Recognised Recognise(const ON_Surface& s) {
  return {s.IsSphere(nullptr, kTol), s.IsCylinder(nullptr, kTol), s.IsCone(nullptr, kTol),
          s.IsTorus(nullptr, kTol), s.IsPlanar(nullptr, kTol)};
}

TEST(RevSurface, AnalyticFormsAreRecoveredExactlyAndOnlyAsThemselves) {
  const ON_Plane frame(ON_3dPoint(1, -2, 3), ON_3dVector(0.2, 1, 0.5));
  const ON_Sphere sphere(ON_3dPoint(1, 2, 3), 4.0);
  const ON_Cylinder cylinder(ON_Circle(frame, 2.5), 7.0);
  const ON_Cone cone(frame, 3.0, 1.5);
  const ON_Torus torus(frame, 5.0, 1.0);
  struct Case {
    std::string name;
    std::unique_ptr<ON_RevSurface> srf;
    Recognised expect;
  };
  Case cases[] = {
      {"sphere", std::unique_ptr<ON_RevSurface>(sphere.RevSurfaceForm()), {true, false, false, false, false}},
      {"cylinder", std::unique_ptr<ON_RevSurface>(cylinder.RevSurfaceForm()), {false, true, false, false, false}},
      {"cone", std::unique_ptr<ON_RevSurface>(cone.RevSurfaceForm()), {false, false, true, false, false}},
      {"torus", std::unique_ptr<ON_RevSurface>(torus.RevSurfaceForm()), {false, false, false, true, false}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.srf, nullptr);
    ASSERT_TRUE(c.srf->IsValid());
    const Recognised r = Recognise(*c.srf);
    EXPECT_EQ(r.sphere, c.expect.sphere);
    EXPECT_EQ(r.cylinder, c.expect.cylinder);
    EXPECT_EQ(r.cone, c.expect.cone);
    EXPECT_EQ(r.torus, c.expect.torus);
    EXPECT_EQ(r.planar, c.expect.planar);
  }

  ON_Sphere s;
  ASSERT_TRUE(cases[0].srf->IsSphere(&s, kTol));
  EXPECT_NEAR(s.Center().DistanceTo(sphere.Center()), 0.0, kTol);
  EXPECT_NEAR(s.radius, 4.0, kTol);

  ON_Cylinder cy;
  ASSERT_TRUE(cases[1].srf->IsCylinder(&cy, kTol));
  EXPECT_NEAR(cy.Radius(), 2.5, kTol);
  EXPECT_NEAR(cy.Height(), 7.0, kTol);
  EXPECT_EQ(cy.Axis().IsParallelTo(frame.zaxis, 1e-12), 1);

  ON_Cone co;
  ASSERT_TRUE(cases[2].srf->IsCone(&co, kTol));
  EXPECT_NEAR(co.ApexPoint().DistanceTo(frame.origin), 0.0, kTol);
  EXPECT_NEAR(co.radius, 1.5, kTol);
  EXPECT_NEAR(co.height, 3.0, kTol);

  ON_Torus to;
  ASSERT_TRUE(cases[3].srf->IsTorus(&to, kTol));
  EXPECT_NEAR(to.major_radius, 5.0, kTol);
  EXPECT_NEAR(to.minor_radius, 1.0, kTol);
  EXPECT_NEAR(to.Center().DistanceTo(frame.origin), 0.0, kTol);
}

TEST(RevSurface, PointsAndNurbsFormLieOnTheTorus) {
  const ON_Torus torus(ON_Plane(ON_3dPoint(0, 0, 1), ON_3dVector(0, 0, 1)), 3.0, 1.0);
  std::unique_ptr<ON_RevSurface> srf(torus.RevSurfaceForm());
  ASSERT_NE(srf, nullptr);
  ON_NurbsSurface ns;
  ASSERT_TRUE(srf->GetNurbForm(ns));
  ASSERT_TRUE(ns.IsValid());
  auto on_torus = [](const ON_3dPoint& p) {
    const double q = std::hypot(p.x, p.y) - 3.0;
    return q * q + (p.z - 1.0) * (p.z - 1.0);
  };
  for (const ON_Surface* s : {static_cast<const ON_Surface*>(srf.get()), static_cast<const ON_Surface*>(&ns)}) {
    const ON_Interval u = s->Domain(0), v = s->Domain(1);
    for (int i = 0; i <= 8; ++i)
      for (int j = 0; j <= 8; ++j) {
        const ON_3dPoint p = s->PointAt(u.ParameterAt(i / 8.0), v.ParameterAt(j / 8.0));
        EXPECT_NEAR(on_torus(p), 1.0, 1e-11);
      }
  }
  // The revolution's first derivatives agree with differences of its points.
  ON_3dPoint p;
  ON_3dVector ds, dt;
  ASSERT_TRUE(srf->Ev1Der(1.0, 2.0, p, ds, dt));
  const double h = 1e-6;
  EXPECT_NEAR(((srf->PointAt(1.0 + h, 2.0) - srf->PointAt(1.0 - h, 2.0)) / (2 * h) - ds).Length(), 0.0, 1e-6);
  EXPECT_NEAR(((srf->PointAt(1.0, 2.0 + h) - srf->PointAt(1.0, 2.0 - h)) / (2 * h) - dt).Length(), 0.0, 1e-6);
}

TEST(PlaneSurface, EvaluatesOverItsExtentsAndIsPlanar) {
  ON_PlaneSurface ps(ON_Plane(ON_3dPoint(0, 0, 5), ON_3dVector(0, 0, 1)));
  ps.SetExtents(0, ON_Interval(-2, 2), true);
  ps.SetExtents(1, ON_Interval(0, 3), true);
  EXPECT_EQ(ps.PointAt(1, 2), ON_3dPoint(1, 2, 5));
  ON_Plane plane;
  ASSERT_TRUE(ps.IsPlanar(&plane, kTol));
  EXPECT_EQ(plane.origin, ON_3dPoint(0, 0, 5));
  ON_NurbsSurface ns;
  ASSERT_TRUE(ps.GetNurbForm(ns));
  EXPECT_NEAR(ns.PointAt(1, 2).DistanceTo(ON_3dPoint(1, 2, 5)), 0.0, kTol);
  EXPECT_TRUE(ns.IsPlanar(nullptr, kTol));
  EXPECT_FALSE(ps.IsSphere());
}

ON_Brep UnitSquareBrep() {
  ON_Brep b;
  auto* plane = new ON_PlaneSurface(ON_xy_plane);
  const int si = b.AddSurface(plane);
  const ON_3dPoint c[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  for (const auto& p : c) b.NewVertex(p, 0.0);
  for (int i = 0; i < 4; ++i) {
    const int c3 = b.AddEdgeCurve(new ON_LineCurve(c[i], c[(i + 1) % 4]));
    b.NewEdge(b.m_V[i], b.m_V[(i + 1) % 4], c3);
  }
  ON_BrepFace& face = b.NewFace(si);
  ON_BrepLoop& loop = b.NewLoop(ON_BrepLoop::outer, face);
  for (int i = 0; i < 4; ++i) {
    const ON_2dPoint a(c[i].x, c[i].y), e(c[(i + 1) % 4].x, c[(i + 1) % 4].y);
    const int c2 = b.AddTrimCurve(new ON_LineCurve(a, e));
    b.NewTrim(b.m_E[i], false, b.m_L[loop.m_loop_index], c2);
  }
  return b;
}

TEST(Brep, PartsReferToEachOtherAndCopiesReferToTheirOwnParts) {
  ON_Brep b = UnitSquareBrep();
  ON_TextLog log;
  ASSERT_TRUE(b.IsValid(&log)) << log.Text();
  EXPECT_EQ(b.FaceCount(), 1);
  EXPECT_EQ(b.EdgeCount(), 4);
  EXPECT_EQ(b.TrimCount(), 4);
  EXPECT_FALSE(b.IsSolid());
  EXPECT_EQ(b.m_T[0].m_type, ON_BrepTrim::boundary);
  EXPECT_EQ(b.m_V[1].m_ei.Count(), 2);
  const ON_BrepFace& f = b.m_F[0];
  ASSERT_NE(f.OuterLoop(), nullptr);
  EXPECT_EQ(f.OuterLoop()->TrimCount(), 4);
  EXPECT_TRUE(f.SurfaceOf()->IsPlanar());
  EXPECT_EQ(b.m_E[2].PointAtStart(), ON_3dPoint(1, 1, 0));
  EXPECT_EQ(b.m_T[1].Edge(), &b.m_E[1]);

  ON_Brep copy(b);
  ASSERT_TRUE(copy.IsValid());
  EXPECT_EQ(copy.m_E[0].m_brep, &copy);
  EXPECT_NE(copy.m_E[0].EdgeCurveOf(), b.m_E[0].EdgeCurveOf());
  EXPECT_EQ(copy.m_F[0].OuterLoop()->Face(), &copy.m_F[0]);

  ON_Xform move;
  move.Translation(ON_3dVector(0, 0, 2));
  ASSERT_TRUE(copy.Transform(move));
  EXPECT_EQ(copy.m_V[2].point, ON_3dPoint(1, 1, 2));
  EXPECT_EQ(copy.m_E[2].PointAtStart(), ON_3dPoint(1, 1, 2));
  EXPECT_EQ(b.m_V[2].point, ON_3dPoint(1, 1, 0));
  const ON_BoundingBox box = copy.BoundingBox();
  EXPECT_EQ(box.m_min, ON_3dPoint(0, 0, 2));
  EXPECT_EQ(box.m_max, ON_3dPoint(1, 1, 2));

  std::unique_ptr<ON_Brep> dup(b.Duplicate());
  EXPECT_TRUE(dup->IsValid());
  EXPECT_EQ(dup->m_L[0].m_brep, dup.get());
}

TEST(Brep, IsValidNamesAnIndexOutOfRange) {
  ON_Brep b = UnitSquareBrep();
  b.m_E[3].m_c3i = 17;
  ON_TextLog log;
  EXPECT_FALSE(b.IsValid(&log));
  EXPECT_NE(log.Text().find("edge 3"), std::string::npos);
  EXPECT_FALSE(ON_Brep().IsValid());
}

}  // namespace
