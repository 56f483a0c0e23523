#include "KelvAcis.h"

namespace {
CString& LastError() {
  static CString text;
  return text;
}
}  // namespace

int KelvAcis::ConvertBrepToSAT(const ON_Brep&, const CString& path, int, const CString&) {
  SetError(CString(L"B-reps cannot be written as SAT files yet: ") + path + L" was not written.");
  return 0;
}

CString KelvAcis::GetError() { return LastError(); }
void KelvAcis::SetError(const CString& text) { LastError() = text; }
