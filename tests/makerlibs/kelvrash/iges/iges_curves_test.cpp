// Curves and points from IGES: each family's class, coordinates (with the
// entity's transformation), layer, colour and mode.
#include <algorithm>
#include <cmath>

#include "model/ModelToNurbs.h"

#include "TestSupport.h"

using namespace testiges;
using namespace kelv::model;

namespace {

const double kPi = 3.14159265358979323846;

void ExpectNear(const Vec3& v, double x, double y, double z, double tol = 1e-9) {
  EXPECT_NEAR(v.x(), x, tol);
  EXPECT_NEAR(v.y(), y, tol);
  EXPECT_NEAR(v.z(), z, tol);
}

// Start and end of a clamped NURBS curve: its first and last control points.
Vec3 NurbsEnd(const NurbsCurveT& n, bool last) {
  int stride = n.dim + (n.is_rat ? 1 : 0);
  size_t i = last ? static_cast<size_t>((n.cv_count - 1) * stride) : 0;
  double w = n.is_rat ? n.cv[i + n.dim] : 1.0;
  return Vec3(n.cv[i] / w, n.cv[i + 1] / w, n.dim > 2 ? n.cv[i + 2] / w : 0.0);
}

const CurveT* CurveAt(const ModelT& m, size_t i) { return m.objects.at(i)->geometry.AsCurve(); }

}  // namespace

