// Reading POINT, LINE, CIRCLE, ARC, ELLIPSE, SPLINE, RAY and XLINE.
#include <cmath>

#include "arx/dbArc.h"
#include "arx/dbCircle.h"
#include "arx/dbEllipse.h"
#include "arx/dbLine.h"
#include "arx/dbPoint.h"
#include "arx/dbRay.h"
#include "arx/dbSpline.h"
#include "dxf/DxfInEntity.h"

namespace arxhost::dxf {
namespace {

constexpr double kTwoPi = 6.283185307179586;
// Interpolating fit points solves a dense system: beyond this many, the
// control points stand alone.
constexpr int kMaxFitPoints = 1000;

EntityPtr ReadPoint(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  EntityPtr e(new AcDbPoint(PointOf(r, 10)));
  auto& p = static_cast<AcDbPoint&>(*e);
  p.setThickness(r.real(39));
  Check(r, p.setNormal(Dir(ExtrusionOf(r))), "an invalid extrusion");
  p.setEcsRotation(r.real(50) * kRadians);
  return e;
}

EntityPtr ReadLine(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  EntityPtr e(new AcDbLine(PointOf(r, 10), PointOf(r, 11)));
  auto& l = static_cast<AcDbLine&>(*e);
  l.setThickness(r.real(39));
  Check(r, l.setNormal(Dir(ExtrusionOf(r))), "an invalid extrusion");
  return e;
}

EntityPtr ReadCircle(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  Ocs ocs(ExtrusionOf(r));
  double radius = r.real(40);
  if (!(radius > 0.0)) r.fail("has a radius that is not positive");
  EntityPtr e(new AcDbCircle(P(ocs.toWorld(V3(PointOf(r, 10)))), Dir(ocs.normal()), radius));
  static_cast<AcDbCircle&>(*e).setThickness(r.real(39));
  return e;
}

EntityPtr ReadArc(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  Ocs ocs(ExtrusionOf(r));
  double radius = r.real(40);
  if (!(radius > 0.0)) r.fail("has a radius that is not positive");
  EntityPtr e(new AcDbArc(P(ocs.toWorld(V3(PointOf(r, 10)))), Dir(ocs.normal()), radius, r.real(50) * kRadians,
                          r.real(51) * kRadians));
  static_cast<AcDbArc&>(*e).setThickness(r.real(39));
  return e;
}

EntityPtr ReadEllipse(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  auto* el = new AcDbEllipse;
  EntityPtr e(el);
  double ratio = r.real(40, 1.0);
  if (!(ratio > 0.0 && ratio <= 1.0)) r.fail("has an axis ratio outside (0, 1]");
  Check(r, el->set(PointOf(r, 10), Dir(ExtrusionOf(r)), VectorOf(r, 11), ratio), "invalid axes");
  // The file holds parameters; the entity takes angles.
  double start = r.real(41, 0.0), end = r.real(42, kTwoPi);
  bool full = std::fabs(std::fabs(end - start) - kTwoPi) < 1e-12 || start == end;
  if (!full) {
    Check(r, el->setStartAngle(el->angleAtParam(start)), "an invalid start parameter");
    Check(r, el->setEndAngle(el->angleAtParam(end)), "an invalid end parameter");
  }
  return e;
}

EntityPtr ReadSpline(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  long long flags = r.integer(70), degree = r.integer(71, 3);
  if (degree < 1 || degree > 25) r.fail("has a degree outside 1 to 25");
  AcGePoint3dArray control, fit;
  for (const auto& p : PointsOf(r, 10)) control.append(p);
  for (const auto& p : PointsOf(r, 11)) fit.append(p);
  AcGeDoubleArray knots, weights;
  for (const auto& g : r.groups) {
    if (g.code == 40) knots.append(g.real);
    if (g.code == 41) weights.append(g.real);
  }
  bool rational = (flags & 4) != 0;
  if (r.has(72) && r.integer(72) != knots.length()) r.fail("has another number of knots than it says");
  if (r.has(73) && r.integer(73) != control.length()) r.fail("has another number of control points than it says");
  if (r.has(74) && r.integer(74) != fit.length()) r.fail("has another number of fit points than it says");
  auto* s = new AcDbSpline;
  EntityPtr e(s);
  bool interpolate = fit.length() >= 2 && fit.length() <= kMaxFitPoints;
  if (interpolate) {
    Check(r, s->setFitData(fit, static_cast<int>(degree), r.real(44), VectorOf(r, 12), VectorOf(r, 13)),
          "fit points that give no curve");
  } else if (control.length() > 0) {
    if (rational && weights.length() != control.length()) r.fail("has another number of weights than control points");
    Check(r,
          s->setNurbsData(static_cast<int>(degree), rational, (flags & 1) != 0, (flags & 2) != 0, control, knots,
                          rational ? weights : AcGeDoubleArray(), r.real(43), r.real(42)),
          "control points and knots that make no curve");
  } else {
    r.fail("has neither control points nor fit points");
  }
  return e;
}

template <class Line>
EntityPtr ReadUnbounded(const DxfRecord& r) {
  auto* l = new Line;
  EntityPtr e(l);
  l->setBasePoint(PointOf(r, 10));
  Check(r, l->setUnitDir(VectorOf(r, 11)), "a zero direction");
  return e;
}
EntityPtr ReadRay(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) { return ReadUnbounded<AcDbRay>(r); }
EntityPtr ReadXline(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) { return ReadUnbounded<AcDbXline>(r); }

const EntityReaderRegistration kPoint("POINT", ReadPoint);
const EntityReaderRegistration kLine("LINE", ReadLine);
const EntityReaderRegistration kCircle("CIRCLE", ReadCircle);
const EntityReaderRegistration kArc("ARC", ReadArc);
const EntityReaderRegistration kEllipse("ELLIPSE", ReadEllipse);
const EntityReaderRegistration kSpline("SPLINE", ReadSpline);
const EntityReaderRegistration kRay("RAY", ReadRay);
const EntityReaderRegistration kXline("XLINE", ReadXline);

}  // namespace
}  // namespace arxhost::dxf
