#pragma once
// The GUI library's About box.
#include "mfc/CString.h"
#include "win32/wintypes.h"

class VRNGUIUtils {
 public:
  // Shows the About box under the caption, with the product's name and
  // version from the version resource of the modules that MFC searches for
  // resources; returns when the box is closed. parent may be null.
  static void About(const CString& caption, HWND* parent);
};
