#include "arx/dbCircle.h"

#include <cmath>
#include <numbers>

ARXHOST_RX_DEFINE(AcDbCircle, AcDbCurve, L"CIRCLE")

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : center_(center), radius_(radius) {
  if (!normal.isZeroLength()) normal_ = normal.normal();
}

Acad::ErrorStatus AcDbCircle::setRadius(double r) {
  ARXHOST_CHECK_WRITE();
  if (!(r > 0.0) || !std::isfinite(r)) return Acad::eInvalidInput;
  radius_ = r;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

double AcDbCircle::circumference() const { return kTwoPi * radius_; }

Acad::ErrorStatus AcDbCircle::getEndParam(double& p) const {
  p = kTwoPi;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getPointAtParam(double t, AcGePoint3d& point) const {
  if (!inRange(t)) return Acad::eInvalidInput;
  AcGeVector3d x = arxhost::ArbitraryXAxis(normal_), y = normal_.crossProduct(x);
  point = center_ + x * (radius_ * std::cos(t)) + y * (radius_ * std::sin(t));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getFirstDeriv(double t, AcGeVector3d& d) const {
  AcGeVector3d x = arxhost::ArbitraryXAxis(normal_), y = normal_.crossProduct(x);
  d = x * (-radius_ * std::sin(t)) + y * (radius_ * std::cos(t));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getDistAtParam(double t, double& dist) const {
  if (!inRange(t)) return Acad::eInvalidInput;
  dist = radius_ * t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getParamAtDist(double dist, double& t) const {
  if (radius_ <= 0.0 || dist < 0.0 || dist > circumference() * (1 + 1e-12)) return Acad::eInvalidInput;
  t = dist / radius_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::subTransformBy(const AcGeMatrix3d& xform) {
  if (!arxhost::IsUniformTransform(xform)) return Acad::eCannotScaleNonUniformly;
  center_.transformBy(xform);
  radius_ *= xform.scale();
  normal_ = (xform * normal_).normal();
  return Acad::eOk;
}
