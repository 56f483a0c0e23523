#include "arx/dbVertex.h"

#include <cstdlib>

ARXHOST_RX_DEFINE(AcDbVertex, AcDbEntity, L"VERTEX")
ARXHOST_RX_DEFINE(AcDbPositionVertex, AcDbVertex, L"VERTEX")
ARXHOST_RX_DEFINE(AcDb3dPolylineVertex, AcDbPositionVertex, L"VERTEX")
ARXHOST_RX_DEFINE(AcDbPolyFaceMeshVertex, AcDbPositionVertex, L"VERTEX")
ARXHOST_RX_DEFINE(AcDbPolygonMeshVertex, AcDbPositionVertex, L"VERTEX")
ARXHOST_RX_DEFINE(AcDb2dVertex, AcDbPositionVertex, L"VERTEX")
ARXHOST_RX_DEFINE(AcDbFaceRecord, AcDbVertex, L"VERTEX")

Acad::ErrorStatus AcDbFaceRecord::getVertexAt(Adesk::UInt16 i, Adesk::Int16& vertex) const {
  if (i > 3) return Acad::eInvalidIndex;
  vertex = v_[i];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::setVertexAt(Adesk::UInt16 i, Adesk::Int16 vertex) {
  ARXHOST_CHECK_WRITE();
  if (i > 3) return Acad::eInvalidIndex;
  v_[i] = vertex;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::isEdgeVisibleAt(Adesk::UInt16 i, Adesk::Boolean& visible) const {
  if (i > 3) return Acad::eInvalidIndex;
  visible = v_[i] >= 0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::makeEdgeVisibleAt(Adesk::UInt16 i) {
  ARXHOST_CHECK_WRITE();
  if (i > 3) return Acad::eInvalidIndex;
  if (v_[i] < 0) v_[i] = static_cast<Adesk::Int16>(-v_[i]);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::makeEdgeInvisibleAt(Adesk::UInt16 i) {
  ARXHOST_CHECK_WRITE();
  if (i > 3) return Acad::eInvalidIndex;
  if (v_[i] > 0) v_[i] = static_cast<Adesk::Int16>(-v_[i]);
  return Acad::eOk;
}

void AcDb2dVertex::placeInPlane(const AcGePoint2d& p, double bulge, double widthScale) {
  position_.set(p.x, p.y, 0.0);
  bulge_ = bulge;
  startWidth_ *= widthScale;
  endWidth_ *= widthScale;
}