TEST(IgesCurves, EveryCurveFamilyComesOverWithItsGeometry) {
  IgesBuilder b;
  // 90 degrees about z, then 5 along x.
  int rot = b.Add(124, {"0.", "-1.", "0.", "5.", "1.", "0.", "0.", "0.", "0.", "0.", "1.", "0."});
  b.Add(116, {"1.", "2.", "3.", "0"}, {.blank = 1});
  b.Add(110, {"0.", "0.", "0.", "10.", "0.", "0."}, {.level = 7, .color = 2, .transform = rot});
  b.Add(100, {"1.", "0.", "0.", "1.", "0.", "0.", "1."});
  b.Add(100, {"0.", "3.", "4.", "5.", "4.", "5.", "4."});
  b.Add(104, {"1.", "0.", "4.", "0.", "0.", "-4.", "0.", "2.", "0.", "-2.", "0."}, {.form = 1});
  b.Add(126, {"2", "1", "0", "0", "1", "0", "0.", "0.", "0.5", "1.", "1.", "1.", "1.", "1.", "0.", "0.", "0.", "1.",
              "1.", "0.", "2.", "0.", "0.", "0.", "1.", "0.", "0.", "1."});
  int seg1 = b.Next();
  b.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."}, {.subordinate = 1});
  int seg2 = b.Next();
  b.Add(100, {"0.", "1.", "1.", "1.", "0.", "2.", "1."}, {.subordinate = 1});
  b.Add(102, {"2", std::to_string(seg1), std::to_string(seg2)});
  b.Add(106, {"2", "3", "0.", "0.", "0.", "1.", "0.", "0.", "1.", "1.", "1."}, {.form = 12});
  b.Add(106, {"1", "2", "7.", "1.", "1.", "2.", "2."}, {.form = 1});
  b.Add(106, {"1", "3", "0.", "0.", "0.", "1.", "0.", "0.", "1."}, {.form = 63});

  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  const ModelT& m = c.model();
  ASSERT_EQ(m.objects.size(), 10u);

  // Point, blanked: hidden.
  ASSERT_NE(m.objects[0]->geometry.AsPoint(), nullptr);
  ExpectNear(m.objects[0]->geometry.AsPoint()->point, 1, 2, 3);
  EXPECT_EQ(m.objects[0]->attributes->mode, ObjectMode::Hidden);

  // Line under its transformation, on level 7, red.
  const LineCurveT* line = CurveAt(m, 1)->geometry.AsLineCurve();
  ASSERT_NE(line, nullptr);
  ExpectNear(line->from, 5, 0, 0);
  ExpectNear(line->to, 5, 10, 0);
  EXPECT_EQ(m.layers[static_cast<size_t>(m.objects[1]->attributes->layer_index)]->name, "7");
  EXPECT_EQ(m.objects[1]->attributes->color_source, ColorSource::Object);
  EXPECT_EQ(m.objects[1]->attributes->color, 0x0000FFu);
  EXPECT_EQ(m.layers[static_cast<size_t>(m.objects[0]->attributes->layer_index)]->name, "0");

  // Quarter arc at z = 1, and a full circle.
  const ArcCurveT* arc = CurveAt(m, 2)->geometry.AsArcCurve();
  ASSERT_NE(arc, nullptr);
  EXPECT_NEAR(arc->radius, 1.0, 1e-12);
  ExpectNear(arc->plane.origin(), 0, 0, 1);
  EXPECT_NEAR(arc->angle.t1() - arc->angle.t0(), kPi / 2, 1e-12);
  const ArcCurveT* circle = CurveAt(m, 3)->geometry.AsArcCurve();
  ASSERT_NE(circle, nullptr);
  EXPECT_NEAR(circle->radius, 2.0, 1e-12);
  EXPECT_NEAR(circle->angle.t1() - circle->angle.t0(), 2 * kPi, 1e-12);
  ExpectNear(circle->plane.origin(), 3, 4, 0);

  // Half ellipse x^2/4 + y^2 = 1 from (2, 0) to (-2, 0).
  const NurbsCurveT* ellipse = CurveAt(m, 4)->geometry.AsNurbsCurve();
  ASSERT_NE(ellipse, nullptr);
  EXPECT_TRUE(ellipse->is_rat);
  ExpectNear(NurbsEnd(*ellipse, false), 2, 0, 0, 1e-9);
  ExpectNear(NurbsEnd(*ellipse, true), -2, 0, 0, 1e-9);

  // Degree-1 B-spline with its knots in openNURBS form.
  const NurbsCurveT* spline = CurveAt(m, 5)->geometry.AsNurbsCurve();
  ASSERT_NE(spline, nullptr);
  EXPECT_EQ(spline->order, 2);
  EXPECT_EQ(spline->cv_count, 3);
  EXPECT_EQ(spline->knots, (std::vector<double>{0.0, 0.5, 1.0}));
  ExpectNear(NurbsEnd(*spline, true), 2, 0, 0);

  // Composite of a line and an arc, its parts not drawn alone.
  const PolyCurveT* poly = CurveAt(m, 6)->geometry.AsPolyCurve();
  ASSERT_NE(poly, nullptr);
  ASSERT_EQ(poly->segments.size(), 2u);
  EXPECT_NE(poly->segments[0]->geometry.AsLineCurve(), nullptr);
  EXPECT_NE(poly->segments[1]->geometry.AsArcCurve(), nullptr);

  // Copious data: a 3D polyline, a point set, a closed planar path.
  const PolylineCurveT* pl = CurveAt(m, 7)->geometry.AsPolylineCurve();
  ASSERT_NE(pl, nullptr);
  ASSERT_EQ(pl->points.size(), 3u);
  ExpectNear(pl->points[2], 1, 1, 1);
  const PointCloudT* cloud = m.objects[8]->geometry.AsPointCloud();
  ASSERT_NE(cloud, nullptr);
  ASSERT_EQ(cloud->points.size(), 2u);
  ExpectNear(cloud->points[1], 2, 2, 7);
  const PolylineCurveT* closed = CurveAt(m, 9)->geometry.AsPolylineCurve();
  ASSERT_NE(closed, nullptr);
  ASSERT_EQ(closed->points.size(), 4u);
  ExpectNear(closed->points.back(), 0, 0, 0);
  EXPECT_TRUE(c.result.skipped.empty());
}

TEST(IgesCurves, FileUnitsAreKeptAndColourDefinitionsApply) {
  IgesBuilder b;
  b.unitFlag = 1;
  b.unitName = "INCH";
  int colour = b.Add(314, {"100.", "50.", "0.", H("ORANGE")});
  b.Add(110, {"1.", "2.", "3.", "4.", "5.", "6."}, {.color = -colour});
  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  ASSERT_EQ(c.model().objects.size(), 1u);
  const LineCurveT* line = c.model().objects[0]->geometry.AsCurve()->geometry.AsLineCurve();
  ASSERT_NE(line, nullptr);
  ExpectNear(line->from, 1, 2, 3);
  ExpectNear(line->to, 4, 5, 6);
  EXPECT_EQ(c.model().objects[0]->attributes->color, 0x0080FFu);  // red 255, green 128 (rounded), blue 0
}

