// Value conversions, the colour of a model object, and the fillers of
// points, lines, arcs and circles.
#include <cmath>
#include <numbers>

#include "GeometryFixture.h"

namespace {

constexpr double kPi = std::numbers::pi;

class Values : public GeometryTest {};

TEST_F(Values, TransformationsCrossEntryByEntryWithTheProjectiveRow) {
  ON_Xform xform;
  AcGeMatrix3d matrix;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      xform.m_xform[i][j] = 1.5 + 4 * i + j;  // row 3 projective, nothing symmetric
      matrix.entry[i][j] = -2.25 - 4 * j - i;
    }
  const AcGeMatrix3d toMatrix = GeometryConverter::XformToMatrix(xform);
  const ON_Xform toXform = GeometryConverter::MatrixToXform(matrix);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      EXPECT_EQ(toMatrix(i, j), xform.m_xform[i][j]) << i << "," << j;
      EXPECT_EQ(toXform.m_xform[i][j], matrix.entry[i][j]) << i << "," << j;
    }

  const ON_3dPoint p(1e300, -0.1, 3.0);
  const ON_3dVector v(-4e-300, 5.0, 0.1);
  EXPECT_EQ(GeometryConverter::AcGePointToPoint(GeometryConverter::PointToAcGePoint(p)), p);
  EXPECT_EQ(GeometryConverter::AcGeVectorToVector(GeometryConverter::VectorToAcGeVector(v)), v);
  EXPECT_EQ(GeometryConverter::PointToAcGePoint(p).x, 1e300);
  EXPECT_EQ(GeometryConverter::VectorToAcGeVector(v).y, 5.0);
}

TEST_F(Values, ColourComesFromTheSourceOfTheAttributes) {
  struct Case {
    ON::object_color_source source;
    bool byColor;
  } cases[] = {
      {ON::color_from_layer, false},
      {ON::color_from_object, true},
      {ON::color_from_material, false},
      {ON::color_from_parent, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.source));
    ON_3dmObjectAttributes attributes;
    attributes.SetColorSource(c.source);
    attributes.m_color = ON_Color(0x5A336699u);  // bytes from the lowest: 0x99, 0x66, 0x33, then a top byte
    const AcCmColor color = GeometryConverter::AttributesToColor(attributes);
    if (c.byColor) {
      EXPECT_EQ(color.colorMethod(), AcCmEntityColor::kByColor);
      EXPECT_EQ(color.red(), 0x99);
      EXPECT_EQ(color.green(), 0x66);
      EXPECT_EQ(color.blue(), 0x33);
    } else if (c.source == ON::color_from_parent) {
      EXPECT_EQ(color, AcCmColor());
    } else {
      EXPECT_EQ(color.colorMethod(), AcCmEntityColor::kByLayer);
    }
  }
}

// An arc in the plane through the centre with the given normal, starting
// `start` radians from `axis` (the x axis the drawing gives that normal).
ON_Arc ArcFrom(const ON_3dVector& axis, const ON_3dVector& normal, double start, double sweep) {
  const ON_3dPoint center(2, -3, 5);
  ON_Plane plane(center, axis, ON_CrossProduct(normal, axis));
  plane.zaxis = normal;  // exactly as given, not as the plane recomputes it
  ON_Arc arc(ON_Circle(plane, 4.0), ON_Interval(start, start + sweep));
  return arc;
}

