#include "arx/dbFace.h"

#include "arx/dbLine.h"

ARXHOST_RX_DEFINE(AcDbFace, AcDbEntity, L"3DFACE")

AcDbFace::AcDbFace(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3,
                   bool e0, bool e1, bool e2, bool e3)
    : p_{p0, p1, p2, p3}, visible_{e0, e1, e2, e3} {}

AcDbFace::AcDbFace(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2, bool e0, bool e1, bool e2,
                   bool e3)
    : p_{p0, p1, p2, p2}, visible_{e0, e1, e2, e3} {}

Acad::ErrorStatus AcDbFace::getVertexAt(Adesk::UInt16 i, AcGePoint3d& point) const {
  if (i > 3) return Acad::eInvalidIndex;
  point = p_[i];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::setVertexAt(Adesk::UInt16 i, const AcGePoint3d& point) {
  ARXHOST_CHECK_WRITE();
  if (i > 3) return Acad::eInvalidIndex;
  p_[i] = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::isEdgeVisibleAt(Adesk::UInt16 i, Adesk::Boolean& visible) const {
  if (i > 3) return Acad::eInvalidIndex;
  visible = visible_[i];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeVisibleAt(Adesk::UInt16 i) {
  ARXHOST_CHECK_WRITE();
  if (i > 3) return Acad::eInvalidIndex;
  visible_[i] = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeInvisibleAt(Adesk::UInt16 i) {
  ARXHOST_CHECK_WRITE();
  if (i > 3) return Acad::eInvalidIndex;
  visible_[i] = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::subTransformBy(const AcGeMatrix3d& xform) {
  for (AcGePoint3d& p : p_) p.transformBy(xform);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::subExplode(AcDbVoidPtrArray& entities) const {
  for (int i = 0; i < 4; ++i) {
    const AcGePoint3d& a = p_[i];
    const AcGePoint3d& b = p_[(i + 1) % 4];
    if (!visible_[i] || a.isEqualTo(b)) continue;
    auto* line = new AcDbLine(a, b);
    copyPropertiesTo(line);
    entities.append(line);
  }
  return Acad::eOk;
}
