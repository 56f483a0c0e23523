// Edges of Open CASCADE shapes into drawing curves.
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRep_Builder.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BezierCurve.hxx>
#include <Geom_Circle.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_OffsetCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TopoDS_Compound.hxx>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>
#include <gp_Elips.hxx>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ShapeEdgeConverter.h"
#include "arx/dbInspector.h"

namespace {

const double kPi = 3.14159265358979323846;

class ShapeEdges : public ::testing::Test {
 protected:
  void SetUp() override { arxhost::ResetWorkingDatabase(); }
  void TearDown() override {
    EXPECT_TRUE(db.openObjects().empty()) << "an object was left open";
    arxhost::ResetWorkingDatabase();
  }

  // Converts the shapes and returns the count.
  int Convert(std::vector<TopoDS_Shape> shapes) {
    Handle(TopTools_HSequenceOfShape) sequence = new TopTools_HSequenceOfShape;
    for (const auto& s : shapes) sequence->Append(s);
    int count = -1;
    EXPECT_EQ(ShapeEdgeConverter::ConvertShapes(sequence, &count), 1);
    return count;
  }

  std::vector<AcDbEntity*> Entities() const {
    std::vector<AcDbEntity*> out;
    for (AcDbObjectId id : db.entities()) out.push_back(db.get<AcDbEntity>(id));
    return out;
  }
  template <class T>
  T* Only() const {
    auto all = Entities();
    EXPECT_EQ(all.size(), 1u);
    return all.size() == 1 ? T::cast(all[0]) : nullptr;
  }

