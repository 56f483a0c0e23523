// ShapeEdgeConverter: Open CASCADE edges into drawing curves.
#include "ShapeEdgeConverter.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRep_Tool.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GC_MakeArcOfEllipse.hxx>
#include <GeomConvert.hxx>
#include <Geom_Curve.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Circ.hxx>
#include <gp_Elips.hxx>

#include <memory>

#include "arx/dbheaders.h"

CString ShapeEdgeConverter::m_error;

namespace {

// End points closer than this make a circle or an ellipse whole.
const double kClosedGap = 1e-4;
const double kFullTurn = 6.283185307179586;

AcGePoint3d ToPoint(const gp_Pnt& p) { return AcGePoint3d(p.X(), p.Y(), p.Z()); }
AcGeVector3d ToVector(const gp_Dir& d) { return AcGeVector3d(d.X(), d.Y(), d.Z()); }

// Appends to model space and closes. An entity the database did not take
// belongs to nobody, so it is deleted rather than leaked.
void AppendAndClose(AcDbEntity* entity) {
  AcadUtils::AppendEntity(entity, NULL);
  if (entity->objectId().isNull())
    delete entity;
  else
    entity->close();
}

bool IsSubRange(const Handle(Geom_BSplineCurve)& curve, double first, double last) {
  const double tolerance = Precision::PConfusion();
  return first > curve->FirstParameter() + tolerance || last < curve->LastParameter() - tolerance;
}

// The part of the curve the edge uses, as a B-spline of its own: the
// shape's curve is never modified.
Handle(Geom_BSplineCurve) EdgePart(const Handle(Geom_BSplineCurve)& curve, double first, double last) {
  if (!IsSubRange(curve, first, last)) return curve;
  Handle(Geom_BSplineCurve) part = Handle(Geom_BSplineCurve)::DownCast(curve->Copy());
  part->Segment(first, last);
  return part;
}

// Any bounded piece of a curve as a B-spline.
Handle(Geom_BSplineCurve) ToBSpline(const Handle(Geom_Curve)& curve, double first, double last) {
  Handle(Geom_TrimmedCurve) piece = new Geom_TrimmedCurve(curve, first, last);
  return GeomConvert::CurveToBSplineCurve(piece, Convert_TgtThetaOver2);
}

}  // namespace

CString ShapeEdgeConverter::GetError() { return m_error; }

void ShapeEdgeConverter::SetError(const CString& text) { m_error = text; }

int ShapeEdgeConverter::ConvertShapes(Handle_TopTools_HSequenceOfShape shapes, int* count) {
  int handled = 0;
  if (!shapes.IsNull()) {
    for (int i = 1; i <= shapes->Length(); ++i) {
      const TopoDS_Shape& shape = shapes->Value(i);
      if (shape.IsNull()) continue;
      switch (shape.ShapeType()) {
        case TopAbs_VERTEX:
        case TopAbs_EDGE:
        case TopAbs_WIRE:
        case TopAbs_FACE:
        case TopAbs_SHELL:
        case TopAbs_SOLID:
          if (ConvertShape(shape) == 1) ++handled;
          break;
        default:  // compounds and compound solids are passed over
          break;
      }
    }
  }
  if (count) *count = handled;
  return 1;
}

int ShapeEdgeConverter::ConvertShape(const TopoDS_Shape& shape) {
  if (shape.IsNull()) return 0;
  switch (shape.ShapeType()) {
    case TopAbs_VERTEX: return ConvertVertex(shape);
    case TopAbs_EDGE: return ConvertEdge(shape);
    case TopAbs_WIRE: return ConvertWire(shape);
    case TopAbs_FACE: return ConvertFace(shape);
    case TopAbs_SHELL: return ConvertShell(shape);
    case TopAbs_SOLID: return ConvertSolid(shape);
    default: return 0;
  }
}

int ShapeEdgeConverter::ConvertSolid(const TopoDS_Shape& shape) { return ConvertEdgesBelow(shape); }
int ShapeEdgeConverter::ConvertShell(const TopoDS_Shape& shape) { return ConvertEdgesBelow(shape); }
int ShapeEdgeConverter::ConvertFace(const TopoDS_Shape& shape) { return ConvertEdgesBelow(shape); }
int ShapeEdgeConverter::ConvertWire(const TopoDS_Shape& shape) { return ConvertEdgesBelow(shape); }

int ShapeEdgeConverter::ConvertEdgesBelow(const TopoDS_Shape& shape) {
  TopExp_Explorer explorer;
  for (explorer.Init(shape, TopAbs_EDGE, TopAbs_SHAPE); explorer.More(); explorer.Next())
    ConvertEdge(explorer.Current());
  return 1;
}

