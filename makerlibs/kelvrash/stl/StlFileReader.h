#pragma once
// An STL file from disk into welded meshes, with the reason of a failure.
#include <string>
#include <vector>

#include "StlData.h"

namespace kelvrash::stl {

using Mesh = IndexedMesh<float>;

// On failure returns false, appends nothing and sets reason to words that
// complete "The STL file "name" ...".
bool ReadStlFile(const std::string& nativePath, std::vector<Mesh>& meshes, std::string& reason);

}  // namespace kelvrash::stl
