// Points, lines, circles, arcs, polylines and NURBS curves as drawing
// entities.
#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include "GeometryFixture.h"

namespace {

constexpr double kPi = std::numbers::pi;

ON_Polyline Chain(const std::vector<ON_3dPoint>& points) {
  ON_Polyline polyline;
  for (const ON_3dPoint& p : points) polyline.Append(p);
  return polyline;
}

ON_NurbsCurve Clamped(int order, const std::vector<ON_3dPoint>& cvs) {
  ON_NurbsCurve curve;
  EXPECT_TRUE(curve.CreateClampedUniformNurbs(3, order, static_cast<int>(cvs.size()), cvs.data()));
  return curve;
}

class CurveOutputs : public GeometryTest {
 protected:
  const CString layer = L"Curves";
  const AcCmColor green = Rgb(0, 200, 0);
};

TEST_F(CurveOutputs, PolylineClosesOnlyOnAnExactlyRepeatedFirstPoint) {
  const ON_3dPoint a(0, 0, 0), b(4, 0, 0), c(4, 3, 0), d(0, 3, 1);
  struct Case {
    const char* name;
    ON_Polyline input;
    std::vector<AcGePoint3d> vertices;
    bool closed;
  } cases[] = {
      {"square", Chain({a, b, c, d, a}), {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 1}}, true},
      {"triangle", Chain({a, b, c, a}), {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}}, true},
      {"out and back", Chain({a, b, a}), {{0, 0, 0}, {4, 0, 0}, {0, 0, 0}}, false},
      {"near miss", Chain({a, b, c, d, {0, 0, 1e-12}}),
       {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 1}, {0, 0, 1e-12}}, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    arxhost::ResetWorkingDatabase();
    AcDb3dPolyline filled;
    EXPECT_EQ(GeometryConverter::PolylineToVertices(k.input, &filled), 1);
    EXPECT_EQ(filled.points(), k.vertices);
    EXPECT_EQ(filled.isClosed(), k.closed);

    EXPECT_EQ(GeometryConverter::AddPolyline(k.input, layer, green), 1);
    std::vector<AcDb3dPolyline*> added = All<AcDb3dPolyline>();
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0]->points(), k.vertices);
    EXPECT_EQ(added[0]->isClosed(), k.closed);
    ExpectPlaced(L"Curves", green);
    ExpectNothingOpen();  // the vertices too
  }
}

TEST_F(CurveOutputs, SplineGetsTheConventionalKnotVector) {
  const ON_NurbsCurve cubic = Clamped(4, {{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 1}});
  ASSERT_EQ(cubic.KnotCount(), 6);
  AcDbSpline spline;
  EXPECT_EQ(GeometryConverter::NurbsCurveToSpline(cubic, &spline), 1);
  int degree = 0;
  bool rational = true, closed = true, periodic = true;
  AcGePoint3dArray cvs;
  AcGeDoubleArray knots, weights;
  double cvTol = -1, knotTol = -1;
  ASSERT_EQ(spline.getNurbsData(degree, rational, closed, periodic, cvs, knots, weights, cvTol, knotTol), Acad::eOk);
  EXPECT_EQ(degree, 3);
  EXPECT_FALSE(rational);
  EXPECT_FALSE(closed);
  EXPECT_FALSE(periodic);
  EXPECT_EQ(std::vector<double>(knots.begin(), knots.end()), (std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}));
  ASSERT_EQ(cvs.length(), 4);
  EXPECT_EQ(cvs[3], AcGePoint3d(4, 0, 1));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(spline.weightAt(i), 1.0);
}

