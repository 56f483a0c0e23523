// GeometryConverter: rays, construction lines, light and 2D polylines of the
// drawing as openNURBS curves.
#include <cmath>

#include "GeometryConverter.h"
#include "GeometryConverterSubObjects.h"

int GeometryConverter::AcDbRayToCurve(AcDbRay* entity, ON_LineCurve& curve) {
  // A unit piece from the base point stands for the infinite ray.
  const ON_3dPoint base = AcGePointToPoint(entity->basePoint());
  const ON_3dVector dir = AcGeVectorToVector(entity->unitDir());
  curve = ON_LineCurve(base, base + dir);
  return 1;
}

int GeometryConverter::AcDbXlineToCurve(AcDbXline* entity, ON_LineCurve& curve) {
  const ON_3dPoint base = AcGePointToPoint(entity->basePoint());
  const ON_3dVector dir = AcGeVectorToVector(entity->unitDir());
  curve = ON_LineCurve(base + dir, base - dir);
  return 1;
}

// The closing point once more when the polyline is closed and has points.
static void CloseChain(bool closed, ON_3dPointArray& points) {
  if (closed && points.Count() > 0) points.Append(points[0]);
}

int GeometryConverter::AcDbPolylineToPolylineCurve(AcDbPolyline* entity, ON_PolylineCurve& curve) {
  ON_3dPointArray points;
  for (unsigned int i = 0; i < entity->numVerts(); i++) {
    // Bulges are not read: an arc segment comes out as its chord.
    AcGePoint3d point;
    entity->getPointAt(i, point);
    points.Append(AcGePointToPoint(point));
  }
  CloseChain(entity->isClosed(), points);
  curve = ON_PolylineCurve(points);
  return 1;
}

int GeometryConverter::AcDb2dPolylineToPolylineCurve(AcDb2dPolyline* entity, ON_PolylineCurve& curve) {
  ON_3dPointArray points;
  const double elevation = entity->elevation();
  VisitSubObjects<AcDb2dVertex>(entity->vertexIterator(), [&](AcDb2dVertex* vertex) {
    const AcGePoint3d p = vertex->position();
    points.Append(ON_3dPoint(p.x, p.y, elevation));
  });
  CloseChain(entity->isClosed(), points);
  curve = ON_PolylineCurve(points);
  return 1;
}

int GeometryConverter::AcDbPolylineToPolyCurve(AcDbPolyline* entity, ON_PolyCurve& curve) {
  for (unsigned int i = 0; i < entity->numVerts(); i++) {
    switch (entity->segType(i)) {
      case AcDbPolyline::kLine: {
        AcGeLineSeg3d seg;
        entity->getLineSegAt(i, seg);
        curve.Append(new ON_LineCurve(AcGePointToPoint(seg.startPoint()), AcGePointToPoint(seg.endPoint())));
        break;
      }
      case AcDbPolyline::kArc: {
        AcGeCircArc3d seg;
        entity->getArcSegAt(i, seg);
        ON_Plane plane(AcGePointToPoint(seg.center()), AcGeVectorToVector(seg.normal()));
        ON_Circle circle(plane, AcGePointToPoint(seg.center()), seg.radius());
        double u = 0.0, v = 0.0;
        circle.plane.ClosestPointTo(AcGePointToPoint(seg.startPoint()), &u, &v);
        const double start = atan2(v, u);
        circle.plane.ClosestPointTo(AcGePointToPoint(seg.endPoint()), &u, &v);
        double end = atan2(v, u);
        if (!(end > start)) end += 2.0 * ON_PI;
        curve.Append(new ON_ArcCurve(ON_Arc(circle, ON_Interval(start, end))));
        break;
      }
      default:
        // Coincident, point or empty segments draw nothing.
        break;
    }
  }
  return 1;
}
