#pragma once
// The B-rep to ACIS SAT writer of the data-exchange library.
#include "mfc/CString.h"
#include "opennurbs.h"

class KelvAcis {
 public:
  // Writes the B-rep as an ACIS SAT file at path; 0 on failure with the
  // reason in GetError. The integer and the text select the SAT flavour.
  static int ConvertBrepToSAT(const ON_Brep& brep, const CString& path, int version, const CString& options);

  static CString GetError();
  static void SetError(const CString& text);
};
