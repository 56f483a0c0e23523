#pragma once
// The editor's user-interface library: modules initialise it at attach.
void InitAcUiDLL();

namespace arxhost {
// How often InitAcUiDLL has been called (tests).
int AcUiInitCount();
}  // namespace arxhost
