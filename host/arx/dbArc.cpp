#include "arx/dbArc.h"

#include <cmath>
#include <numbers>

ARXHOST_RX_DEFINE(AcDbArc, AcDbCurve, L"ARC")

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// The angle of a point about the centre in the plane of the normal.
double AngleInPlane(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGePoint3d& p) {
  AcGeVector3d x = arxhost::ArbitraryXAxis(normal), y = normal.crossProduct(x);
  AcGeVector3d v = p - center;
  return arxhost::NormalizeAngle(std::atan2(v.dotProduct(y), v.dotProduct(x)));
}
}  // namespace

double arxhost::NormalizeAngle(double a) {
  if (!std::isfinite(a)) return 0.0;
  a = std::fmod(a, kTwoPi);
  if (a < 0.0) a += kTwoPi;
  if (a >= kTwoPi) a = 0.0;
  return a;
}

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : center_(center), radius_(radius), start_(arxhost::NormalizeAngle(startAngle)),
      end_(arxhost::NormalizeAngle(endAngle)) {}

AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
                 double endAngle)
    : AcDbArc(center, radius, startAngle, endAngle) {
  if (!normal.isZeroLength()) normal_ = normal.normal();
}

Acad::ErrorStatus AcDbArc::setRadius(double r) {
  ARXHOST_CHECK_WRITE();
  if (!(r > 0.0) || !std::isfinite(r)) return Acad::eInvalidInput;
  radius_ = r;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setStartAngle(double a) { ARXHOST_SET(start_, arxhost::NormalizeAngle(a)); }
Acad::ErrorStatus AcDbArc::setEndAngle(double a) { ARXHOST_SET(end_, arxhost::NormalizeAngle(a)); }

double AcDbArc::totalAngle() const {
  double sweep = end_ - start_;
  if (sweep <= 0.0) sweep += kTwoPi;
  return sweep;
}

Acad::ErrorStatus AcDbArc::getPointAtParam(double t, AcGePoint3d& point) const {
  if (!inRange(t)) return Acad::eInvalidInput;
  AcGeVector3d x = arxhost::ArbitraryXAxis(normal_), y = normal_.crossProduct(x);
  point = center_ + x * (radius_ * std::cos(t)) + y * (radius_ * std::sin(t));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getFirstDeriv(double t, AcGeVector3d& d) const {
  AcGeVector3d x = arxhost::ArbitraryXAxis(normal_), y = normal_.crossProduct(x);
  d = x * (-radius_ * std::sin(t)) + y * (radius_ * std::cos(t));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getDistAtParam(double t, double& dist) const {
  if (!inRange(t)) return Acad::eInvalidInput;
  dist = radius_ * (t - start_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getParamAtDist(double dist, double& t) const {
  if (radius_ <= 0.0 || dist < 0.0 || dist > length() * (1 + 1e-12)) return Acad::eInvalidInput;
  t = start_ + dist / radius_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::subTransformBy(const AcGeMatrix3d& xform) {
  if (!arxhost::IsUniformTransform(xform)) return Acad::eCannotScaleNonUniformly;
  AcGePoint3d p0, p1;
  getStartPoint(p0);
  getEndPoint(p1);
  double sweep = totalAngle();
  p0.transformBy(xform);
  p1.transformBy(xform);
  center_.transformBy(xform);
  radius_ *= xform.scale();
  normal_ = (xform * normal_).normal();
  // A mirror turns the sense of the arc: it then runs from the old end.
  bool mirrored = xform.det() < 0.0;
  start_ = AngleInPlane(center_, normal_, mirrored ? p1 : p0);
  end_ = sweep >= kTwoPi ? start_ : AngleInPlane(center_, normal_, mirrored ? p0 : p1);
  return Acad::eOk;
}
