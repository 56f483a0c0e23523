// Dimensions and leaders: definition points, style look-up and overrides.
#include "arx/dbDimension.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "arx/dbDatabase.h"
#include "arx/dbDimStyleTable.h"
#include "arx/dbLeader.h"

ARXHOST_RX_DEFINE(AcDbDimension, AcDbEntity, L"DIMENSION")
ARXHOST_RX_DEFINE(AcDbRotatedDimension, AcDbDimension, L"DIMENSION")
ARXHOST_RX_DEFINE(AcDbRadialDimension, AcDbDimension, L"DIMENSION")
ARXHOST_RX_DEFINE(AcDb3PointAngularDimension, AcDbDimension, L"DIMENSION")
ARXHOST_RX_DEFINE(AcDbLeader, AcDbCurve, L"LEADER")

arxhost::DimVars arxhost::StyleVars(AcDbObjectId style, const AcDbDatabase* db) {
  if (auto* r = AcDbDimStyleTableRecord::cast(PeekObject(style))) return r->vars();
  if (db)
    if (auto* r = AcDbDimStyleTableRecord::cast(PeekObject(db->dimstyle()))) return r->vars();
  return DimVars();
}

namespace {
Acad::ErrorStatus CheckStyle(AcDbObjectId id) {
  if (id.isNull()) return Acad::eNullObjectId;
  if (AcDbObject* o = arxhost::PeekObject(id); !o || !AcDbDimStyleTableRecord::cast(o)) return Acad::eWrongObjectType;
  return Acad::eOk;
}
}  // namespace

// --- dimensions ---
AcDbDimension::AcDbDimension(const ACHAR* text, AcDbObjectId style) : style_(style), text_(text ? text : L"") {}

AcGePoint3d AcDbDimension::textPosition() const { return textPositionSet_ ? textPosition_ : defaultTextPosition(); }

