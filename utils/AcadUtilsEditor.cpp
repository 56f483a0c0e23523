// AcadUtils: system variables, message box and host release.
#include <cstdarg>

#include "AcadUtils.h"
#include "arx/arxheaders.h"

const wchar_t* const AcadUtils::ReleaseNames[12] = {
    _T("AutoCAD ????"), _T("AutoCAD 2000"), _T("AutoCAD 2000i"), _T("AutoCAD 2002"),
    _T("AutoCAD 2004"), _T("AutoCAD 2005"), _T("AutoCAD 2006"),  _T("AutoCAD 2007"),
    _T("AutoCAD 2008"), _T("AutoCAD 2009"), _T("AutoCAD 2010"),  _T("AutoCAD 2011"),
};

namespace {

// The first letter of "_VERNUM" of each release, by release index.
const char ReleaseLetters[12] = {0, 'T', 'U', 'K', 'V', 'N', 'Z', 'A', 'B', 'C', 'D', 'E'};

}  // namespace

int AcadUtils::GetSysVarReal(const CString& name, double& value) {
  resbuf* rb = acutNewRb(RTREAL);
  int status = acedGetVar(name, rb);
  // A value of another kind would be read from the wrong member of the union.
  int ok = status == RTNORM && (rb->restype == RTREAL || rb->restype == RTANG);
  if (ok) value = rb->resval.rreal;
  acutRelRb(rb);
  return ok;
}

int AcadUtils::GetSysVarInt(const CString& name, int& value) {
  resbuf* rb = acutNewRb(RTSHORT);
  int status = acedGetVar(name, rb);
  int ok = status == RTNORM && rb->restype == RTSHORT;
  if (ok) value = rb->resval.rint;
  acutRelRb(rb);
  return ok;
}

int AcadUtils::GetSysVarString(const CString& name, CString& value) {
  resbuf* rb = acutNewRb(RTSTR);
  int status = acedGetVar(name, rb);
  int ok = status == RTNORM && rb->restype == RTSTR && rb->resval.rstring != nullptr;
  if (ok) value = rb->resval.rstring;
  acutRelRb(rb);
  return ok;
}

int AcadUtils::SetSysVarReal(const CString& name, double value) {
  resbuf* rb = acutNewRb(RTREAL);
  rb->resval.rreal = value;
  int status = acedSetVar(name, rb);
  acutRelRb(rb);
  return status == RTNORM ? 1 : 0;
}

int AcadUtils::SetSysVarInt(const CString& name, int value) {
  resbuf* rb = acutNewRb(RTSHORT);
  rb->resval.rint = static_cast<short>(value & 0xFFFF);
  int status = acedSetVar(name, rb);
  acutRelRb(rb);
  return status == RTNORM ? 1 : 0;
}

int AcadUtils::SetSysVarString(const CString& name, const CString& value) {
  resbuf* rb = acutNewRb(RTSTR);
  acutNewString(value, rb->resval.rstring);
  int status = acedSetVar(name, rb);
  acutRelRb(rb);
  return status == RTNORM ? 1 : 0;
}

void AcadUtils::ShowMessage(CString caption, UINT type, const wchar_t* format, ...) {
  CString text;
  va_list args;
  va_start(args, format);
  text.FormatV(format, args);
  va_end(args);
  MessageBoxW(adsw_acadMainWnd(), text, caption, type);
}

int AcadUtils::GetHostRelease() {
  CString vernum;
  resbuf* rb = acutNewRb(RTSTR);
  if (acedGetVar(_T("_VERNUM"), rb) == RTNORM && rb->restype == RTSTR && rb->resval.rstring != nullptr)
    vernum = rb->resval.rstring;
  acutRelRb(rb);
  const char letter = static_cast<char>(vernum.IsEmpty() ? 0 : (vernum.GetAt(0) & 0xFF));
  for (int release = 1; release < 12; ++release)
    if (letter == ReleaseLetters[release]) return release;
  return 0;
}

int AcadUtils::CheckHostRelease(int expected) {
  if (GetHostRelease() == expected) return 1;
  // An index outside the table names no release.
  const wchar_t* name = expected >= 0 && expected < 12 ? ReleaseNames[expected] : ReleaseNames[0];
  CString text;
  text.Format(_T("This plug-in is designed to work with %s based products only"), name);
  MessageBoxW(adsw_acadMainWnd(), text, _T("Incompatible AutoCAD Version"), MB_OK | MB_ICONWARNING);
  return 0;
}
