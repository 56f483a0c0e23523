#pragma once
// Where a dialog finds its template and initialisation data: the resources
// of the module that is current for resources.
#include <optional>
#include <span>

#include "win32/wintypes.h"

namespace arxhost {

using ResourceBytes = std::optional<std::span<const BYTE>>;

// The resource in the module of AfxGetResourceHandle; nothing when absent.
ResourceBytes FindCurrentResource(LPCWSTR type, LPCWSTR name);

}  // namespace arxhost
