#pragma once
// STL in ASCII (any number of solids) and binary (one solid) from memory.
#include <string>
#include <string_view>
#include <vector>

#include "StlData.h"

namespace kelvrash::stl {

// On success appends one soup per solid to solids and returns true. On
// failure returns false, leaves solids as they were and sets reason to words
// that complete "The STL file "name" ..." (for example "is truncated ...").
bool ParseStl(std::string_view bytes, std::vector<TriangleSoup>& solids, std::string& reason);

}  // namespace kelvrash::stl
