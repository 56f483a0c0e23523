#pragma once
// Writing ACIS SAT: bodies placed by a transform and joined into one file.
#include <optional>
#include <string>
#include <vector>

#include "arx/ErrorStatus.h"
#include "arx/geMatrix3d.h"

namespace arxhost {

struct SatPlacedBody {
  const std::string* sat = nullptr;  // a complete SAT text of one or more bodies
  AcGeMatrix3d placement;            // applied on top of the bodies' own transforms
};

// The SAT text with the placement folded into each body's transform record;
// nothing when the text is not SAT or the placement is not a rotation,
// mirror, translation and one scale factor.
std::optional<std::string> PlaceSat(const std::string& sat, const AcGeMatrix3d& placement, std::string& error);

// One SAT text holding every body, in order.
std::optional<std::string> CombineSat(const std::vector<SatPlacedBody>& bodies, std::string& error);

// Writes the bodies to a file (Windows path) whole or not at all: eOk,
// eInvalidInput for no body or a text that is not SAT, eFileAccessErr when
// the file cannot be written (error says why).
Acad::ErrorStatus WriteSatFile(const std::wstring& path, const std::vector<SatPlacedBody>& bodies,
                               std::string& error);

}  // namespace arxhost
