// Decoding SAT geometry records: each kind evaluates as its record says,
// and malformed records decode to nothing with a reason.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "acis/AcisGeometry.h"
#include "arx/dbheaders.h"

namespace {

using namespace arxhost::sat;

Document OneRecord(const std::string& record) {
  std::string error;
  auto doc = Parse("700 0 1 0\n@4 test @11 ACIS 7.0 NT @24 Thu Dec 10 10:00:00 2026\n1 1e-06 1e-10\n" + record +
                       " #\nEnd-of-ACIS-data\n",
                   error);
  EXPECT_TRUE(doc.has_value()) << error << " in " << record;
  return doc ? *doc : Document();
}

void ExpectAt(const AcGePoint3d& got, double x, double y, double z) {
  EXPECT_NEAR(got.x, x, 1e-12);
  EXPECT_NEAR(got.y, y, 1e-12);
  EXPECT_NEAR(got.z, z, 1e-12);
}

TEST(AcisGeometry, SurfacesEvaluateAndProjectAsTheirRecordsSay) {
  const double pi = std::numbers::pi;
  struct Case {
    const char* record;
    double u, v;
    double x, y, z;       // the point at (u, v)
    double nx, ny, nz;    // the surface's own normal there
  } cases[] = {
      {"plane-surface $-1 -1 $-1 1 2 3 0 0 1 1 0 0 forward_v I I I I", 2, 5, 3, 7, 3, 0, 0, 1},
      {"plane-surface $-1 -1 $-1 1 2 3 0 0 1 1 0 0 reverse_v I I I I", 2, 5, 3, -3, 3, 0, 0, 1},
      // A cylinder of radius 2 about z; u is length over the scale.
      {"cone-surface $-1 -1 $-1 0 0 0 0 0 1 2 0 0 1 I I 0 1 2 forward I I I I", 1.5, pi / 2, 0, 2, 3, 0, 1, 0},
      // A 45-degree cone growing along z from a base circle of radius 1.
      {"cone-surface $-1 -1 $-1 0 0 0 0 0 1 1 0 0 1 I I 0.7071067811865476 0.7071067811865476 1 forward I I I I",
       std::sqrt(2.0), 0, 2, 0, 1, 0.7071067811865476, 0, -0.7071067811865476},
      {"sphere-surface $-1 -1 $-1 1 1 1 2 1 0 0 0 0 1 forward_v I I I I", pi / 2, 0, 1, 1, 3, 0, 0, 1},
      {"sphere-surface $-1 -1 $-1 0 0 0 2 1 0 0 0 0 1 forward_v I I I I", 0, pi / 2, 0, 2, 0, 0, 1, 0},
      {"torus-surface $-1 -1 $-1 0 0 0 0 0 1 5 1 1 0 0 forward_v I I I I", pi / 2, 0, 5, 0, 1, 0, 0, 1},
      // A bilinear patch, v running fastest among the control points.
      {"spline-surface $-1 -1 $-1 forward { exactsur nubs 1 1 open open none none 2 2 0 1 1 1 0 1 2 1 "
       "0 0 0 0 2 0 1 0 0 1 2 0 0 } I I I I",
       0.5, 1, 0.5, 1, 0, 0, 0, 1},
      // The same patch with weights of 1 except at (1, 2): pulled towards that corner.
      {"spline-surface $-1 -1 $-1 forward { exactsur nurbs 1 1 both open open none none 2 2 0 1 1 1 0 1 2 1 "
       "0 0 0 1 0 2 0 1 1 0 0 1 1 2 0 3 0 } I I I I",
       1, 1, 1, 1.5, 0, 0, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    Document doc = OneRecord(c.record);
    std::string error;
    auto s = DecodeSurface(doc, 0, error);
    ASSERT_TRUE(s.has_value()) << error;
    ExpectAt(s->evaluate(c.u, c.v), c.x, c.y, c.z);
    AcGeVector3d n = s->normalAt(c.u, c.v);
    EXPECT_NEAR(n.x, c.nx, 1e-6);
    EXPECT_NEAR(n.y, c.ny, 1e-6);
    EXPECT_NEAR(n.z, c.nz, 1e-6);
    double u = 0, v = 0;
    s->project(AcGePoint3d(c.x, c.y, c.z) + AcGeVector3d(c.nx, c.ny, c.nz) * 0.1, u, v);
    ExpectAt(s->evaluate(u, v), c.x, c.y, c.z);
  }
}

TEST(AcisGeometry, CurvesEvaluateAsTheirRecordsSay) {
  struct Case {
    const char* record;
    double t;
    double x, y, z;
  } cases[] = {
      {"straight-curve $-1 -1 $-1 1 0 0 0 1 0 I I", 4, 1, 4, 0},
      {"ellipse-curve $-1 -1 $-1 0 0 0 0 0 1 2 0 0 0.5 I I", std::numbers::pi / 2, 0, 1, 0},
      // A quadratic Bezier from (0,0,0) through the control point (1,2,0) to (2,0,0).
      {"intcurve-curve $-1 -1 $-1 forward { exactcur nubs 2 open 2 0 2 1 2 0 0 0 1 2 0 2 0 0 0 null_surface "
       "null_surface nullbs nullbs } I I",
       0.5, 1, 1, 0},
      // The same with weights: the middle weight pulls the curve up.
      {"intcurve-curve $-1 -1 $-1 forward { exactcur nurbs 2 open 2 0 2 1 2 0 0 0 1 1 2 0 3 2 0 0 1 0 } I I", 0.5, 1,
       1.5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    Document doc = OneRecord(c.record);
    std::string error;
    auto curve = DecodeCurve(doc, 0, error);
    ASSERT_TRUE(curve.has_value()) << error;
    ExpectAt(curve->evaluate(c.t), c.x, c.y, c.z);
  }
  Document doc = OneRecord("pcurve $-1 -1 $-1 0 reversed { exppc nubs 1 open 2 0 1 3 1 0 0 6 3 0 }");
  bool reversed = false;
  std::string error;
  auto pc = DecodePcurve(doc, 0, reversed, error);
  ASSERT_TRUE(pc.has_value()) << error;
  EXPECT_TRUE(reversed);
  EXPECT_EQ(pc->start(), 0.0);
  EXPECT_EQ(pc->end(), 3.0);
  ExpectAt(pc->evaluate(1.5), 3, 1.5, 0);
}

TEST(AcisGeometry, PartsOfBSplinesKeepTheirShape) {
  // A rational cubic with an inner knot, cut at parameters inside spans and on the knot.
  Document doc = OneRecord(
      "intcurve-curve $-1 -1 $-1 forward { exactcur nurbs 3 open 3 0 3 1 1 2 3 0 0 0 1 1 2 0 2 2 3 1 0.5 "
      "4 -1 2 1 5 0 0 1 0 } I I");
  std::string error;
  auto curve = DecodeCurve(doc, 0, error);
  ASSERT_TRUE(curve.has_value()) << error;
  for (auto [a, b] : {std::pair{0.3, 1.7}, std::pair{0.0, 1.0}, std::pair{1.0, 2.0}, std::pair{0.5, 0.6}}) {
    SCOPED_TRACE(std::to_string(a) + " to " + std::to_string(b));
    auto part = curve->spline.part(a, b);
    ASSERT_TRUE(part.has_value());
    EXPECT_EQ(part->start(), a);
    EXPECT_EQ(part->end(), b);
    for (int k = 0; k <= 10; ++k) {
      const double t = a + (b - a) * k / 10.0;
      const AcGePoint3d want = curve->evaluate(t), got = part->evaluate(t);
      EXPECT_NEAR(got.x, want.x, 1e-12);
      EXPECT_NEAR(got.y, want.y, 1e-12);
      EXPECT_NEAR(got.z, want.z, 1e-12);
    }
  }
  EXPECT_FALSE(curve->spline.part(1.5, 1.5).has_value());
  EXPECT_FALSE(curve->spline.part(-1, 1).has_value());
}

TEST(AcisGeometry, ExplodeCutsSplineEdgesToTheirParameters) {
  // A wire body of one edge over part of a cubic B-spline.
  const std::string sat =
      "700 0 1 0\n@4 test @11 ACIS 7.0 NT @24 Thu Dec 10 10:00:00 2026\n1 1e-06 1e-10\n"
      "body $-1 -1 $-1 $-1 $-1 $-1 #\n"
      "edge $-1 -1 $-1 $2 0.25 $3 1.5 $-1 $6 forward @7 unknown #\n"
      "vertex $-1 -1 $-1 $1 $4 #\n"
      "vertex $-1 -1 $-1 $1 $5 #\n"
      "point $-1 -1 $-1 0 0 0 #\n"
      "point $-1 -1 $-1 1 1 1 #\n"
      "intcurve-curve $-1 -1 $-1 forward { exactcur nubs 3 open 3 0 3 1 1 2 3 0 0 0 1 2 0 2 2 3 4 -1 2 5 0 0 "
      "0 } I I #\nEnd-of-ACIS-data\n";
  std::string error;
  auto doc = Parse(sat, error);
  ASSERT_TRUE(doc.has_value()) << error;
  auto curve = DecodeCurve(*doc, 6, error);
  ASSERT_TRUE(curve.has_value()) << error;
  // The edge record points at its curve through the body's record list.
  AcDbBody body;
  ASSERT_EQ(body.setSatText(sat), Acad::eOk);
  AcDbVoidPtrArray pieces;
  ASSERT_EQ(body.explode(pieces), Acad::eOk);
  ASSERT_EQ(pieces.length(), 1);
  auto* spline = AcDbSpline::cast(static_cast<AcDbEntity*>(pieces[0]));
  ASSERT_NE(spline, nullptr);
  AcGePoint3d a, b;
  spline->getStartPoint(a);
  spline->getEndPoint(b);
  EXPECT_LT(a.distanceTo(curve->evaluate(0.25)), 1e-12);
  EXPECT_LT(b.distanceTo(curve->evaluate(1.5)), 1e-12);
  for (void* p : pieces) delete static_cast<AcDbEntity*>(p);
}

TEST(AcisGeometry, MalformedRecordsDecodeToNothing) {
  const char* surfaces[] = {
      "plane-surface $-1 -1 $-1 1 2 3 0 0 0 1 0 0 forward_v I I I I",  // no normal
      "plane-surface $-1 -1 $-1 1 2 3 0 0 1",                          // cut short
      "cone-surface $-1 -1 $-1 0 0 0 0 0 1 2 0 0 1 I I nan 1 2 forward I I I I",
      "sphere-surface $-1 -1 $-1 0 0 0 0 1 0 0 0 0 1 forward_v I I I I",  // radius 0
      "torus-surface $-1 -1 $-1 0 0 0 0 0 1 5 1 1 0 0 sideways I I I I",
      "spline-surface $-1 -1 $-1 forward { exactsur nubs 1 1 open open none none 2 2 0 1 1 1 0 1 2 1 0 0 0 } I I I I",
      "spline-surface $-1 -1 $-1 forward { exactsur nubs 3 1 open open none none 2 2 0 1 1 1 0 1 2 1 "
      "0 0 0 0 2 0 1 0 0 1 2 0 0 } I I I I",  // too few knots for degree 3
      "spline-surface $-1 -1 $-1 forward { exactsur nubs 1 1 open open none none 2 2 1 1 0 1 0 1 2 1 "
      "0 0 0 0 2 0 1 0 0 1 2 0 0 } I I I I",  // decreasing knots
      "spline-surface $-1 -1 $-1 forward { exactsur nubs 1 1 open open none none 99999999 99999999 }",
      "spline-surface $-1 -1 $-1 forward { exactsur nurbs 1 1 both open open none none 2 2 0 1 1 1 0 1 2 1 "
      "0 0 0 1 0 2 0 1 1 0 0 1 1 2 0 -1 } I I I I",  // a negative weight
      "mystery-surface $-1 -1 $-1 1 2 3",
  };
  for (const char* record : surfaces) {
    Document doc = OneRecord(record);
    std::string error;
    EXPECT_FALSE(DecodeSurface(doc, 0, error).has_value()) << record;
    EXPECT_FALSE(error.empty()) << record;
  }
  const char* curves[] = {
      "straight-curve $-1 -1 $-1 1 0 0 0 0 0 I I",
      "ellipse-curve $-1 -1 $-1 0 0 0 0 0 1 0 0 0 0.5 I I",
      "intcurve-curve $-1 -1 $-1 forward { exactcur nubs 2 open 2 0 2 1 2 0 0 0 1 2 0 }",  // a point short
      "intcurve-curve $-1 -1 $-1 forward { exactcur nubs 0 open 2 0 1 1 1 0 0 0 1 2 0 }",  // degree 0
      "intcurve-curve $-1 -1 $-1 forward { parcur nubs 1 open 2 0 1 1 1 0 0 0 1 2 0 }",
  };
  for (const char* record : curves) {
    Document doc = OneRecord(record);
    std::string error;
    EXPECT_FALSE(DecodeCurve(doc, 0, error).has_value()) << record;
  }
  std::string error;
  Document doc = OneRecord("straight-curve $-1 -1 $-1 1 0 0 0 1 0 I I");
  EXPECT_FALSE(DecodeSurface(doc, 5, error).has_value());  // no such record
  EXPECT_FALSE(DecodeCurve(doc, -1, error).has_value());
}

}  // namespace
