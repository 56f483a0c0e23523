#pragma once
// The triangles of a shape's faces, meshed by Open CASCADE.
#include <TopoDS_Shape.hxx>

#include <array>
#include <vector>

namespace brennic {

struct Triangle {
  std::array<std::array<double, 3>, 3> corners;  // counter-clockwise seen from outside
  std::array<double, 3> Normal() const;           // unit, or zero when degenerate
};

// Meshes the faces of the shape with a deflection relative to its size and
// appends their triangles. A shape without faces appends nothing.
// Open CASCADE failures propagate as Standard_Failure.
void AppendShapeTriangles(const TopoDS_Shape& shape, std::vector<Triangle>& triangles);

}  // namespace brennic