TEST(IgesCurves, BSplineInInchesIsNotScaled) {
  IgesBuilder b;
  b.unitFlag = 1;
  b.unitName = "INCH";
  int rot = b.Add(124, {"1.", "0.", "0.", "10.", "0.", "1.", "0.", "0.", "0.", "0.", "1.", "0."});
  b.Add(126, {"1", "1", "0", "0", "1", "0", "0.", "0.", "1.", "1.", "1.", "1.", "1.", "2.", "3.", "4.", "5.", "6.",
              "0.", "1.", "0.", "0.", "1."},
        {.transform = rot});
  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  ASSERT_EQ(c.model().objects.size(), 1u);
  const CurveT* curve = c.model().objects[0]->geometry.AsCurve();
  ASSERT_NE(curve, nullptr);
  // A straight B-spline may come over as a line or as a NURBS curve.
  if (auto* l = curve->geometry.AsLineCurve()) {
    ExpectNear(l->from, 11, 2, 3);
    ExpectNear(l->to, 14, 5, 6);
  } else {
    const NurbsCurveT* n = curve->geometry.AsNurbsCurve();
    ASSERT_NE(n, nullptr);
    ExpectNear(NurbsEnd(*n, false), 11, 2, 3);
    ExpectNear(NurbsEnd(*n, true), 14, 5, 6);
  }
}

namespace {

// The whole curve of the first object as openNURBS makes it from the file.
std::unique_ptr<ON_NurbsCurve> NurbsOfObject(const ModelT& m, size_t i) {
  std::vector<uint8_t> bytes = PackModel(m);
  const Model* packed = GetModel(bytes.data());
  auto curve = ToNurbsCurve(packed->objects()->Get(static_cast<flatbuffers::uoffset_t>(i))->geometry_as_Curve());
  if (!curve) return nullptr;
  auto nurbs = std::make_unique<ON_NurbsCurve>();
  if (!curve->NurbsCurve(nurbs.get(), 0.0, nullptr)) return nullptr;
  return nurbs;
}

}  // namespace

TEST(IgesCurves, CompositePiecesOutOfOrderAndTurnedJoinIntoOneClosedCurve) {
  // A slot of two lines and two half circles, with a gap of half the file's
  // resolution (1E-6) at one corner. Listed from the bottom line, the top
  // line runs against the path; listed from the top line, the bottom line
  // and both arcs do.
  const std::vector<std::string> bottom = {"0.", "0.", "0.", "4.", "0.", "0."},
                                 top = {"0.", "2.", "0.", "4.", "2.", "0."},
                                 right = {"0.", "4.", "1.", "4.0000005", "0.", "4.", "2."},
                                 left = {"0.", "0.", "1.", "0.", "2.", "0.", "0."};
  const std::vector<std::pair<int, std::vector<std::string>>> listings[] = {
      {{110, bottom}, {110, top}, {100, right}, {100, left}},
      {{110, top}, {100, right}, {110, bottom}, {100, left}}};
  for (const auto& listing : listings) {
    SCOPED_TRACE(listing[0].second == bottom ? "from the bottom" : "from the top");
    IgesBuilder b;
    std::vector<std::string> params = {std::to_string(listing.size())};
    for (const auto& [type, p] : listing) {
      params.push_back(S(b.Next()));
      b.Add(type, p, {.subordinate = 1});
    }
    b.Add(102, params);
    Converted c;
    Convert(b.Text(), c);
    ASSERT_TRUE(c.ok) << c.reason;
    ASSERT_EQ(c.model().objects.size(), 1u);
    const PolyCurveT* poly = CurveAt(c.model(), 0)->geometry.AsPolyCurve();
    ASSERT_NE(poly, nullptr);
    ASSERT_EQ(poly->segments.size(), 4u);
    auto nurbs = NurbsOfObject(c.model(), 0);
    ASSERT_NE(nurbs, nullptr) << "the pieces do not join";
    EXPECT_TRUE(nurbs->IsClosed());
    // The joints are the slot's corners, each met once, and the middle of
    // each piece lies on the slot: the half circles bulge outwards.
    std::vector<std::pair<double, double>> corners;
    for (size_t i = 0; i + 1 < poly->params.size(); ++i) {
      ON_3dPoint p = nurbs->PointAt(poly->params[i]);
      corners.push_back({std::round(p.x * 1e4) / 1e4, std::round(p.y * 1e4) / 1e4});
      ON_3dPoint mid = nurbs->PointAt(0.5 * (poly->params[i] + poly->params[i + 1]));
      EXPECT_TRUE(mid.DistanceTo(ON_3dPoint(2, 0, 0)) < 1e-6 || mid.DistanceTo(ON_3dPoint(2, 2, 0)) < 1e-6 ||
                  mid.DistanceTo(ON_3dPoint(5, 1, 0)) < 1e-6 || mid.DistanceTo(ON_3dPoint(-1, 1, 0)) < 1e-6)
          << mid.x << "," << mid.y;
    }
    std::sort(corners.begin(), corners.end());
    EXPECT_EQ(corners, (std::vector<std::pair<double, double>>{{0, 0}, {0, 2}, {4, 0}, {4, 2}}));
  }
}

