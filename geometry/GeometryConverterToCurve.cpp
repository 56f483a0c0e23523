// GeometryConverter: points, lines, circles, arcs, ellipses, splines and 3D
// polylines of the drawing as openNURBS objects.
#include <cmath>

#include "GeometryConverter.h"
#include "GeometryConverterSubObjects.h"

static const double kTwoPi = 2.0 * ON_PI;

// The circle in the plane that openNURBS makes from the centre and normal.
static ON_Circle PlaneCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius) {
  ON_Plane plane(GeometryConverter::AcGePointToPoint(center), GeometryConverter::AcGeVectorToVector(normal));
  return ON_Circle(plane, GeometryConverter::AcGePointToPoint(center), radius);
}

// The angle of a point about the circle's centre in its plane.
static double AngleInPlane(const ON_Circle& circle, const AcGePoint3d& point) {
  double u = 0.0, v = 0.0;
  circle.plane.ClosestPointTo(GeometryConverter::AcGePointToPoint(point), &u, &v);
  return atan2(v, u);
}

// The arc of the circle from one point to the other, counter-clockwise
// about its normal.
static ON_Arc ArcBetween(const ON_Circle& circle, const AcGePoint3d& from, const AcGePoint3d& to) {
  const double start = AngleInPlane(circle, from);
  double end = AngleInPlane(circle, to);
  if (!(end > start)) end += kTwoPi;
  return ON_Arc(circle, ON_Interval(start, end));
}

int GeometryConverter::AcDbPointToPoint(AcDbPoint* entity, ON_Point& point) {
  point = ON_Point(AcGePointToPoint(entity->position()));
  return 1;
}

int GeometryConverter::AcDbLineToCurve(AcDbLine* entity, ON_LineCurve& curve) {
  curve = ON_LineCurve(AcGePointToPoint(entity->startPoint()), AcGePointToPoint(entity->endPoint()));
  return 1;
}

int GeometryConverter::AcDbCircleToCurve(AcDbCircle* entity, ON_ArcCurve& curve) {
  curve = ON_ArcCurve(PlaneCircle(entity->center(), entity->normal(), entity->radius()));
  return 1;
}

int GeometryConverter::AcDbArcToCurve(AcDbArc* entity, ON_ArcCurve& curve) {
  const ON_Circle circle = PlaneCircle(entity->center(), entity->normal(), entity->radius());
  AcGePoint3d from, to;
  entity->getStartPoint(from);
  entity->getEndPoint(to);
  curve = ON_ArcCurve(ArcBetween(circle, from, to));
  return 1;
}

// The parameter of the whole ellipse's NURBS form at the point of the
// ellipse's own parameter t (0 to 2 pi): the rational form meets the
// ellipse's parameter only at the quarter points, so the span's parameter is
// searched for the point's angle, which grows steadily along the span.
static double NurbsParameterAt(const ON_NurbsCurve& nurbs, const ON_Ellipse& ellipse, double t) {
  const double quarter = ON_PI / 2.0;
  double k = floor(t / quarter);
  if (k > 3.0) k = 3.0;
  if (k < 0.0) k = 0.0;
  double lo = k * quarter, hi = lo + quarter;
  const double target = t - lo;
  for (int i = 0; i < 80 && hi - lo > 1e-15; i++) {
    const double mid = 0.5 * (lo + hi);
    double u = 0.0, v = 0.0;
    ellipse.plane.ClosestPointTo(nurbs.PointAt(mid), &u, &v);
    double angle = atan2(v / ellipse.radius[1], u / ellipse.radius[0]) - k * quarter;
    while (angle < -ON_PI) angle += kTwoPi;
    while (angle > ON_PI) angle -= kTwoPi;
    if (angle < target)
      lo = mid;
    else
      hi = mid;
  }
  return 0.5 * (lo + hi);
}

// The part of the whole ellipse's NURBS form between the ellipse's
// parameters t0 and t1 (t0 within 0 to 2 pi, t1 above it by at most a
// turn), with the domain t0 to t1.
static void CutEllipse(ON_NurbsCurve& curve, const ON_Ellipse& ellipse, double t0, double t1) {
  const ON_NurbsCurve whole = curve;
  ON_NurbsCurve first = whole;
  const double s0 = NurbsParameterAt(whole, ellipse, t0);
  if (t1 <= kTwoPi) {
    first.Trim(ON_Interval(s0, NurbsParameterAt(whole, ellipse, t1)));
  } else {
    // Across angle 0: from t0 to the end of the turn, then on from 0.
    first.Trim(ON_Interval(s0, kTwoPi));
    ON_NurbsCurve second = whole;
    second.Trim(ON_Interval(0.0, NurbsParameterAt(whole, ellipse, t1 - kTwoPi)));
    first.Append(second);
  }
  first.SetDomain(t0, t1);
  curve = first;
}

int GeometryConverter::AcDbEllipseToCurve(AcDbEllipse* entity, ON_NurbsCurve& curve) {
  const AcGeVector3d major = entity->majorAxis(), minor = entity->minorAxis();
  ON_Plane plane(AcGePointToPoint(entity->center()), AcGeVectorToVector(major), AcGeVectorToVector(minor));
  ON_Ellipse ellipse(plane, major.length(), minor.length());
  ellipse.GetNurbForm(curve);
  if (entity->isClosed()) return 1;
  const double t0 = entity->paramAtAngle(entity->startAngle());
  const double t1 = entity->paramAtAngle(entity->endAngle());
  // An elliptical arc is the part of the ellipse between its ends, not the
  // whole ellipse under another domain.
  if (curve.IsValid() && t1 > t0 && t1 - t0 < kTwoPi) CutEllipse(curve, ellipse, t0, t1);
  return 1;
}

int GeometryConverter::SplineToNurbsCurve(AcDbSpline* entity, ON_NurbsCurve& curve) {
  int degree = 0;
  bool rational = false, closed = false, periodic = false;
  AcGePoint3dArray controlPoints;
  AcGeDoubleArray knots, weights;
  double controlPointTolerance = 0.0, knotTolerance = 0.0;
  entity->getNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights, controlPointTolerance,
                       knotTolerance);
  ON_SimpleArray<ON_3dPoint> points;
  for (int i = 0; i < controlPoints.length(); i++) points.Append(AcGePointToPoint(controlPoints[i]));
  curve.CreateClampedUniformNurbs(3, degree + 1, points.Count(), points.Array(), 1.0);
  // openNURBS holds neither end knot of the drawing's vector.
  for (int j = 1; j < knots.length() - 1; j++) curve.SetKnot(j - 1, knots[j]);
  return 1;
}

int GeometryConverter::AcDb3dPolylineToPolylineCurve(AcDb3dPolyline* entity, ON_PolylineCurve& curve) {
  ON_3dPointArray points;
  VisitSubObjects<AcDb3dPolylineVertex>(entity->vertexIterator(), [&points](AcDb3dPolylineVertex* vertex) {
    points.Append(AcGePointToPoint(vertex->position()));
  });
  if (entity->isClosed() && points.Count() > 0) points.Append(points[0]);
  curve = ON_PolylineCurve(points);
  return 1;
}

ON_3dPointArray GeometryConverter::AcGePointsToPoints(const AcGePoint3dArray& points) {
  ON_3dPointArray out;
  for (int i = 0; i < points.length(); i++) out.Append(AcGePointToPoint(points[i]));
  return out;
}

int GeometryConverter::NoOp() { return 1; }
