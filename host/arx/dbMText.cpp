#include "arx/dbMText.h"

#include <cmath>
#include <cwchar>

#include "arx/dbDatabase.h"

ARXHOST_RX_DEFINE(AcDbMText, AcDbEntity, L"MTEXT")

ACHAR* AcDbMText::contents() const {
  auto* s = new ACHAR[static_cast<size_t>(contents_.GetLength()) + 1];
  std::wcscpy(s, contents_.GetString());
  return s;
}

Acad::ErrorStatus AcDbMText::setContents(const ACHAR* text) { ARXHOST_SET(contents_, text ? text : L""); }

Acad::ErrorStatus AcDbMText::setTextHeight(double h) {
  ARXHOST_CHECK_WRITE();
  if (!(h > 0.0) || !std::isfinite(h)) return Acad::eInvalidInput;
  height_ = h;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setAttachment(AttachmentPoint a) {
  ARXHOST_CHECK_WRITE();
  if (a < kTopLeft || a > kBottomRight) return Acad::eInvalidInput;
  attachment_ = a;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setWidth(double w) {
  ARXHOST_CHECK_WRITE();
  if (w < 0.0) return Acad::eNegativeValueNotAllowed;
  width_ = w;
  return Acad::eOk;
}

double AcDbMText::rotation() const {
  AcGeVector3d x = arxhost::ArbitraryXAxis(normal_);
  return x.angleTo(direction_, normal_);
}

Acad::ErrorStatus AcDbMText::setRotation(double angle) {
  ARXHOST_CHECK_WRITE();
  direction_ = arxhost::ArbitraryXAxis(normal_).rotateBy(angle, normal_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setDirection(const AcGeVector3d& d) {
  ARXHOST_CHECK_WRITE();
  if (d.isZeroLength()) return Acad::eInvalidInput;
  direction_ = d.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  double angle = rotation();
  normal_ = n.normal();
  direction_ = arxhost::ArbitraryXAxis(normal_).rotateBy(angle, normal_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setLineSpacingFactor(double f) {
  ARXHOST_CHECK_WRITE();
  if (f < 0.25 || f > 4.0) return Acad::eOutOfRange;
  spacing_ = f;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::subTransformBy(const AcGeMatrix3d& xform) {
  AcGeVector3d d = xform * direction_, n = xform * normal_;
  double s = d.length();
  if (s <= 0.0 || n.isZeroLength()) return Acad::eCannotScaleNonUniformly;
  location_.transformBy(xform);
  height_ *= s;
  width_ *= s;
  direction_ = d.normal();
  // Text keeps reading forward through a mirror.
  normal_ = xform.det() < 0.0 ? -n.normal() : n.normal();
  return Acad::eOk;
}

void AcDbMText::onAddedToDatabase(AcDbDatabase* db) {
  AcDbEntity::onAddedToDatabase(db);
  if (style_.isNull() || style_.database() != db) style_ = db->textstyle();
}