TEST(IgesCurves, CompositePiecesThatDoNotChainAreKeptAsCurvesOfTheirOwn) {
  IgesBuilder b;
  int a = b.Next();
  b.Add(110, {"10.", "0.", "0.", "11.", "0.", "0."}, {.subordinate = 1});
  int far = b.Next();
  b.Add(110, {"20.", "5.", "0.", "21.", "5.", "0."}, {.subordinate = 1});
  int back = b.Next();
  b.Add(110, {"12.", "0.", "0.", "11.", "0.", "0."}, {.subordinate = 1});
  b.Add(102, {"3", S(a), S(far), S(back)});
  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  const ModelT& m = c.model();
  ASSERT_EQ(m.objects.size(), 2u);
  // The first and third pieces join; the second stands alone.
  const PolyCurveT* joined = CurveAt(m, 0)->geometry.AsPolyCurve();
  ASSERT_NE(joined, nullptr);
  ASSERT_EQ(joined->segments.size(), 2u);
  ExpectNear(joined->segments[1]->geometry.AsLineCurve()->from, 11, 0, 0);
  ExpectNear(joined->segments[1]->geometry.AsLineCurve()->to, 12, 0, 0);
  const LineCurveT* loose = CurveAt(m, 1)->geometry.AsLineCurve();
  ASSERT_NE(loose, nullptr);
  ExpectNear(loose->from, 20, 5, 0);
  EXPECT_TRUE(c.result.skipped.empty());
}

TEST(IgesCurves, AFileOfWhichNothingConvertsFailsWithWhatItHolds) {
  // Two unknown entities, a line whose parameters cannot be read and a
  // transformation that places nothing. (A line flagged as part of another
  // entity that nothing uses is drawn alone, so it has no place here.)
  auto nothing = [](IgesBuilder& b) {
    b.Add(999, {"1.", "2."});
    b.Add(999, {"3."});
    b.Add(110, {"1.", "2."});
    b.Add(124, {"1.", "0.", "0.", "0.", "0.", "1.", "0.", "0.", "0.", "0.", "1.", "0."});
  };
  IgesBuilder empty;
  nothing(empty);
  Converted c;
  Convert(empty.Text(), c);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.reason,
            "holds 4 entities and none of them can be converted: 1 could not be read (1 of type 110); 2 could not be converted (2 of type 999); "
            "1 draws nothing of its own (1 of type 124)");

  // One line is enough for a conversion that reports what it left out.
  IgesBuilder some;
  nothing(some);
  some.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."});
  Converted d;
  Convert(some.Text(), d);
  ASSERT_TRUE(d.ok) << d.reason;
  EXPECT_EQ(d.model().objects.size(), 1u);
  EXPECT_EQ(d.result.skipped, (std::map<int, int>{{110, 1}, {999, 2}}));
}
