#pragma once
// The commands of the module, registered in table order at kInitAppMsg and
// removed at kUnloadAppMsg.
#include "StdAfx.h"

extern const AcRxArxCommandEntry CommandTable[3];

// The function of "_Tolvane": the product caption, then the import.
void TolvaneImportCommand();