Acad::ErrorStatus AcDbDimension::setTextPosition(const AcGePoint3d& p) {
  ARXHOST_CHECK_WRITE();
  textPosition_ = p;
  textPositionSet_ = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDimension::setDimensionStyle(AcDbObjectId id) {
  ARXHOST_CHECK_WRITE();
  if (Acad::ErrorStatus es = CheckStyle(id)) return es;
  style_ = id;
  return Acad::eOk;
}

ACHAR* AcDbDimension::dimensionText() const {
  auto* s = new ACHAR[static_cast<size_t>(text_.GetLength()) + 1];
  std::wcscpy(s, text_.GetString());
  return s;
}

Acad::ErrorStatus AcDbDimension::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

void AcDbDimension::moveCommon(const AcGeMatrix3d& xform) {
  if (textPositionSet_) textPosition_.transformBy(xform);
  AcGeVector3d n = xform * normal_;
  if (!n.isZeroLength()) normal_ = (xform.det() < 0.0 ? -n : n).normal();
}

void AcDbDimension::onAddedToDatabase(AcDbDatabase* db) {
  AcDbEntity::onAddedToDatabase(db);
  if (style_.isNull() || style_.database() != db) style_ = db->dimstyle();
}

// --- rotated ---
AcDbRotatedDimension::AcDbRotatedDimension(double rotation, const AcGePoint3d& x1, const AcGePoint3d& x2,
                                           const AcGePoint3d& dimLine, const ACHAR* text, AcDbObjectId style)
    : AcDbDimension(text, style), x1_(x1), x2_(x2), dimLine_(dimLine), rotation_(rotation) {}

AcGeVector3d AcDbRotatedDimension::direction() const {
  AcGeVector3d x = arxhost::ArbitraryXAxis(normal()), y = normal().crossProduct(x);
  return x * std::cos(rotation_) + y * std::sin(rotation_);
}

Acad::ErrorStatus AcDbRotatedDimension::measurement(double& value) const {
  value = std::fabs((x2_ - x1_).dotProduct(direction()));
  return Acad::eOk;
}

AcGePoint3d AcDbRotatedDimension::defaultTextPosition() const {
  // Half way along the dimension line, which passes through dimLinePoint.
  AcGeVector3d d = direction();
  double a = (x1_ - dimLine_).dotProduct(d), b = (x2_ - dimLine_).dotProduct(d);
  return dimLine_ + d * (0.5 * (a + b));
}

Acad::ErrorStatus AcDbRotatedDimension::subTransformBy(const AcGeMatrix3d& xform) {
  AcGeVector3d d = xform * direction();
  x1_.transformBy(xform);
  x2_.transformBy(xform);
  dimLine_.transformBy(xform);
  moveCommon(xform);
  if (!d.isZeroLength()) rotation_ = arxhost::ArbitraryXAxis(normal()).angleTo(d.normal(), normal());
  return Acad::eOk;
}

// --- radial ---
AcDbRadialDimension::AcDbRadialDimension(const AcGePoint3d& center, const AcGePoint3d& chord, double leaderLength,
                                         const ACHAR* text, AcDbObjectId style)
    : AcDbDimension(text, style), center_(center), chord_(chord), leader_(leaderLength) {}

Acad::ErrorStatus AcDbRadialDimension::measurement(double& value) const {
  value = center_.distanceTo(chord_);
  return Acad::eOk;
}

AcGePoint3d AcDbRadialDimension::defaultTextPosition() const {
  AcGeVector3d d = chord_ - center_;
  if (d.isZeroLength()) return chord_;
  return chord_ + d.normal() * leader_;
}

Acad::ErrorStatus AcDbRadialDimension::subTransformBy(const AcGeMatrix3d& xform) {
  double s = (xform * AcGeVector3d::kXAxis).length();
  center_.transformBy(xform);
  chord_.transformBy(xform);
  leader_ *= s;
  moveCommon(xform);
  return Acad::eOk;
}

// --- angular ---
AcDb3PointAngularDimension::AcDb3PointAngularDimension(const AcGePoint3d& center, const AcGePoint3d& x1,
                                                       const AcGePoint3d& x2, const AcGePoint3d& arc,
                                                       const ACHAR* text, AcDbObjectId style)
    : AcDbDimension(text, style), center_(center), x1_(x1), x2_(x2), arc_(arc) {}

Acad::ErrorStatus AcDb3PointAngularDimension::measurement(double& value) const {
  AcGeVector3d a = x1_ - center_, b = x2_ - center_;
  if (a.isZeroLength() || b.isZeroLength()) return Acad::eDegenerateGeometry;
  value = a.angleTo(b);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3PointAngularDimension::subTransformBy(const AcGeMatrix3d& xform) {
  center_.transformBy(xform);
  x1_.transformBy(xform);
  x2_.transformBy(xform);
  arc_.transformBy(xform);
  moveCommon(xform);
  return Acad::eOk;
}

// --- leaders ---
Adesk::Boolean AcDbLeader::appendVertex(const AcGePoint3d& p) {
  if (checkWrite() != Acad::eOk) return false;
  if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  vertices_.push_back(p);
  return true;
}

Adesk::Boolean AcDbLeader::setVertexAt(int i, const AcGePoint3d& p) {
  if (checkWrite() != Acad::eOk || i < 0 || i >= numVertices()) return false;
  vertices_[static_cast<size_t>(i)] = p;
  return true;
}

void AcDbLeader::removeLastVertex() {
  if (checkWrite() == Acad::eOk && !vertices_.empty()) vertices_.pop_back();
}

AcGePoint3d AcDbLeader::vertexAt(int i) const {
  return i >= 0 && i < numVertices() ? vertices_[static_cast<size_t>(i)] : AcGePoint3d();
}

Acad::ErrorStatus AcDbLeader::setDimensionStyle(AcDbObjectId id) {
  ARXHOST_CHECK_WRITE();
  if (Acad::ErrorStatus es = CheckStyle(id)) return es;
  style_ = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::getEndParam(double& p) const {
  p = vertices_.size() < 2 ? 0.0 : static_cast<double>(vertices_.size() - 1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::getPointAtParam(double t, AcGePoint3d& point) const {
  if (vertices_.empty()) return Acad::eDegenerateGeometry;
  if (!inRange(t)) return Acad::eInvalidInput;
  size_t n = vertices_.size();
  if (n == 1) {
    point = vertices_[0];
    return Acad::eOk;
  }
  size_t i = std::min(static_cast<size_t>(std::floor(std::max(t, 0.0))), n - 2);
  double f = t - static_cast<double>(i);
  point = vertices_[i] + (vertices_[i + 1] - vertices_[i]) * f;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::subTransformBy(const AcGeMatrix3d& xform) {
  for (AcGePoint3d& p : vertices_) p.transformBy(xform);
  AcGeVector3d n = xform * normal_;
  if (!n.isZeroLength()) normal_ = (xform.det() < 0.0 ? -n : n).normal();
  return Acad::eOk;
}

void AcDbLeader::onAddedToDatabase(AcDbDatabase* db) {
  AcDbCurve::onAddedToDatabase(db);
  if (style_.isNull() || style_.database() != db) style_ = db->dimstyle();
}
