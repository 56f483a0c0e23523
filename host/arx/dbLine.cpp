#include "arx/dbLine.h"

ARXHOST_RX_DEFINE(AcDbLine, AcDbCurve, L"LINE")

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getPointAtParam(double param, AcGePoint3d& point) const {
  if (!inRange(param)) return Acad::eInvalidInput;
  double len = start_.distanceTo(end_);
  point = len > 0.0 ? start_ + (end_ - start_) * (param / len) : start_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getFirstDeriv(double, AcGeVector3d& d) const {
  d = (end_ - start_).normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getDistAtParam(double param, double& dist) const {
  if (!inRange(param)) return Acad::eInvalidInput;
  dist = param;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getParamAtDist(double dist, double& param) const {
  if (dist < 0.0 || dist > start_.distanceTo(end_) * (1 + 1e-12)) return Acad::eInvalidInput;
  param = dist;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::subTransformBy(const AcGeMatrix3d& xform) {
  start_.transformBy(xform);
  end_.transformBy(xform);
  AcGeVector3d n = xform * normal_;
  if (!n.isZeroLength()) normal_ = n.normal();
  return Acad::eOk;
}
