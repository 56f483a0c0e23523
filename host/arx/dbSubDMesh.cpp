#include "arx/dbSubDMesh.h"

#include <cmath>
#include <set>
#include <utility>

ARXHOST_RX_DEFINE(AcDbSubDMesh, AcDbEntity, L"MESH")

Acad::ErrorStatus AcDbSubDMesh::setSubDMesh(const AcGePoint3dArray& vertices, const AcArray<Adesk::Int32>& faces,
                                            int subDLevel) {
  ARXHOST_CHECK_WRITE();
  if (vertices.isEmpty() || faces.isEmpty() || subDLevel < 0 || subDLevel > 4) return Acad::eInvalidInput;
  for (const AcGePoint3d& p : vertices)
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return Acad::eInvalidInput;
  int n = vertices.length();
  for (int i = 0; i < faces.length();) {
    int corners = faces[i];
    if (corners < 3 || corners > faces.length() - i - 1) return Acad::eInvalidInput;
    for (int k = 1; k <= corners; ++k)
      if (faces[i + k] < 0 || faces[i + k] >= n) return Acad::eInvalidInput;
    i += corners + 1;
  }
  vertices_ = vertices;
  faces_ = faces;
  level_ = subDLevel;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfVertices(int& count) const {
  count = vertices_.length();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfFaces(int& count) const {
  count = 0;
  for (int i = 0; i < faces_.length(); i += faces_[i] + 1) ++count;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfEdges(int& count) const {
  std::set<std::pair<int, int>> edges;
  for (int i = 0; i < faces_.length(); i += faces_[i] + 1) {
    int c = faces_[i];
    for (int k = 0; k < c; ++k) {
      int a = faces_[i + 1 + k], b = faces_[i + 1 + (k + 1) % c];
      edges.insert({std::min(a, b), std::max(a, b)});
    }
  }
  count = static_cast<int>(edges.size());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getVertices(AcGePoint3dArray& vertices) const {
  vertices = vertices_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getFaceArray(AcArray<Adesk::Int32>& faces) const {
  faces = faces_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::subDLevel(int& level) const {
  level = level_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::subTransformBy(const AcGeMatrix3d& xform) {
  for (AcGePoint3d& p : vertices_) p.transformBy(xform);
  return Acad::eOk;
}
