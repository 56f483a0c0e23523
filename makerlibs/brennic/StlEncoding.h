#pragma once
// STL text and records. Numbers are written with a point whatever the
// process locale.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "ShapeTriangles.h"

namespace brennic {

// "solid NAME" ... "endsolid NAME", one facet per triangle.
void AppendAsciiSolid(std::string& out, std::string_view name, std::span<const Triangle> triangles);

// The 80-byte header and the little-endian triangle count of binary STL.
void AppendBinaryHeader(std::string& out, std::uint32_t triangleCount);
// One 50-byte binary record per triangle.
void AppendBinaryTriangles(std::string& out, std::span<const Triangle> triangles);

}  // namespace brennic
