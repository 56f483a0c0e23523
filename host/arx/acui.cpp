#include "arx/acui.h"

namespace {
int initCount = 0;
}

void InitAcUiDLL() { ++initCount; }

namespace arxhost {
int AcUiInitCount() { return initCount; }
}  // namespace arxhost
