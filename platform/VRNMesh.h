#pragma once
// VRNMesh: faces added to an openNURBS mesh by their corner points.
#include "on_mesh.h"
#include "on_point.h"

class VRNMesh {
 public:
  // Each face gets vertices of its own, appended behind the mesh's, so
  // faces never share a vertex here (the mesh's topology joins corners at
  // the same place). The corners keep their order. 1 when the face was
  // added; 0, with the mesh unchanged, when a corner is not a finite point.
  static int AddTriangle(ON_Mesh& mesh, const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& c);
  static int AddQuad(ON_Mesh& mesh, const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& c,
                     const ON_3dPoint& d);
};
