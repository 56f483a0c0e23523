// GeometryConverter: points, lines, circles, arcs, polylines and NURBS
// curves as drawing entities; a NURBS curve becomes the simplest entity
// that draws it.
#include "GeometryConverter.h"
#include "VRNGeo90Ux64.h"

static const wchar_t* const kSplineRefused = L"Enable to create Spline";

int GeometryConverter::PolylineToVertices(const ON_Polyline& polyline, AcDb3dPolyline* entity) {
  ON_3dPointArray points(polyline);
  const bool closed = polyline.IsClosed(0.0);
  // The drawing closes a polyline by a flag, not by a repeated point.
  if (closed) points.Remove();
  for (int i = 0; i < points.Count(); i++) AcadUtils::Append3dPolylineVertex(entity, PointToAcGePoint(points[i]));
  if (closed) entity->makeClosed();
  return 1;
}

int GeometryConverter::NurbsCurveToSpline(const ON_NurbsCurve& curve, AcDbSpline* spline) {
  AcGePoint3dArray controlPoints;
  AcGeDoubleArray weights;
  for (int i = 0; i < curve.CVCount(); i++) {
    // A weight of 0 has no location; the drawing refuses such a weight anyway.
    ON_3dPoint point(0.0, 0.0, 0.0);
    curve.GetCV(i, point);
    controlPoints.append(PointToAcGePoint(point));
    weights.append(curve.Weight(i));
  }
  // openNURBS leaves out the two end knots of the conventional vector.
  AcGeDoubleArray knots;
  const int count = curve.KnotCount();
  if (count > 0) {
    knots.append(curve.Knot(0));
    for (int k = 0; k < count; k++) knots.append(curve.Knot(k));
    knots.append(curve.Knot(count - 1));
  }
  spline->setNurbsData(curve.Degree(), curve.IsRational() ? 1 : 0, curve.IsClosed() ? 1 : 0,
                       curve.IsPeriodic() ? 1 : 0, controlPoints, knots, weights, 0.0, 0.0);
  if (spline->isNull()) {
    SetError(kSplineRefused);
    return 0;
  }
  return 1;
}

int GeometryConverter::AddCurve(const ON_NurbsCurve& curve, const CString& layer, const AcCmColor& color) {
  ON_Line line;
  ON_Circle circle;
  ON_Arc arc;
  ON_Polyline polyline;
  if (VRNCurve::IsLine(&curve, line) == 1) return AddLine(line, layer, color);
  if (VRNCurve::IsCircle(&curve, circle) == 1) {
    AcDbCircle* entity = new AcDbCircle();
    CircleToAcDbCircle(circle, entity);
    AddAndClose(entity, layer, color);
    return 1;
  }
  if (VRNCurve::IsArc(&curve, arc) == 1) return AddArc(arc, layer, color);
  if (VRNCurve::IsPolyline(&curve, polyline) == 1) return AddPolyline(polyline, layer, color);

  AcDbSpline* spline = new AcDbSpline();
  if (NurbsCurveToSpline(curve, spline) == 0) {
    delete spline;
    return 0;
  }
  AddAndClose(spline, layer, color);
  return 1;
}

int GeometryConverter::AddCurves(const ON_ClassArray<ON_NurbsCurve>& curves, const CString& layer,
                                 const AcCmColor& color) {
  for (int i = 0; i < curves.Count(); i++) AddCurve(curves[i], layer, color);
  return 1;
}

int GeometryConverter::AddFitSpline(const ON_3dPointArray& points, const CString& layer, const AcCmColor& color) {
  AcGePoint3dArray fitPoints;
  for (int i = 0; i < points.Count(); i++) fitPoints.append(PointToAcGePoint(points[i]));
  AcDbSpline* spline = new AcDbSpline(fitPoints, 4, 0.0);
  if (spline->isNull()) {
    // Fewer than two distinct points make no curve; an empty spline would
    // only spoil the drawing.
    delete spline;
    SetError(kSplineRefused);
    return 0;
  }
  AddAndClose(spline, layer, color);
  return 1;
}

int GeometryConverter::AddPoint(const ON_3dPoint& point, const CString& layer, const AcCmColor& color) {
  AddAndClose(new AcDbPoint(PointToAcGePoint(point)), layer, color);
  return 1;
}

int GeometryConverter::AddPoints(const ON_3dPointArray& points, const CString& layer, const AcCmColor& color) {
  for (int i = 0; i < points.Count(); i++) AddPoint(points[i], layer, color);
  return 1;
}

int GeometryConverter::AddLine(const ON_Line& line, const CString& layer, const AcCmColor& color) {
  AddAndClose(new AcDbLine(PointToAcGePoint(line.from), PointToAcGePoint(line.to)), layer, color);
  return 1;
}

int GeometryConverter::AddLineBetween(const ON_3dPoint& from, const ON_3dPoint& to, const CString& layer,
                                      const AcCmColor& color) {
  return AddLine(ON_Line(from, to), layer, color);
}

int GeometryConverter::AddLines(const ON_SimpleArray<ON_Line>& lines, const CString& layer,
                                const AcCmColor& color) {
  for (int i = 0; i < lines.Count(); i++) AddLine(lines[i], layer, color);
  return 1;
}

int GeometryConverter::AddCircle(const ON_Circle& circle, const CString& layer, const AcCmColor& color) {
  AcDbCircle* entity = new AcDbCircle();
  CircleToAcDbCircle(circle, entity);
  AddAndClose(entity, layer, color);
  return 1;
}

int GeometryConverter::AddCircles(const ON_SimpleArray<ON_Circle>& circles, const CString& layer,
                                  const AcCmColor& color) {
  for (int i = 0; i < circles.Count(); i++) AddCircle(circles[i], layer, color);
  return 1;
}

int GeometryConverter::AddArc(const ON_Arc& arc, const CString& layer, const AcCmColor& color) {
  if (arc.IsCircle()) return AddCircle(arc, layer, color);
  AcDbArc* entity = new AcDbArc();
  ArcToAcDbArc(arc, entity);
  AddAndClose(entity, layer, color);
  return 1;
}

int GeometryConverter::AddArcs(const ON_SimpleArray<ON_Arc>& arcs, const CString& layer, const AcCmColor& color) {
  for (int i = 0; i < arcs.Count(); i++) AddArc(arcs[i], layer, color);
  return 1;
}

int GeometryConverter::AddPolyline(const ON_Polyline& polyline, const CString& layer, const AcCmColor& color) {
  AcDb3dPolyline* entity = new AcDb3dPolyline();
  PolylineToVertices(polyline, entity);
  AddAndClose(entity, layer, color);
  return 1;
}

int GeometryConverter::AddPolylines(const ON_ClassArray<ON_Polyline>& polylines, const CString& layer,
                                    const AcCmColor& color) {
  for (int i = 0; i < polylines.Count(); i++) AddPolyline(polylines[i], layer, color);
  return 1;
}