TEST_F(Values, ArcAnglesAreMeasuredFromTheDrawingsAxisForTheNormal) {
  const double s = 1.0 / 64.0;
  struct Case {
    const char* name;
    ON_3dVector normal, axis;
  } cases[] = {
      {"+z", {0, 0, 1}, {1, 0, 0}},
      {"-z", {0, 0, -1}, {-1, 0, 0}},
      {"+x", {1, 0, 0}, {0, 1, 0}},
      // |N.x| exactly 1/64 is no longer near the z axis: W is the world z.
      {"x exactly 1/64", {s, 0, std::sqrt(1 - s * s)}, {0, 1, 0}},
      // Just below 1/64 in both x and y: W is the world y.
      {"x and y just below 1/64", {s * 0.999, -s * 0.999, std::sqrt(1 - 2 * s * s * 0.998)},
       ON_CrossProduct(ON_3dVector(0, 1, 0), ON_3dVector(s * 0.999, -s * 0.999, std::sqrt(1 - 2 * s * s * 0.998)))
           .UnitVector()},
  };
  // The boundary case survives normalisation unchanged.
  ASSERT_EQ(GeometryConverter::VectorToAcGeVector(cases[3].normal).normal().x, s);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ON_Arc arc = ArcFrom(c.axis, c.normal, kPi / 3, kPi / 2);
    AcDbArc entity;
    EXPECT_EQ(GeometryConverter::ArcToAcDbArc(arc, &entity), 1);
    EXPECT_NEAR(entity.startAngle(), kPi / 3, 1e-9);
    EXPECT_NEAR(entity.endAngle(), kPi / 3 + kPi / 2, 1e-9);
    EXPECT_NEAR(entity.radius(), 4.0, 0);
    EXPECT_TRUE(Near(entity.center(), AcGePoint3d(2, -3, 5)));
    EXPECT_TRUE(Near(entity.normal(), GeometryConverter::VectorToAcGeVector(c.normal.UnitVector())));
    // The entity draws the same arc: its ends are those of the input.
    AcGePoint3d from, to;
    ASSERT_EQ(entity.getStartPoint(from), Acad::eOk);
    ASSERT_EQ(entity.getEndPoint(to), Acad::eOk);
    EXPECT_TRUE(Near(from, GeometryConverter::PointToAcGePoint(arc.StartPoint())));
    EXPECT_TRUE(Near(to, GeometryConverter::PointToAcGePoint(arc.EndPoint())));
  }
}

TEST_F(Values, EndAngleAboveAFullTurnKeepsTheSweep) {
  const ON_Arc arc = ArcFrom({1, 0, 0}, {0, 0, 1}, 7 * kPi / 4, kPi / 2);
  AcDbArc entity;
  GeometryConverter::ArcToAcDbArc(arc, &entity);
  EXPECT_NEAR(entity.startAngle(), 7 * kPi / 4, 1e-9);
  // 7 pi / 4 + pi / 2 goes in; the drawing keeps it as pi / 4, a quarter
  // turn past the start across angle 0.
  EXPECT_NEAR(entity.endAngle(), kPi / 4, 1e-9);
  EXPECT_NEAR(entity.totalAngle(), kPi / 2, 1e-9);
  AcGePoint3d to;
  entity.getEndPoint(to);
  EXPECT_TRUE(Near(to, GeometryConverter::PointToAcGePoint(arc.EndPoint())));
}

TEST_F(Values, NormalsOfAnyLengthGiveTheSameArcAndCircle) {
  ON_Arc unit = ArcFrom({0, 1, 0}, {1, 0, 0}, 0.5, 2.0);
  ON_Arc longer = unit;
  longer.plane.zaxis = ON_3dVector(2, 0, 0);
  AcDbArc a, b;
  GeometryConverter::ArcToAcDbArc(unit, &a);
  GeometryConverter::ArcToAcDbArc(longer, &b);
  EXPECT_TRUE(Near(a.normal(), b.normal()));
  EXPECT_NEAR(a.startAngle(), b.startAngle(), 1e-12);
  EXPECT_NEAR(a.endAngle(), b.endAngle(), 1e-12);

  ON_Circle circle(ON_Plane(ON_3dPoint(1, 2, 3), ON_3dVector(0, 0, 1)), 2.5);
  circle.plane.zaxis = ON_3dVector(0, 0, 2);
  AcDbCircle entity;
  EXPECT_EQ(GeometryConverter::CircleToAcDbCircle(circle, &entity), 1);
  EXPECT_TRUE(Near(entity.center(), AcGePoint3d(1, 2, 3)));
  EXPECT_EQ(entity.radius(), 2.5);
  EXPECT_TRUE(Near(entity.normal(), AcGeVector3d(0, 0, 1)));  // the drawing keeps its normals unit
}

TEST_F(Values, PointAndLineFillersCopyTheirValues) {
  AcDbPoint point;
  EXPECT_EQ(GeometryConverter::PointToAcDbPoint(ON_Point(1, -2, 3.5), &point), 1);
  EXPECT_EQ(point.position(), AcGePoint3d(1, -2, 3.5));
  AcDbLine line;
  EXPECT_EQ(GeometryConverter::LineToAcDbLine(ON_Line(ON_3dPoint(1, 2, 3), ON_3dPoint(-4, 5, -6)), &line), 1);
  EXPECT_EQ(line.startPoint(), AcGePoint3d(1, 2, 3));
  EXPECT_EQ(line.endPoint(), AcGePoint3d(-4, 5, -6));
}

}  // namespace
