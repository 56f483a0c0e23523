#pragma once
// Reading ACIS SAT files into bodies: each body record of the file with
// every record it reaches becomes one standalone SAT text, classified as a
// solid (every face in closed shells), a region (open, all faces planar) or
// a body (anything else, wire bodies too).
//
// Statuses: eCantOpenFile when the file is missing or unreadable,
// eCannotRestoreFromAcisFile when its text is not SAT (the error text says
// why); a well-formed file without bodies reads as eOk with no body.
#include <string>
#include <vector>

#include "arx/ErrorStatus.h"

namespace arxhost {

enum class SatBodyKind { Solid, Region, Body };

struct SatBody {
  SatBodyKind kind = SatBodyKind::Body;
  std::string sat;  // a complete SAT text of this body alone
};

struct SatReadResult {
  Acad::ErrorStatus status = Acad::eOk;
  std::vector<SatBody> bodies;
  std::string error;  // what went wrong, for a status other than eOk
};

// path is a Windows path as the plug-in passes it.
SatReadResult ReadSatBodies(const std::wstring& path);
SatReadResult ReadSatText(const std::string& text);

}  // namespace arxhost
