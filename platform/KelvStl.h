#pragma once
// The STL reader: ASCII STL (one mesh per solid) and binary STL (one mesh)
// as openNURBS meshes, with coincident corners welded into shared vertices.
#include "mfc/CString.h"
#include "opennurbs.h"

class KelvStl {
 public:
  // Appends the file's meshes (a solid without facets gives none) to the
  // caller's array. A missing, truncated or malformed file appends nothing,
  // returns 0, and GetError names the file and the reason.
  static int STLToMesh(CString path, ON_ClassArray<ON_Mesh>& meshes);
  static CString GetError();
};