int ShapeEdgeConverter::ConvertEdge(const TopoDS_Shape& shape) {
  try {
    const TopoDS_Edge& edge = TopoDS::Edge(shape);
    BRepAdaptor_Curve adaptor(edge);
    const GeomAbs_CurveType type = adaptor.GetType();
    switch (type) {
      case GeomAbs_Line:
      case GeomAbs_Circle:
      case GeomAbs_Ellipse:
      case GeomAbs_Hyperbola:
      case GeomAbs_Parabola:
      case GeomAbs_BezierCurve:
      case GeomAbs_BSplineCurve:
        break;
      default:
        SetError(L"Unable to add unsupported curve");
        return 0;
    }

    double first = 0.0, last = 0.0;
    const Handle(Geom_Curve) curve = BRep_Tool::Curve(edge, first, last);
    if (curve.IsNull()) {  // a degenerated edge, or one known only on its faces
      SetError(L"Unable to add curve");
      return 0;
    }
    const gp_Pnt p1 = curve->Value(first);
    const gp_Pnt p2 = curve->Value(last);
    const bool closed = p1.Distance(p2) < kClosedGap;

    Handle(Geom_BSplineCurve) bspline;
    switch (type) {
      case GeomAbs_Line:
        AppendAndClose(new AcDbLine(ToPoint(p1), ToPoint(p2)));
        return 1;
      case GeomAbs_Circle: {
        const gp_Circ circle = adaptor.Circle();
        if (closed) {
          AppendAndClose(new AcDbCircle(ToPoint(circle.Location()), ToVector(circle.Axis().Direction()),
                                        circle.Radius()));
          return 1;
        }
        Handle(Geom_TrimmedCurve) arc = GC_MakeArcOfCircle(circle, p1, p2, Standard_True).Value();
        bspline = GeomConvert::CurveToBSplineCurve(arc, Convert_TgtThetaOver2);
        break;
      }
      case GeomAbs_Ellipse: {
        const gp_Elips ellipse = adaptor.Ellipse();
        if (closed) {
          const gp_Dir& x = ellipse.Position().XDirection();
          const double major = ellipse.MajorRadius();
          AppendAndClose(new AcDbEllipse(ToPoint(ellipse.Location()), ToVector(ellipse.Axis().Direction()),
                                         AcGeVector3d(x.X() * major, x.Y() * major, x.Z() * major),
                                         ellipse.MinorRadius() / major, 0.0, kFullTurn));
          return 1;
        }
        Handle(Geom_TrimmedCurve) arc = GC_MakeArcOfEllipse(ellipse, p1, p2, Standard_True).Value();
        bspline = GeomConvert::CurveToBSplineCurve(arc, Convert_TgtThetaOver2);
        break;
      }
      case GeomAbs_Hyperbola:
      case GeomAbs_Parabola:
      case GeomAbs_BezierCurve:
        // Hyperbolas and parabolas are unbounded: only the edge's piece can
        // become a B-spline.
        bspline = ToBSpline(curve, first, last);
        break;
      default: {  // GeomAbs_BSplineCurve
        Handle(Geom_BSplineCurve) own = Handle(Geom_BSplineCurve)::DownCast(curve);
        bspline = own.IsNull() ? ToBSpline(curve, first, last) : EdgePart(own, first, last);
        break;
      }
    }

    std::unique_ptr<AcDbSpline> spline(new AcDbSpline);
    if (SetSplineData(bspline, spline.get()) != 1) return 0;
    AppendAndClose(spline.release());
    return 1;
  } catch (const Standard_Failure&) {
    SetError(L"Unable to add curve");
    return 0;
  }
}

int ShapeEdgeConverter::ConvertVertex(const TopoDS_Shape& shape) {
  const gp_Pnt point = BRep_Tool::Pnt(TopoDS::Vertex(shape));
  AppendAndClose(new AcDbPoint(ToPoint(point)));
  return 1;
}

int ShapeEdgeConverter::SetSplineData(Handle_Geom_BSplineCurve curve, AcDbSpline* spline) {
  if (curve.IsNull() || spline == NULL) {
    SetError(L"Invalid spline");
    return 0;
  }
  // The drawing's splines take clamped knot vectors: a periodic curve goes
  // in as the same curve in non-periodic form.
  if (curve->IsPeriodic()) {
    curve = Handle(Geom_BSplineCurve)::DownCast(curve->Copy());
    curve->SetNotPeriodic();
  }

  AcGePoint3dArray controlPoints;
  AcGeDoubleArray knots;
  AcGeDoubleArray weights;
  for (int i = 1; i <= curve->NbPoles(); ++i) {
    const gp_Pnt pole = curve->Pole(i);
    controlPoints.append(AcGePoint3d(pole.X(), pole.Y(), pole.Z()));
    weights.append(curve->Weight(i));
  }
  for (int i = 1; i <= curve->NbKnots(); ++i)
    for (int m = 0; m < curve->Multiplicity(i); ++m) knots.append(curve->Knot(i));

  spline->setNurbsData(curve->Degree(), curve->IsRational() ? 1 : 0, curve->IsClosed() ? 1 : 0, 0, controlPoints,
                       knots, weights, 0.0, 0.0);
  if (spline->isNull()) {
    SetError(L"Invalid spline");
    return 0;
  }
  return 1;
}
