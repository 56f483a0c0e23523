// Any bytes as an STL file: parsed, then welded as the reader does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "stl/StlParser.h"
#include "stl/VertexWelder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<kelvrash::stl::TriangleSoup> solids;
  std::string reason;
  if (!kelvrash::stl::ParseStl(bytes, solids, reason)) {
    if (reason.empty() || !solids.empty()) __builtin_trap();  // a refusal must say why and add nothing
    return 0;
  }
  for (const auto& soup : solids) {
    if (soup.corners.empty() || soup.corners.size() % 3 != 0) __builtin_trap();
    const auto mesh = kelvrash::stl::WeldVertices<float>(soup);
    for (const auto& t : mesh.triangles)
      for (auto index : t)
        if (index >= mesh.vertices.size()) __builtin_trap();
  }
  return 0;
}
