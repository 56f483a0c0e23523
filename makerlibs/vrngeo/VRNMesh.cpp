#include "VRNMesh.h"

#include <initializer_list>

namespace {

bool AllValid(std::initializer_list<const ON_3dPoint*> points) {
  for (const ON_3dPoint* p : points)
    if (!p->IsValid()) return false;
  return true;
}

// Appends the corners as new vertices and one face over them; a triangle
// repeats its third index as openNURBS wants.
void AddFace(ON_Mesh& mesh, std::initializer_list<const ON_3dPoint*> corners) {
  const int first = mesh.VertexCount();
  for (const ON_3dPoint* p : corners) mesh.SetVertex(mesh.VertexCount(), *p);
  if (corners.size() == 3)
    mesh.SetTriangle(mesh.FaceCount(), first, first + 1, first + 2);
  else
    mesh.SetQuad(mesh.FaceCount(), first, first + 1, first + 2, first + 3);
}

}  // namespace

int VRNMesh::AddTriangle(ON_Mesh& mesh, const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& c) {
  if (!AllValid({&a, &b, &c})) return 0;
  AddFace(mesh, {&a, &b, &c});
  return 1;
}

int VRNMesh::AddQuad(ON_Mesh& mesh, const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& c,
                     const ON_3dPoint& d) {
  if (!AllValid({&a, &b, &c, &d})) return 0;
  AddFace(mesh, {&a, &b, &c, &d});
  return 1;
}
