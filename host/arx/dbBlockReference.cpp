#include "arx/dbBlockReference.h"

#include <cmath>

#include "arx/dbBlockTable.h"

ARXHOST_RX_DEFINE(AcDbBlockReference, AcDbEntity, L"INSERT")

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord)
    : block_(blockTableRecord) {
  xform_.setToTranslation(position.asVector());
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId id) {
  ARXHOST_CHECK_WRITE();
  if (id.isNull()) return Acad::eNullObjectId;
  if (AcDbObject* o = arxhost::PeekObject(id); o && !AcDbBlockTableRecord::cast(o)) return Acad::eWrongObjectType;
  block_ = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setBlockTransform(const AcGeMatrix3d& xform) {
  ARXHOST_CHECK_WRITE();
  if (!xform.isScaledOrtho()) return Acad::eInvalidInput;
  xform_ = xform;
  return Acad::eOk;
}

AcGePoint3d AcDbBlockReference::position() const {
  AcGeVector3d t = xform_.translation();
  return {t.x, t.y, t.z};
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& p) {
  ARXHOST_CHECK_WRITE();
  xform_.setTranslation(p.asVector());
  return Acad::eOk;
}

AcGeVector3d AcDbBlockReference::normal() const {
  AcGeVector3d z = xform_ * AcGeVector3d::kZAxis;
  // A mirrored reference keeps its normal and takes a negative x scale.
  if (xform_.det() < 0.0) z = -z;
  return z.normal();
}

AcGeScale3d AcDbBlockReference::scaleFactors() const {
  AcGeVector3d x = xform_ * AcGeVector3d::kXAxis, y = xform_ * AcGeVector3d::kYAxis,
               z = xform_ * AcGeVector3d::kZAxis;
  double sx = x.length(), sy = y.length(), sz = z.length();
  if (xform_.det() < 0.0) sx = -sx;
  return {sx, sy, sz};
}

double AcDbBlockReference::rotation() const {
  AcGeVector3d n = normal();
  AcGeVector3d x = xform_ * AcGeVector3d::kXAxis;
  if (xform_.det() < 0.0) x = -x;
  return arxhost::ArbitraryXAxis(n).angleTo(x.normal(), n);
}

Acad::ErrorStatus AcDbBlockReference::subTransformBy(const AcGeMatrix3d& xform) {
  AcGeMatrix3d m = xform * xform_;
  if (!m.isScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  xform_ = m;
  return Acad::eOk;
}
