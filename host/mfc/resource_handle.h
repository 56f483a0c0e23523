#pragma once
// The module whose resources the class library reads: the program's until
// a module makes its own current (as a command does before it shows its
// dialogs).
#include "win32/wintypes.h"

HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
