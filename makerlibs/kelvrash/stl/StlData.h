#pragma once
// What an STL file holds: solids of loose triangles, and a solid's triangles
// with their coincident corners welded into shared vertices.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvrash::stl {

using Point = std::array<double, 3>;

// Three corners per triangle, in file order. Facet normals are not kept:
// they are recomputed from the corners wherever they are needed.
struct TriangleSoup {
  std::string name;
  std::vector<Point> corners;
  size_t TriangleCount() const { return corners.size() / 3; }
};

template <class Scalar>
struct IndexedMesh {
  std::string name;
  std::vector<std::array<Scalar, 3>> vertices;
  std::vector<std::array<std::uint32_t, 3>> triangles;
};

}  // namespace kelvrash::stl
