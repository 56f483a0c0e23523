// POINT, LINE, CIRCLE, ARC, ELLIPSE, SPLINE, RAY, XLINE.
#include <cmath>
#include <numbers>

#include "arx/dbArc.h"
#include "arx/dbCircle.h"
#include "arx/dbEllipse.h"
#include "arx/dbLine.h"
#include "arx/dbPoint.h"
#include "arx/dbRay.h"
#include "arx/dbSpline.h"
#include "dxf/EntityGeometry.h"
#include "dxf/EntityWriter.h"

namespace arxhost::dxf {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegrees = 180.0 / kPi;

void WritePoint(EntityOut& e) {
  const auto& p = static_cast<const AcDbPoint&>(e.entity);
  e.head("POINT");
  e.out.text(100, "AcDbPoint");
  Point(e.out, 10, p.position());
  Thickness(e.out, p.thickness());
  Ocs ocs(V(p.normal()));
  Extrusion(e.out, ocs);
  if (p.ecsRotation() != 0.0) e.out.real(50, p.ecsRotation() * kDegrees);
}

void WriteLine(EntityOut& e) {
  const auto& l = static_cast<const AcDbLine&>(e.entity);
  e.head("LINE");
  e.out.text(100, "AcDbLine");
  Thickness(e.out, l.thickness());
  Point(e.out, 10, l.startPoint());
  Point(e.out, 11, l.endPoint());
  Extrusion(e.out, Ocs(V(l.normal())));
}

void WriteCircle(EntityOut& e) {
  const auto& c = static_cast<const AcDbCircle&>(e.entity);
  Ocs ocs(V(c.normal()));
  e.head("CIRCLE");
  e.out.text(100, "AcDbCircle");
  Thickness(e.out, c.thickness());
  Point(e.out, 10, ocs.fromWorld(V(c.center())));
  e.out.real(40, c.radius());
  Extrusion(e.out, ocs);
}

// Angles in degrees within [0, 360).
double Degrees(double radians) {
  double d = std::fmod(radians * kDegrees, 360.0);
  if (d < 0) d += 360.0;
  return d;
}

void WriteArc(EntityOut& e) {
  const auto& a = static_cast<const AcDbArc&>(e.entity);
  Ocs ocs(V(a.normal()));
  e.head("ARC");
  e.out.text(100, "AcDbCircle");
  Thickness(e.out, a.thickness());
  Point(e.out, 10, ocs.fromWorld(V(a.center())));
  e.out.real(40, a.radius());
  Extrusion(e.out, ocs);
  e.out.text(100, "AcDbArc");
  // The arc's angles are measured in its own plane from the OCS X axis,
  // which is the plane the DXF angles refer to.
  e.out.real(50, Degrees(a.startAngle()));
  e.out.real(51, Degrees(a.endAngle()));
}

void WriteEllipse(EntityOut& e) {
  const auto& el = static_cast<const AcDbEllipse&>(e.entity);
  if (el.isNull()) return;
  e.head("ELLIPSE");
  e.out.text(100, "AcDbEllipse");
  Point(e.out, 10, el.center());
  Point(e.out, 11, V(el.majorAxis()));
  Point(e.out, 210, V(el.normal()));
  e.out.real(40, el.radiusRatio());
  double start = el.startParam(), end = el.endParam();
  if (el.isClosed()) {
    start = 0.0;
    end = 2 * kPi;
  }
  e.out.real(41, start);
  e.out.real(42, end);
}

void WriteSpline(EntityOut& e) {
  const auto& s = static_cast<const AcDbSpline&>(e.entity);
  if (s.isNull()) return;
  int degree = 3;
  bool rational = false, closed = false, periodic = false;
  AcGePoint3dArray control;
  AcGeDoubleArray knots, weights;
  double controlTol = 0, knotTol = 0;
  if (s.getNurbsData(degree, rational, closed, periodic, control, knots, weights, controlTol, knotTol) != Acad::eOk)
    return;
  AcGePoint3dArray fit;
  int fitDegree = degree;
  double fitTol = 0;
  bool tangents = false;
  AcGeVector3d startTangent, endTangent;
  if (s.hasFitData()) s.getFitData(fit, fitDegree, fitTol, tangents, startTangent, endTangent);

  e.head("SPLINE");
  e.out.text(100, "AcDbSpline");
  // Planarity is not claimed: readers only use it to skip work.
  int flags = (closed ? 1 : 0) | (periodic ? 2 : 0) | (rational ? 4 : 0);
  e.out.integer(70, flags);
  e.out.integer(71, degree);
  e.out.integer(72, knots.length());
  e.out.integer(73, control.length());
  e.out.integer(74, fit.length());
  e.out.real(42, knotTol > 0 ? knotTol : 1e-10);
  e.out.real(43, controlTol > 0 ? controlTol : 1e-10);
  if (fit.length() > 0) e.out.real(44, fitTol > 0 ? fitTol : 1e-10);
  if (tangents && fit.length() > 0) {
    if (!startTangent.isZeroLength()) Point(e.out, 12, V(startTangent));
    if (!endTangent.isZeroLength()) Point(e.out, 13, V(endTangent));
  }
  for (int i = 0; i < knots.length(); ++i) e.out.real(40, knots[i]);
  if (rational)
    for (int i = 0; i < weights.length(); ++i) e.out.real(41, weights[i]);
  for (int i = 0; i < control.length(); ++i) Point(e.out, 10, control[i]);
  for (int i = 0; i < fit.length(); ++i) Point(e.out, 11, fit[i]);
}

template <class Line>
void WriteUnbounded(EntityOut& e, const char* type, const char* subclass) {
  const auto& l = static_cast<const Line&>(e.entity);
  e.head(type);
  e.out.text(100, subclass);
  Point(e.out, 10, l.basePoint());
  Point(e.out, 11, V(l.unitDir()));
}
void WriteRay(EntityOut& e) { WriteUnbounded<AcDbRay>(e, "RAY", "AcDbRay"); }
void WriteXline(EntityOut& e) { WriteUnbounded<AcDbXline>(e, "XLINE", "AcDbXline"); }

const EntityWriterRegistration kRay(L"AcDbRay", WriteRay);
const EntityWriterRegistration kXline(L"AcDbXline", WriteXline);
const EntityWriterRegistration kPoint(L"AcDbPoint", WritePoint);
const EntityWriterRegistration kLine(L"AcDbLine", WriteLine);
const EntityWriterRegistration kCircle(L"AcDbCircle", WriteCircle);
const EntityWriterRegistration kArc(L"AcDbArc", WriteArc);
const EntityWriterRegistration kEllipse(L"AcDbEllipse", WriteEllipse);
const EntityWriterRegistration kSpline(L"AcDbSpline", WriteSpline);

}  // namespace
}  // namespace arxhost::dxf
