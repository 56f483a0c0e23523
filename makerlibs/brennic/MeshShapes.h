#pragma once
// Many shapes meshed at once, with the triangles each one would have had
// meshed one after the other.
#include <TopoDS_Shape.hxx>

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "ShapeTriangles.h"

namespace brennic {

// The shapes with faces, in groups that share nothing: shapes that hold the
// same face, edge or vertex (a shape placed twice included) are in one group.
// The mesher leaves its triangles and polygons on those, and reuses what it
// finds there, so such shapes are meshed one after the other in their order.
// Each group lists its indices ascending; groups are ordered by their first.
std::vector<std::vector<size_t>> IndependentGroups(std::span<const TopoDS_Shape> shapes);

// Turns the triangles of the shape at index into bytes; runs on any thread,
// for shapes with triangles only.
using TriangleEncoder = std::function<void(size_t index, std::span<const Triangle> triangles, std::string& bytes)>;
// Takes the bytes of the shape at index, on the calling thread; false stops.
using EncodedTaker = std::function<bool(size_t index, std::string& bytes, size_t triangles)>;

// Meshes the shapes as AppendShapeTriangles does, groups of
// IndependentGroups at once on all cores, and gives each shape's encoded
// triangles to take in the shapes' order, a shape without faces included.
// A failure comes out as from a loop over the shapes in order: the first
// failing shape's exception is thrown and no later shape is taken. False
// when take stopped.
bool MeshShapesInOrder(std::span<const TopoDS_Shape> shapes, const TriangleEncoder& encode,
                       const EncodedTaker& take);

}  // namespace brennic
