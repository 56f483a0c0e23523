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

// A chordal error of 0.2% of the shape's diagonal and at most about 30
// degrees between neighbouring facets: curved faces look round without
// multiplying the triangles of flat ones. Finer settings make Open CASCADE's
// mesher crawl (minutes) on long helical faces such as springs.
inline constexpr double kRelativeDeflection = 2e-3;
inline constexpr double kAngularDeflection = 0.5;

// The chordal error the shape is meshed with, from its own bounding box;
// zero for a shape without geometry.
double MeshDeflection(const TopoDS_Shape& shape);

// Meshes the faces of the shape with a deflection relative to its size and
// appends their triangles. A shape without faces appends nothing. The faces
// are meshed on all cores unless parallelFaces is false; the triangles are
// the same either way. Open CASCADE failures propagate as Standard_Failure.
void AppendShapeTriangles(const TopoDS_Shape& shape, std::vector<Triangle>& triangles, bool parallelFaces = true);

}  // namespace brennic
