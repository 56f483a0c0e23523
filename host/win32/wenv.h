#pragma once
// The environment and file functions of the wide C runtime, with Windows'
// rules: variable names are compared without regard to case ("temp" finds
// TEMP), and paths may use '\' or '/'.
#include "win32/wintypes.h"

// The value of the variable, or null when it is not set. The pointer stays
// valid until the variable is looked up again.
wchar_t* _wgetenv(const wchar_t* name);

// Deletes the file; 0 on success, -1 when it could not be deleted.
int _wunlink(const wchar_t* path);

// A new file name in folder dir beginning with prefix that names no existing
// file, allocated with malloc (the caller frees it); null on failure.
wchar_t* _wtempnam(const wchar_t* dir, const wchar_t* prefix);
