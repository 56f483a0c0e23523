#pragma once
// Merges the corners of a triangle soup that have exactly the same
// coordinates (after conversion to Scalar) into one vertex. Triangles whose
// corners collapse onto fewer than three vertices are dropped.
#include "StlData.h"

namespace kelvrash::stl {

template <class Scalar>
IndexedMesh<Scalar> WeldVertices(const TriangleSoup& soup);

extern template IndexedMesh<float> WeldVertices<float>(const TriangleSoup&);
extern template IndexedMesh<double> WeldVertices<double>(const TriangleSoup&);

}  // namespace kelvrash::stl
