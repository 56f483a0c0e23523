#include "arx/dbRay.h"

ARXHOST_RX_DEFINE(AcDbRay, AcDbCurve, L"RAY")
ARXHOST_RX_DEFINE(AcDbXline, AcDbCurve, L"XLINE")

namespace {
Acad::ErrorStatus MoveLine(AcGePoint3d& base, AcGeVector3d& dir, const AcGeMatrix3d& xform) {
  AcGeVector3d d = xform * dir;
  if (d.isZeroLength()) return Acad::eInvalidInput;
  base.transformBy(xform);
  dir = d.normal();
  return Acad::eOk;
}
}  // namespace

Acad::ErrorStatus AcDbRay::setUnitDir(const AcGeVector3d& d) {
  ARXHOST_CHECK_WRITE();
  if (d.isZeroLength()) return Acad::eInvalidInput;
  dir_ = d.normal();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::getPointAtParam(double t, AcGePoint3d& point) const {
  if (t < 0.0) return Acad::eInvalidInput;
  point = base_ + dir_ * t;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::getDistAtParam(double t, double& dist) const {
  if (t < 0.0) return Acad::eInvalidInput;
  dist = t;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::subTransformBy(const AcGeMatrix3d& xform) { return MoveLine(base_, dir_, xform); }

Acad::ErrorStatus AcDbXline::setUnitDir(const AcGeVector3d& d) {
  ARXHOST_CHECK_WRITE();
  if (d.isZeroLength()) return Acad::eInvalidInput;
  dir_ = d.normal();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbXline::getPointAtParam(double t, AcGePoint3d& point) const {
  point = base_ + dir_ * t;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbXline::getDistAtParam(double t, double& dist) const {
  dist = t + 1.0e100;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbXline::subTransformBy(const AcGeMatrix3d& xform) { return MoveLine(base_, dir_, xform); }
