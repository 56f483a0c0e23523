#include "arx/dbText.h"

#include <cmath>
#include <cwchar>

#include "arx/dbDatabase.h"
#include "arx/dbTextStyleTable.h"

ARXHOST_RX_DEFINE(AcDbText, AcDbEntity, L"TEXT")

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style, double height,
                   double rotation)
    : position_(position), text_(text ? text : L""), height_(height), rotation_(rotation), style_(style) {}

ACHAR* AcDbText::textString() const {
  auto* s = new ACHAR[static_cast<size_t>(text_.GetLength()) + 1];
  std::wcscpy(s, text_.GetString());
  return s;
}

Acad::ErrorStatus AcDbText::setHeight(double h) {
  ARXHOST_CHECK_WRITE();
  if (!(h > 0.0) || !std::isfinite(h)) return Acad::eInvalidInput;
  height_ = h;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setWidthFactor(double f) {
  ARXHOST_CHECK_WRITE();
  if (!(f > 0.0)) return Acad::eInvalidInput;
  widthFactor_ = f;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::subTransformBy(const AcGeMatrix3d& xform) {
  AcGeVector3d x = arxhost::ArbitraryXAxis(normal_), y = normal_.crossProduct(x);
  AcGeVector3d dir = x * std::cos(rotation_) + y * std::sin(rotation_);
  AcGeVector3d d = xform * dir, n = xform * normal_;
  double s = d.length();
  if (s <= 0.0 || n.isZeroLength()) return Acad::eCannotScaleNonUniformly;
  position_.transformBy(xform);
  alignment_.transformBy(xform);
  height_ *= s;
  // Text keeps reading forward through a mirror.
  normal_ = xform.det() < 0.0 ? -n.normal() : n.normal();
  AcGeVector3d nx = arxhost::ArbitraryXAxis(normal_);
  rotation_ = nx.angleTo(d.normal(), normal_);
  return Acad::eOk;
}

void AcDbText::onAddedToDatabase(AcDbDatabase* db) {
  AcDbEntity::onAddedToDatabase(db);
  if (style_.isNull() || style_.database() != db) style_ = db->textstyle();
  if (height_ <= 0.0) {
    auto* style = AcDbTextStyleTableRecord::cast(arxhost::PeekObject(style_));
    height_ = style && style->textSize() > 0.0 ? style->textSize() : 0.2;
  }
}
