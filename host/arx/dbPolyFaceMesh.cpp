#include "arx/dbPolyFaceMesh.h"

#include <cstdlib>

#include "arx/db3dPolyline.h"

ARXHOST_RX_DEFINE(AcDbPolyFaceMesh, AcDbEntity, L"POLYLINE")

Acad::ErrorStatus AcDbPolyFaceMesh::appendVertex(AcDbPolyFaceMeshVertex* vertex) {
  AcDbObjectId id;
  return appendVertex(id, vertex);
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendVertex(AcDbObjectId& id, AcDbPolyFaceMeshVertex* vertex) {
  ARXHOST_CHECK_WRITE();
  if (faceCount_ > 0) return Acad::eVertexAfterFace;
  if (vertexCount_ >= 32767) return Acad::eTooManyVertices;
  Acad::ErrorStatus es = appendOwned(children_, vertex, id);
  if (es == Acad::eOk) ++vertexCount_;
  return es;
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendFaceRecord(AcDbFaceRecord* face) {
  AcDbObjectId id;
  return appendFaceRecord(id, face);
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendFaceRecord(AcDbObjectId& id, AcDbFaceRecord* face) {
  ARXHOST_CHECK_WRITE();
  if (!face) return Acad::eNullObjectPointer;
  int live = numVertices();
  for (Adesk::UInt16 i = 0; i < 4; ++i) {
    Adesk::Int16 v = 0;
    face->getVertexAt(i, v);
    if (std::abs(static_cast<int>(v)) > live || (i == 0 && v == 0)) return Acad::eInvalidFaceVertexIndex;
  }
  Acad::ErrorStatus es = appendOwned(children_, face, id);
  if (es == Acad::eOk) ++faceCount_;
  return es;
}

Adesk::Int16 AcDbPolyFaceMesh::numVertices() const {
  int n = 0;
  for (size_t i = 0; i < children_.size(); ++i)
    if (auto* v = AcDbPolyFaceMeshVertex::cast(children_.objectAt(i)); v && !v->isErased()) ++n;
  return static_cast<Adesk::Int16>(n);
}

Adesk::Int16 AcDbPolyFaceMesh::numFaces() const {
  int n = 0;
  for (size_t i = 0; i < children_.size(); ++i)
    if (auto* f = AcDbFaceRecord::cast(children_.objectAt(i)); f && !f->isErased()) ++n;
  return static_cast<Adesk::Int16>(n);
}

std::vector<AcGePoint3d> AcDbPolyFaceMesh::vertexPositions() const {
  std::vector<AcGePoint3d> pts;
  for (size_t i = 0; i < children_.size(); ++i)
    if (auto* v = AcDbPolyFaceMeshVertex::cast(children_.objectAt(i)); v && !v->isErased())
      pts.push_back(v->position());
  return pts;
}

std::vector<std::array<Adesk::Int16, 4>> AcDbPolyFaceMesh::faceRecords() const {
  std::vector<std::array<Adesk::Int16, 4>> faces;
  for (size_t i = 0; i < children_.size(); ++i) {
    auto* f = AcDbFaceRecord::cast(children_.objectAt(i));
    if (!f || f->isErased()) continue;
    std::array<Adesk::Int16, 4> r{};
    for (Adesk::UInt16 k = 0; k < 4; ++k) f->getVertexAt(k, r[k]);
    faces.push_back(r);
  }
  return faces;
}

Acad::ErrorStatus AcDbPolyFaceMesh::subTransformBy(const AcGeMatrix3d& xform) {
  arxhost::TransformChildren(children_, xform);
  return Acad::eOk;
}

void AcDbPolyFaceMesh::onAddedToDatabase(AcDbDatabase* db) {
  AcDbEntity::onAddedToDatabase(db);
  children_.joinDatabase(db, objectId());
}
