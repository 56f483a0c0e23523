#pragma once
// AcadUtils: static helpers over the drawing database and the editor. Each
// group of members lives in its own source file (AcadUtils*.cpp).
#include "mfc/CString.h"
#include "win32/wintypes.h"

class AcadUtils {
 public:
  AcadUtils() = default;
  ~AcadUtils() = default;

  static CString GetError();
  static void SetError(const CString& text);

  // --- Entity placement, layers, polyface records, SAT exchange
  //     (AcadUtils.cpp, AcadUtilsDrawing.cpp) ---

  // --- System variables, message box and host release (AcadUtilsEditor.cpp) ---

  // --- Colour and entity property queries (AcadUtilsQuery.cpp) ---

  // --- Prompts, picking, selection and DXF batch import (AcadUtilsPrompt.cpp) ---

 private:
  static CString m_error;
};