  arxhost::DatabaseInspector db;
};

void ExpectNear(const AcGePoint3d& p, const gp_Pnt& q, double tol = 1e-9) {
  EXPECT_NEAR(p.x, q.X(), tol);
  EXPECT_NEAR(p.y, q.Y(), tol);
  EXPECT_NEAR(p.z, q.Z(), tol);
}

AcGePoint3d SplineStart(AcDbSpline* s) {
  double t = 0;
  s->getStartParam(t);
  AcGePoint3d p;
  s->getPointAtParam(t, p);
  return p;
}
AcGePoint3d SplineEnd(AcDbSpline* s) {
  double t = 0;
  s->getEndParam(t);
  AcGePoint3d p;
  s->getPointAtParam(t, p);
  return p;
}
AcGePoint3d SplineAt(AcDbSpline* s, double fraction) {
  double a = 0, b = 0;
  s->getStartParam(a);
  s->getEndParam(b);
  AcGePoint3d p;
  s->getPointAtParam(a + fraction * (b - a), p);
  return p;
}

const gp_Ax2 kTilted(gp_Pnt(1, 2, 3), gp_Dir(0, 0, 1), gp_Dir(1, 0, 0));

TEST_F(ShapeEdges, BoxDrawsEachEdgeOfEachFaceAsALine) {
  EXPECT_EQ(Convert({BRepPrimAPI_MakeBox(10, 20, 30).Shape()}), 1);
  auto all = Entities();
  ASSERT_EQ(all.size(), 24u);
  for (AcDbEntity* e : all) {
    AcDbLine* line = AcDbLine::cast(e);
    ASSERT_NE(line, nullptr);
    const double length = line->startPoint().distanceTo(line->endPoint());
    EXPECT_TRUE(std::abs(length - 10) < 1e-9 || std::abs(length - 20) < 1e-9 || std::abs(length - 30) < 1e-9);
  }
}

TEST_F(ShapeEdges, FullCircleIsACircleAndHalfACircleASpline) {
  const gp_Circ circle(kTilted, 5.0);
  EXPECT_EQ(Convert({BRepBuilderAPI_MakeEdge(circle).Edge()}), 1);
  AcDbCircle* full = Only<AcDbCircle>();
  ASSERT_NE(full, nullptr);
  ExpectNear(full->center(), gp_Pnt(1, 2, 3));
  EXPECT_NEAR(full->radius(), 5.0, 1e-12);
  EXPECT_NEAR(full->normal().z, 1.0, 1e-12);

  arxhost::ResetWorkingDatabase();
  EXPECT_EQ(Convert({BRepBuilderAPI_MakeEdge(circle, 0.0, kPi).Edge()}), 1);
  AcDbSpline* half = Only<AcDbSpline>();
  ASSERT_NE(half, nullptr);
  EXPECT_TRUE(half->isRational());
  ExpectNear(SplineStart(half), gp_Pnt(6, 2, 3), 1e-9);
  ExpectNear(SplineEnd(half), gp_Pnt(-4, 2, 3), 1e-9);
  for (double f : {0.25, 0.5, 0.75}) {
    const AcGePoint3d p = SplineAt(half, f);
    EXPECT_NEAR(std::hypot(p.x - 1, p.y - 2), 5.0, 1e-9);
    EXPECT_GT(p.y, 2.0);  // the upper half, from the first end to the last
  }
}

TEST_F(ShapeEdges, AlmostClosedCircleIsWholeBelowTheGap) {
  const double radius = 10.0;
  struct Case {
    double gap;
    bool circle;
  } cases[] = {{0.5e-4, true}, {2e-4, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gap);
    arxhost::ResetWorkingDatabase();
    const double missing = 2 * std::asin(c.gap / (2 * radius));  // chord of the gap
    EXPECT_EQ(Convert({BRepBuilderAPI_MakeEdge(gp_Circ(kTilted, radius), 0.0, 2 * kPi - missing).Edge()}), 1);
    auto all = Entities();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(AcDbCircle::cast(all[0]) != nullptr, c.circle);
    EXPECT_EQ(AcDbSpline::cast(all[0]) != nullptr, !c.circle);
  }
}

TEST_F(ShapeEdges, FullEllipseRunsAllTheWayRound) {
  EXPECT_EQ(Convert({BRepBuilderAPI_MakeEdge(gp_Elips(kTilted, 8.0, 2.0)).Edge()}), 1);
  AcDbEllipse* ellipse = Only<AcDbEllipse>();
  ASSERT_NE(ellipse, nullptr);
  ExpectNear(ellipse->center(), gp_Pnt(1, 2, 3));
  EXPECT_NEAR(ellipse->majorAxis().x, 8.0, 1e-12);
  EXPECT_NEAR(ellipse->radiusRatio(), 0.25, 1e-12);
  EXPECT_EQ(ellipse->startAngle(), 0.0);
  EXPECT_NEAR(ellipse->endAngle(), 2 * kPi, 1e-12);

  arxhost::ResetWorkingDatabase();
  EXPECT_EQ(Convert({BRepBuilderAPI_MakeEdge(gp_Elips(kTilted, 8.0, 2.0), 0.0, kPi / 2).Edge()}), 1);
  AcDbSpline* quarter = Only<AcDbSpline>();
  ASSERT_NE(quarter, nullptr);
  ExpectNear(SplineStart(quarter), gp_Pnt(9, 2, 3), 1e-9);
  ExpectNear(SplineEnd(quarter), gp_Pnt(1, 4, 3), 1e-9);
}

TEST_F(ShapeEdges, LineRunsFromTheFirstParameterWhateverTheOrientation) {
  TopoDS_Edge edge = BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(3, 4, 0)).Edge();
  edge.Reverse();
  EXPECT_EQ(Convert({edge}), 1);
  AcDbLine* line = Only<AcDbLine>();
  ASSERT_NE(line, nullptr);
  ExpectNear(line->startPoint(), gp_Pnt(0, 0, 0));
  ExpectNear(line->endPoint(), gp_Pnt(3, 4, 0));
}

Handle(Geom_BSplineCurve) Cubic() {
  TColgp_Array1OfPnt poles(1, 5);
  poles(1) = gp_Pnt(0, 0, 0);
  poles(2) = gp_Pnt(1, 2, 0);
  poles(3) = gp_Pnt(2, -1, 1);
  poles(4) = gp_Pnt(3, 2, 0);
  poles(5) = gp_Pnt(4, 0, 0);
  TColStd_Array1OfReal knots(1, 3);
  knots(1) = 0.0;
  knots(2) = 0.5;
  knots(3) = 1.0;
  TColStd_Array1OfInteger mults(1, 3);
  mults(1) = 4;
  mults(2) = 1;
  mults(3) = 4;
  return new Geom_BSplineCurve(poles, knots, mults, 3);
}

