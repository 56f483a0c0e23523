#pragma once
// The integer types of the module interface, and the one the database adds.
#include "arx/rxdefs.h"

namespace Adesk {
using GsMarker = std::intptr_t;
}  // namespace Adesk
