#pragma once
// The document manager: one document, the working drawing. Commands push the
// resource handle of their module to make its resources current while they
// run, and pop it before they return.
#include "win32/wintypes.h"

class AcApDocManager {
 public:
  // Makes the module's resources current; popResourceHandle restores the
  // handle that was current before.
  void pushResourceHandle(HINSTANCE resource);
  void popResourceHandle();

  // Host side: how many pushes are not yet popped (0 between commands).
  int resourceHandleDepth() const;
};

AcApDocManager* acDocManagerPtr();
