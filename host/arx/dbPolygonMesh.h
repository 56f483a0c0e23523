#pragma once
// A polygon mesh: M rows of N vertices, the column index running fastest,
// optionally closed in either direction.
#include <vector>

#include "arx/dbEntity.h"
#include "arx/dbObjectIterator.h"
#include "arx/dbVertex.h"
#include "arx/geArrays.h"

class AcDbPolygonMesh : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbPolygonMesh)
 public:
  AcDbPolygonMesh() = default;
  AcDbPolygonMesh(AcDb::PolyMeshType type, Adesk::Int16 mSize, Adesk::Int16 nSize,
                  const AcGePoint3dArray& vertices, bool mClosed = true, bool nClosed = true);

  Adesk::Int16 mSize() const { return m_; }
  Adesk::Int16 nSize() const { return n_; }
  Acad::ErrorStatus setMSize(Adesk::Int16 m);
  Acad::ErrorStatus setNSize(Adesk::Int16 n);
  bool isMClosed() const { return mClosed_; }
  bool isNClosed() const { return nClosed_; }
  Acad::ErrorStatus makeMClosed() { ARXHOST_SET(mClosed_, true); }
  Acad::ErrorStatus makeMOpen() { ARXHOST_SET(mClosed_, false); }
  Acad::ErrorStatus makeNClosed() { ARXHOST_SET(nClosed_, true); }
  Acad::ErrorStatus makeNOpen() { ARXHOST_SET(nClosed_, false); }
  AcDb::PolyMeshType polyMeshType() const { return type_; }
  Acad::ErrorStatus setPolyMeshType(AcDb::PolyMeshType t) { ARXHOST_SET(type_, t); }

  Acad::ErrorStatus appendVertex(AcDbPolygonMeshVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDbPolygonMeshVertex* vertex);
  AcDbObjectIterator* vertexIterator() const { return new AcDbObjectIterator(vertices_); }

  // Host side: positions of the live vertices in order.
  std::vector<AcGePoint3d> points() const;
  const arxhost::OwnedObjects& vertices() const { return vertices_; }

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  arxhost::OwnedObjects vertices_;
  Adesk::Int16 m_ = 0, n_ = 0;
  bool mClosed_ = false, nClosed_ = false;
  AcDb::PolyMeshType type_ = AcDb::kSimpleMesh;
};
