#include "arx/dbSolid.h"

ARXHOST_RX_DEFINE(AcDbSolid, AcDbEntity, L"SOLID")

Acad::ErrorStatus AcDbSolid::getPointAt(Adesk::UInt16 i, AcGePoint3d& point) const {
  if (i > 3) return Acad::eInvalidIndex;
  point = p_[i];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::setPointAt(Adesk::UInt16 i, const AcGePoint3d& point) {
  ARXHOST_CHECK_WRITE();
  if (i > 3) return Acad::eInvalidIndex;
  p_[i] = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::subTransformBy(const AcGeMatrix3d& xform) {
  for (AcGePoint3d& p : p_) p.transformBy(xform);
  AcGeVector3d n = xform * normal_;
  if (!n.isZeroLength()) normal_ = n.normal();
  return Acad::eOk;
}
