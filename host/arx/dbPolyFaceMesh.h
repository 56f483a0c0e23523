#pragma once
// A polyface mesh: vertices, then face records that number them from 1.
// Its iterator yields the vertices and then the face records.
#include <array>
#include <vector>

#include "arx/dbEntity.h"
#include "arx/dbObjectIterator.h"
#include "arx/dbVertex.h"

class AcDbPolyFaceMesh : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbPolyFaceMesh)
 public:
  AcDbPolyFaceMesh() = default;

  // eVertexAfterFace once a face record is in, eTooManyVertices past
  // 32767 vertices. The vertex stays open for its caller to close.
  Acad::ErrorStatus appendVertex(AcDbPolyFaceMeshVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDbPolyFaceMeshVertex* vertex);
  // eInvalidFaceVertexIndex when a number's magnitude exceeds the vertex
  // count or the first number is 0. The record stays open for its caller.
  Acad::ErrorStatus appendFaceRecord(AcDbFaceRecord* face);
  Acad::ErrorStatus appendFaceRecord(AcDbObjectId& id, AcDbFaceRecord* face);
  AcDbObjectIterator* vertexIterator() const { return new AcDbObjectIterator(children_); }
  Adesk::Int16 numVertices() const;
  Adesk::Int16 numFaces() const;

  // Host side: positions of the live vertices, and the four numbers of each
  // live face record, in order.
  std::vector<AcGePoint3d> vertexPositions() const;
  std::vector<std::array<Adesk::Int16, 4>> faceRecords() const;
  const arxhost::OwnedObjects& children() const { return children_; }

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  arxhost::OwnedObjects children_;
  int vertexCount_ = 0, faceCount_ = 0;
};
