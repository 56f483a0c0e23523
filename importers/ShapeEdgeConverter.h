#pragma once
// ShapeEdgeConverter: the edges of Open CASCADE shapes as drawing curves in
// model space (lines, circles, ellipses, splines) and single vertices as
// points.
#include <Geom_BSplineCurve.hxx>
#include <TopTools_HSequenceOfShape.hxx>
#include <TopoDS_Shape.hxx>

#include "AcadUtils.h"

class AcDbSpline;

class ShapeEdgeConverter : public AcadUtils {
 public:
  ShapeEdgeConverter() = default;
  ~ShapeEdgeConverter() = default;

  // Converts every top-level shape; count (may be null) receives the number
  // of shapes handled. Always returns 1.
  static int ConvertShapes(Handle_TopTools_HSequenceOfShape shapes, int* count);
  static int ConvertShape(const TopoDS_Shape& shape);

  // Every edge below the shape, one entity per edge met (shared edges are
  // met once per face). Always return 1.
  static int ConvertSolid(const TopoDS_Shape& shape);
  static int ConvertShell(const TopoDS_Shape& shape);
  static int ConvertFace(const TopoDS_Shape& shape);
  static int ConvertWire(const TopoDS_Shape& shape);

  static int ConvertEdge(const TopoDS_Shape& shape);
  static int ConvertVertex(const TopoDS_Shape& shape);

  // Fills a new, empty spline with the curve's data; 0 when the drawing
  // refuses it.
  static int SetSplineData(Handle_Geom_BSplineCurve curve, AcDbSpline* spline);

  static CString GetError();
  static void SetError(const CString& text);

 private:
  static int ConvertEdgesBelow(const TopoDS_Shape& shape);
  static CString m_error;
};