// Splines span the part of their curve that the edge uses, and the shape's
// own curve is left as it was.
TEST_F(ShapeEdges, CurvedEdgesKeepToTheirPartOfTheCurve) {
  TColgp_Array1OfPnt bezierPoles(1, 4);
  bezierPoles(1) = gp_Pnt(0, 0, 0);
  bezierPoles(2) = gp_Pnt(1, 3, 0);
  bezierPoles(3) = gp_Pnt(3, 3, 1);
  bezierPoles(4) = gp_Pnt(4, 0, 0);
  struct Case {
    const char* label;
    Handle(Geom_Curve) curve;
    double first, last;
  };
  const Case cases[] = {
      {"b-spline", Cubic(), 0.2, 0.7},
      {"bezier", new Geom_BezierCurve(bezierPoles), 0.25, 0.8},
      {"hyperbola", new Geom_Hyperbola(kTilted, 4.0, 2.0), -1.0, 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    arxhost::ResetWorkingDatabase();
    const int poles = Handle(Geom_BSplineCurve)::DownCast(c.curve).IsNull()
                          ? 0
                          : Handle(Geom_BSplineCurve)::DownCast(c.curve)->NbPoles();
    EXPECT_EQ(Convert({BRepBuilderAPI_MakeEdge(c.curve, c.first, c.last).Edge()}), 1);
    AcDbSpline* spline = Only<AcDbSpline>();
    ASSERT_NE(spline, nullptr);
    ExpectNear(SplineStart(spline), c.curve->Value(c.first), 1e-7);
    ExpectNear(SplineEnd(spline), c.curve->Value(c.last), 1e-7);
    if (poles) EXPECT_EQ(Handle(Geom_BSplineCurve)::DownCast(c.curve)->NbPoles(), poles);
  }
}

TEST_F(ShapeEdges, WholeBSplineKeepsItsPolesKnotsAndWeights) {
  Handle(Geom_BSplineCurve) curve = Cubic();
  curve->SetWeight(3, 2.0);
  EXPECT_EQ(Convert({BRepBuilderAPI_MakeEdge(curve).Edge()}), 1);
  AcDbSpline* spline = Only<AcDbSpline>();
  ASSERT_NE(spline, nullptr);
  int degree = 0;
  bool rational = false, closed = true, periodic = true;
  AcGePoint3dArray points;
  AcGeDoubleArray knots, weights;
  double t1 = 0, t2 = 0;
  ASSERT_EQ(spline->getNurbsData(degree, rational, closed, periodic, points, knots, weights, t1, t2), Acad::eOk);
  EXPECT_EQ(degree, 3);
  EXPECT_TRUE(rational);
  EXPECT_FALSE(closed);
  ASSERT_EQ(points.length(), 5);
  ExpectNear(points[2], gp_Pnt(2, -1, 1));
  const std::vector<double> flat(knots.begin(), knots.end());
  EXPECT_EQ(flat, (std::vector<double>{0, 0, 0, 0, 0.5, 1, 1, 1, 1}));
  ASSERT_EQ(weights.length(), 5);
  EXPECT_EQ(weights[2], 2.0);
}

// A periodic curve goes in as the same closed curve in clamped form, which
// the drawing takes (the periodic knot layout it would not).
TEST_F(ShapeEdges, PeriodicBSplineBecomesTheSameClosedSpline) {
  TColgp_Array1OfPnt poles(1, 6);
  for (int i = 0; i < 6; ++i) poles(i + 1) = gp_Pnt(5 * std::cos(i * kPi / 3), 5 * std::sin(i * kPi / 3), i % 2);
  TColStd_Array1OfReal knots(1, 7);
  TColStd_Array1OfInteger mults(1, 7);
  for (int i = 1; i <= 7; ++i) {
    knots(i) = i - 1;
    mults(i) = 1;
  }
  Handle(Geom_BSplineCurve) curve = new Geom_BSplineCurve(poles, knots, mults, 3, Standard_True);
  ASSERT_TRUE(curve->IsPeriodic());
  EXPECT_EQ(Convert({BRepBuilderAPI_MakeEdge(curve).Edge()}), 1);
  AcDbSpline* spline = Only<AcDbSpline>();
  ASSERT_NE(spline, nullptr) << ShapeEdgeConverter::GetError().GetString();
  EXPECT_TRUE(spline->isClosed());
  EXPECT_TRUE(curve->IsPeriodic());  // the shape's curve is untouched
  for (double f : {0.0, 0.1, 0.37, 0.5, 0.9, 1.0})
    ExpectNear(SplineAt(spline, f), curve->Value(f * 6.0), 1e-9);
}

TEST_F(ShapeEdges, UnsupportedCurveDrawsNothingAndIsNotCounted) {
  Handle(Geom_OffsetCurve) offset = new Geom_OffsetCurve(Cubic(), 1.0, gp_Dir(0, 0, 1));
  ShapeEdgeConverter::SetError(L"");
  EXPECT_EQ(Convert({BRepBuilderAPI_MakeEdge(offset).Edge()}), 0);
  EXPECT_TRUE(Entities().empty());
  EXPECT_EQ(ShapeEdgeConverter::GetError(), L"Unable to add unsupported curve");

  // A wire whose every edge fails still counts as handled.
  const TopoDS_Wire wire = BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(offset).Edge()).Wire();
  EXPECT_EQ(Convert({wire}), 1);
  EXPECT_TRUE(Entities().empty());
}

