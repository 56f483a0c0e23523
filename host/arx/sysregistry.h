#pragma once
// Host-side access to the system registry: other parts of the host add
// their services under a name.
#include "arx/rxobject.h"

namespace arxhost {

// The registry does not own the service; it must live as long as the host.
void RegisterService(const wchar_t* name, AcRxObject* service);

}  // namespace arxhost
