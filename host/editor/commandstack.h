#pragma once
// Host-side access to the command stack.
#include <functional>

#include "arx/edcommand.h"

namespace arxhost {

AcEdCommandStack& CommandStack();
// Drops the commands that match (the host uses it for the commands of a
// module that is going away without having removed them). Returns how many.
size_t RemoveCommandsWhere(const std::function<bool(const AcEdCommand&)>& predicate);

}  // namespace arxhost
