#include "arx/dbEllipse.h"

#include <cmath>
#include <numbers>

#include "arx/dbArc.h"

ARXHOST_RX_DEFINE(AcDbEllipse, AcDbCurve, L"ELLIPSE")

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

AcDbEllipse::AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal, const AcGeVector3d& majorAxis,
                         double radiusRatio, double startAngle, double endAngle) {
  set(center, unitNormal, majorAxis, radiusRatio, startAngle, endAngle);
}

Acad::ErrorStatus AcDbEllipse::set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                                   const AcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                                   double endAngle) {
  ARXHOST_CHECK_WRITE();
  if (unitNormal.isZeroLength() || majorAxis.isZeroLength()) return Acad::eInvalidInput;
  if (!(radiusRatio > 0.0 && radiusRatio <= 1.0)) return Acad::eInvalidInput;
  AcGeVector3d n = unitNormal.normal();
  if (std::fabs(n.dotProduct(majorAxis.normal())) > 1e-9) return Acad::eInvalidInput;
  center_ = center;
  normal_ = n;
  major_ = majorAxis;
  ratio_ = radiusRatio;
  start_ = arxhost::NormalizeAngle(startAngle);
  // The end angle is kept above the start angle; a sweep of a whole turn
  // (or more) gives the closed ellipse.
  if (std::fabs(endAngle - startAngle) >= kTwoPi - 1e-12) {
    end_ = start_ + kTwoPi;
  } else {
    end_ = arxhost::NormalizeAngle(endAngle);
    if (end_ <= start_) end_ += kTwoPi;
  }
  return Acad::eOk;
}

AcGeVector3d AcDbEllipse::minorAxis() const { return normal_.crossProduct(major_) * ratio_; }

Acad::ErrorStatus AcDbEllipse::setRadiusRatio(double ratio) {
  ARXHOST_CHECK_WRITE();
  if (!(ratio > 0.0 && ratio <= 1.0)) return Acad::eInvalidInput;
  ratio_ = ratio;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::setStartAngle(double a) {
  return set(center_, normal_, major_, ratio_, a, end_);
}
Acad::ErrorStatus AcDbEllipse::setEndAngle(double a) { return set(center_, normal_, major_, ratio_, start_, a); }

bool AcDbEllipse::isClosed() const { return end_ - start_ >= kTwoPi - 1e-12; }

double AcDbEllipse::paramAtAngle(double angle) const {
  // The point at angle a lies at (cos a, sin a) * r; in the ellipse's
  // parameter that is atan2(sin a, ratio cos a), kept in step with a's turn.
  double turns = std::floor(angle / kTwoPi);
  double a = angle - turns * kTwoPi;
  double p = std::atan2(std::sin(a), ratio_ * std::cos(a));
  if (p < 0.0) p += kTwoPi;
  return p + turns * kTwoPi;
}

double AcDbEllipse::angleAtParam(double param) const {
  double turns = std::floor(param / kTwoPi);
  double p = param - turns * kTwoPi;
  double a = std::atan2(ratio_ * std::sin(p), std::cos(p));
  if (a < 0.0) a += kTwoPi;
  return a + turns * kTwoPi;
}

double AcDbEllipse::endParam() const {
  if (isClosed()) return startParam() + kTwoPi;
  double p = paramAtAngle(end_);
  if (p <= startParam()) p += kTwoPi;
  return p;
}

Acad::ErrorStatus AcDbEllipse::getPointAtParam(double t, AcGePoint3d& point) const {
  if (!inRange(t)) return Acad::eInvalidInput;
  point = center_ + major_ * std::cos(t) + minorAxis() * std::sin(t);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getFirstDeriv(double t, AcGeVector3d& d) const {
  d = major_ * -std::sin(t) + minorAxis() * std::cos(t);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::subTransformBy(const AcGeMatrix3d& xform) {
  if (!arxhost::IsUniformTransform(xform)) return Acad::eCannotScaleNonUniformly;
  AcGeVector3d minor = xform * minorAxis();
  center_.transformBy(xform);
  major_ = xform * major_;
  // The normal follows the axes so that the parameters keep their points,
  // also through a mirror.
  normal_ = major_.crossProduct(minor).normal();
  return Acad::eOk;
}
