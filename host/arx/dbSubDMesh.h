#pragma once
// A subdivision mesh: vertices, and a face list of a corner count followed
// by that many 0-based vertex indices for each face.
#include "arx/dbEntity.h"
#include "arx/geArrays.h"

class AcDbSubDMesh : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbSubDMesh)
 public:
  AcDbSubDMesh() = default;

  // eInvalidInput, the mesh unchanged, for no vertex or face, a face of
  // fewer than 3 corners, an index outside the vertices, a list that ends
  // inside a face, a point that is not finite, or a level outside 0 to 4.
  Acad::ErrorStatus setSubDMesh(const AcGePoint3dArray& vertices, const AcArray<Adesk::Int32>& faces,
                                int subDLevel);
  Acad::ErrorStatus numOfVertices(int& count) const;
  Acad::ErrorStatus numOfFaces(int& count) const;
  Acad::ErrorStatus numOfEdges(int& count) const;
  Acad::ErrorStatus numOfSubDividedVertices(int& count) const { return numOfVertices(count); }
  Acad::ErrorStatus getVertices(AcGePoint3dArray& vertices) const;
  Acad::ErrorStatus getFaceArray(AcArray<Adesk::Int32>& faces) const;
  Acad::ErrorStatus subDLevel(int& level) const;
  bool isEmpty() const { return vertices_.isEmpty(); }

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3dArray vertices_;
  AcArray<Adesk::Int32> faces_;
  int level_ = 0;
};