TEST_F(CurveOutputs, RationalArcPassesEuclideanPointsAndItsWeights) {
  // A quarter circle of radius 2: middle weight cos 45 degrees.
  const double w = std::sqrt(0.5);
  ON_NurbsCurve arc(3, true, 3, 3);
  arc.SetCV(0, ON_4dPoint(2, 0, 0, 1));
  arc.SetCV(1, ON_4dPoint(2 * w, 2 * w, 0, w));  // homogeneous (2, 2, 0) times w
  arc.SetCV(2, ON_4dPoint(0, 2, 0, 1));
  const double knots[] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i) arc.SetKnot(i, knots[i]);
  AcDbSpline spline;
  ASSERT_EQ(GeometryConverter::NurbsCurveToSpline(arc, &spline), 1);
  EXPECT_TRUE(spline.isRational());
  EXPECT_EQ(spline.degree(), 2);
  AcGePoint3d middle;
  spline.getControlPointAt(1, middle);
  EXPECT_TRUE(Near(middle, AcGePoint3d(2, 2, 0)));
  EXPECT_DOUBLE_EQ(spline.weightAt(0), 1.0);
  EXPECT_DOUBLE_EQ(spline.weightAt(1), w);
  EXPECT_DOUBLE_EQ(spline.weightAt(2), 1.0);
  AcGePoint3d half;
  spline.getPointAtParam(0.5, half);
  EXPECT_NEAR(AcGeVector3d(half.x, half.y, half.z).length(), 2.0, 1e-12);  // on the circle
}

// A rational curve with a negative weight: the drawing takes no such data.
ON_NurbsCurve Refused() {
  ON_NurbsCurve curve = Clamped(3, {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}});
  curve.MakeRational();
  curve.SetWeight(1, -0.5);
  return curve;
}

TEST_F(CurveOutputs, RefusedSplineDataLeavesTheTextAndNothingInTheDrawing) {
  AcDbSpline spline;
  EXPECT_EQ(GeometryConverter::NurbsCurveToSpline(Refused(), &spline), 0);
  EXPECT_TRUE(spline.isNull());
  EXPECT_EQ(GeometryConverter::GetError(), CString(L"Enable to create Spline"));

  GeometryConverter::SetError(L"");
  EXPECT_EQ(GeometryConverter::AddCurve(Refused(), layer, green), 0);
  EXPECT_EQ(GeometryConverter::GetError(), CString(L"Enable to create Spline"));
  EXPECT_TRUE(db.entities().empty());
}

TEST_F(CurveOutputs, AddCurveDrawsTheSimplestEntity) {
  ON_NurbsCurve circle, arc;
  ON_ArcCurve(ON_Circle(ON_3dPoint(1, 1, 0), 3.0)).GetNurbForm(circle);
  ON_ArcCurve(ON_Arc(ON_Circle(ON_3dPoint(0, 0, 2), 2.0), kPi / 3)).GetNurbForm(arc);
  const ON_3dPoint a(0, 0, 0), b(4, 0, 0), c(4, 3, 0), d(0, 3, 0);
  struct Case {
    std::string name;
    ON_NurbsCurve curve;
    AcRxClass* cls;
    std::function<void(AcDbEntity*)> check;
  } cases[] = {
      {"line", Clamped(4, {a, {1, 0, 0}, {3, 0, 0}, b}), AcDbLine::desc(),
       [](AcDbEntity* e) {
         EXPECT_EQ(AcDbLine::cast(e)->startPoint(), AcGePoint3d(0, 0, 0));
         EXPECT_EQ(AcDbLine::cast(e)->endPoint(), AcGePoint3d(4, 0, 0));
       }},
      {"circle", circle, AcDbCircle::desc(),
       [](AcDbEntity* e) {
         EXPECT_TRUE(Near(AcDbCircle::cast(e)->center(), AcGePoint3d(1, 1, 0)));
         EXPECT_NEAR(AcDbCircle::cast(e)->radius(), 3.0, 1e-9);
       }},
      {"arc", arc, AcDbArc::desc(),
       [](AcDbEntity* e) {
         AcDbArc* entity = AcDbArc::cast(e);
         EXPECT_NEAR(entity->radius(), 2.0, 1e-9);
         EXPECT_NEAR(entity->startAngle(), 0.0, 1e-9);
         EXPECT_NEAR(entity->endAngle(), kPi / 3, 1e-9);
       }},
      {"closed polyline", Clamped(2, {a, b, c, d, a}), AcDb3dPolyline::desc(),
       [](AcDbEntity* e) {
         EXPECT_EQ(AcDb3dPolyline::cast(e)->points().size(), 4u);
         EXPECT_TRUE(AcDb3dPolyline::cast(e)->isClosed());
       }},
      {"free-form", Clamped(4, {a, b, c, d}), AcDbSpline::desc(),
       [](AcDbEntity* e) {
         EXPECT_EQ(AcDbSpline::cast(e)->numControlPoints(), 4);
         EXPECT_EQ(AcDbSpline::cast(e)->degree(), 3);
       }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    arxhost::ResetWorkingDatabase();
    EXPECT_EQ(GeometryConverter::AddCurve(k.curve, layer, green), 1);
    std::vector<AcDbEntity*> entities = Entities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0]->isA(), k.cls);
    k.check(entities[0]);
    ExpectPlaced(L"Curves", green);
    ExpectNothingOpen();
  }
}

