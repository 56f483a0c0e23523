#pragma once
// ErrorStatusText: the words of an Acad::ErrorStatus value, for last-error
// texts.
#include "mfc/CString.h"

class ErrorStatusText {
 public:
  ErrorStatusText();
  ~ErrorStatusText();

  // The text of the status value, or the empty string for a value that has
  // none (also every negative value and every value above 432).
  static CString GetText(int status);
};