TEST_F(ShapeEdges, CompoundsArePassedOverAndVerticesArePoints) {
  BRep_Builder builder;
  TopoDS_Compound compound;
  builder.MakeCompound(compound);
  builder.Add(compound, BRepPrimAPI_MakeBox(1, 1, 1).Shape());
  EXPECT_EQ(Convert({compound}), 0);
  EXPECT_TRUE(Entities().empty());

  EXPECT_EQ(Convert({compound, BRepBuilderAPI_MakeVertex(gp_Pnt(7, 8, 9)).Vertex(), TopoDS_Shape()}), 1);
  AcDbPoint* point = Only<AcDbPoint>();
  ASSERT_NE(point, nullptr);
  ExpectNear(point->position(), gp_Pnt(7, 8, 9));
}

TEST_F(ShapeEdges, EmptyInputAndNullCount) {
  EXPECT_EQ(Convert({}), 0);
  int count = -1;
  EXPECT_EQ(ShapeEdgeConverter::ConvertShapes(Handle(TopTools_HSequenceOfShape)(), &count), 1);
  EXPECT_EQ(count, 0);

  Handle(TopTools_HSequenceOfShape) one = new TopTools_HSequenceOfShape;
  one->Append(BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(1, 0, 0)).Edge());
  EXPECT_EQ(ShapeEdgeConverter::ConvertShapes(one, nullptr), 1);
  EXPECT_EQ(Entities().size(), 1u);
}

TEST_F(ShapeEdges, SingleMembersAnswerForTheirShape) {
  const TopoDS_Shape box = BRepPrimAPI_MakeBox(1, 2, 3).Shape();
  EXPECT_EQ(ShapeEdgeConverter::ConvertShape(box), 1);
  EXPECT_EQ(Entities().size(), 24u);
  ShapeEdgeConverter::SetError(L"");
  EXPECT_EQ(ShapeEdgeConverter::ConvertEdge(box), 0);  // not an edge
  EXPECT_EQ(ShapeEdgeConverter::GetError(), L"Unable to add curve");
  EXPECT_EQ(ShapeEdgeConverter::ConvertShape(TopoDS_Compound()), 0);
  EXPECT_EQ(Entities().size(), 24u);

  AcDbSpline spline;
  EXPECT_EQ(ShapeEdgeConverter::SetSplineData(Handle(Geom_BSplineCurve)(), &spline), 0);
  EXPECT_EQ(ShapeEdgeConverter::GetError(), L"Invalid spline");
}

}  // namespace