TEST_F(CurveOutputs, ArcOfAFullTurnBecomesACircle) {
  ON_Arc whole(ON_Circle(ON_3dPoint(5, 5, 5), 1.5), 2 * kPi);
  ON_Arc part(ON_Circle(ON_3dPoint(5, 5, 5), 1.5), 1.0);
  EXPECT_EQ(GeometryConverter::AddArc(whole, layer, green), 1);
  EXPECT_EQ(GeometryConverter::AddArc(part, layer, green), 1);
  std::vector<AcDbEntity*> entities = Entities();
  ASSERT_EQ(entities.size(), 2u);
  EXPECT_EQ(entities[0]->isA(), AcDbCircle::desc());
  EXPECT_EQ(entities[1]->isA(), AcDbArc::desc());
  EXPECT_EQ(AcDbCircle::cast(entities[0])->radius(), 1.5);
}

TEST_F(CurveOutputs, FitSplineRunsThroughItsPoints) {
  ON_3dPointArray points;
  for (int i = 0; i < 5; ++i) points.Append(i, (i % 2) * 2.0, 0.5 * i);
  EXPECT_EQ(GeometryConverter::AddFitSpline(points, layer, green), 1);
  std::vector<AcDbSpline*> splines = All<AcDbSpline>();
  ASSERT_EQ(splines.size(), 1u);
  AcGePoint3dArray fit;
  int degree = 0;
  double tolerance = -1;
  bool tangents = true;
  AcGeVector3d t0, t1;
  ASSERT_EQ(splines[0]->getFitData(fit, degree, tolerance, tangents, t0, t1), Acad::eOk);
  ASSERT_EQ(fit.length(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(fit[i], GeometryConverter::PointToAcGePoint(points[i]));
  EXPECT_EQ(degree, 3);  // order 4
  EXPECT_EQ(tolerance, 0.0);
  ExpectPlaced(L"Curves", green);

  // One distinct point makes no curve: nothing goes into the drawing.
  ON_3dPointArray single;
  single.Append(1, 1, 1);
  single.Append(1, 1, 1);
  EXPECT_EQ(GeometryConverter::AddFitSpline(single, layer, green), 0);
  EXPECT_EQ(db.entities().size(), 1u);
}

TEST_F(CurveOutputs, AddersAndTheirArrayFormsAppendOneEntityPerItem) {
  ON_3dPointArray points;
  points.Append(1, 2, 3);
  points.Append(4, 5, 6);
  ON_SimpleArray<ON_Line> lines;
  lines.Append(ON_Line(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0)));
  lines.Append(ON_Line(ON_3dPoint(0, 0, 0), ON_3dPoint(0, 1, 0)));
  ON_SimpleArray<ON_Circle> circles;
  circles.Append(ON_Circle(ON_3dPoint(0, 0, 0), 1.0));
  ON_SimpleArray<ON_Arc> arcs;
  arcs.Append(ON_Arc(ON_Circle(ON_3dPoint(0, 0, 0), 1.0), 1.0));
  arcs.Append(ON_Arc(ON_Circle(ON_3dPoint(0, 0, 0), 2.0), 2 * kPi));
  ON_ClassArray<ON_Polyline> polylines;
  polylines.Append(Chain({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}));
  ON_ClassArray<ON_NurbsCurve> curves;
  curves.Append(Clamped(2, {{0, 0, 0}, {5, 0, 0}}));
  curves.Append(Refused());  // refused, and the rest still converted
  curves.Append(Clamped(4, {{0, 0, 0}, {1, 1, 0}, {2, -1, 0}, {3, 0, 0}}));

  struct Case {
    const char* name;
    std::function<int()> run;
    std::vector<AcRxClass*> classes;
  } cases[] = {
      {"point", [&] { return GeometryConverter::AddPoint(points[0], layer, green); }, {AcDbPoint::desc()}},
      {"points", [&] { return GeometryConverter::AddPoints(points, layer, green); },
       {AcDbPoint::desc(), AcDbPoint::desc()}},
      {"line between", [&] { return GeometryConverter::AddLineBetween(points[0], points[1], layer, green); },
       {AcDbLine::desc()}},
      {"lines", [&] { return GeometryConverter::AddLines(lines, layer, green); }, {AcDbLine::desc(), AcDbLine::desc()}},
      {"circles", [&] { return GeometryConverter::AddCircles(circles, layer, green); }, {AcDbCircle::desc()}},
      {"arcs", [&] { return GeometryConverter::AddArcs(arcs, layer, green); }, {AcDbArc::desc(), AcDbCircle::desc()}},
      {"polylines", [&] { return GeometryConverter::AddPolylines(polylines, layer, green); },
       {AcDb3dPolyline::desc()}},
      {"curves", [&] { return GeometryConverter::AddCurves(curves, layer, green); },
       {AcDbLine::desc(), AcDbSpline::desc()}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    arxhost::ResetWorkingDatabase();
    EXPECT_EQ(k.run(), 1);
    std::vector<AcRxClass*> classes;
    for (AcDbEntity* e : Entities()) classes.push_back(e->isA());
    EXPECT_EQ(classes, k.classes);
    ExpectPlaced(L"Curves", green);
    ExpectNothingOpen();
  }
  arxhost::ResetWorkingDatabase();
  GeometryConverter::AddLineBetween(points[0], points[1], layer, green);
  AcDbLine* line = All<AcDbLine>().at(0);
  EXPECT_EQ(line->startPoint(), AcGePoint3d(1, 2, 3));
  EXPECT_EQ(line->endPoint(), AcGePoint3d(4, 5, 6));
}

TEST_F(CurveOutputs, EmptyLayerNameKeepsTheEntitysLayerAndARefusedLayerAppendsNothing) {
  GeometryConverter::AddPoint(ON_3dPoint(1, 1, 1), L"", green);
  std::vector<AcDbPoint*> points = All<AcDbPoint>();
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0]->layerId(), db.layer(L"0"));
  EXPECT_EQ(points[0]->color(), green);

  EXPECT_EQ(GeometryConverter::AddCircle(ON_Circle(ON_3dPoint(0, 0, 0), 1.0), L"a<b", green), 1);
  EXPECT_EQ(GeometryConverter::AddCurve(Clamped(4, {{0, 0, 0}, {1, 1, 0}, {2, -1, 0}, {3, 0, 0}}), L"a<b", green),
            1);
  EXPECT_EQ(db.entities().size(), 1u);
}

}  // namespace
