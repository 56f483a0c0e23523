#include "arx/dbPoint.h"

ARXHOST_RX_DEFINE(AcDbPoint, AcDbEntity, L"POINT")

Acad::ErrorStatus AcDbPoint::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::subTransformBy(const AcGeMatrix3d& xform) {
  position_.transformBy(xform);
  AcGeVector3d n = xform * normal_;
  if (!n.isZeroLength()) normal_ = n.normal();
  return Acad::eOk;
}
