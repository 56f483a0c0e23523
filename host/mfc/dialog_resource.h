#pragma once
// Where a dialog finds its template and initialisation data: the resources
// of the module that is current for resources.
#include <optional>
#include <span>

#include "win32/wintypes.h"

namespace arxhost {

using ResourceBytes = std::optional<std::span<const BYTE>>;

// The resource in the module that holds it, as AfxFindResourceHandle finds
// it (the current resource module first); nothing when absent.
ResourceBytes FindCurrentResource(LPCWSTR type, LPCWSTR name);

}  // namespace arxhost
