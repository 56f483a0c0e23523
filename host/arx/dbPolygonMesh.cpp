#include "arx/dbPolygonMesh.h"

#include "arx/db3dPolyline.h"

ARXHOST_RX_DEFINE(AcDbPolygonMesh, AcDbEntity, L"POLYLINE")

AcDbPolygonMesh::AcDbPolygonMesh(AcDb::PolyMeshType type, Adesk::Int16 mSize, Adesk::Int16 nSize,
                                 const AcGePoint3dArray& vertices, bool mClosed, bool nClosed)
    : m_(mSize), n_(nSize), mClosed_(mClosed), nClosed_(nClosed), type_(type) {
  for (const AcGePoint3d& p : vertices) {
    auto* v = new AcDbPolygonMeshVertex(p);
    appendVertex(v);
    v->close();
  }
}

Acad::ErrorStatus AcDbPolygonMesh::setMSize(Adesk::Int16 m) {
  ARXHOST_CHECK_WRITE();
  if (m < 2 || m > 256) return Acad::eInvalidInput;
  m_ = m;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::setNSize(Adesk::Int16 n) {
  ARXHOST_CHECK_WRITE();
  if (n < 2 || n > 256) return Acad::eInvalidInput;
  n_ = n;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::appendVertex(AcDbPolygonMeshVertex* vertex) {
  AcDbObjectId id;
  return appendVertex(id, vertex);
}

Acad::ErrorStatus AcDbPolygonMesh::appendVertex(AcDbObjectId& id, AcDbPolygonMeshVertex* vertex) {
  return appendOwned(vertices_, vertex, id);
}

std::vector<AcGePoint3d> AcDbPolygonMesh::points() const {
  std::vector<AcGePoint3d> pts;
  for (size_t i = 0; i < vertices_.size(); ++i)
    if (auto* v = AcDbPolygonMeshVertex::cast(vertices_.objectAt(i)); v && !v->isErased())
      pts.push_back(v->position());
  return pts;
}

Acad::ErrorStatus AcDbPolygonMesh::subTransformBy(const AcGeMatrix3d& xform) {
  arxhost::TransformChildren(vertices_, xform);
  return Acad::eOk;
}

void AcDbPolygonMesh::onAddedToDatabase(AcDbDatabase* db) {
  AcDbEntity::onAddedToDatabase(db);
  vertices_.joinDatabase(db, objectId());
}
