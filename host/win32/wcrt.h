#pragma once
// The wide functions of the C runtime that plug-in code calls, with the
// runtime's own rules: '\' and '/' both separate paths, and formats follow
// Microsoft's conventions (see win32/wformat.h).
#include <cwchar>

#include "win32/wintypes.h"

// Splits a path into drive ("C:"), directory (with its trailing separator),
// file name and extension (with its dot). Any output may be null; each
// receives at most _MAX_DRIVE, _MAX_DIR, _MAX_FNAME or _MAX_EXT characters
// with the terminator (longer parts are cut, never overrun).
void _wsplitpath(const wchar_t* path, wchar_t* drive, wchar_t* dir, wchar_t* fname, wchar_t* ext);

// The runtime's legacy swprintf without a count: the caller guarantees room.
// Returns the number of characters written, terminator excluded.
int _swprintf(wchar_t* buffer, const wchar_t* format, ...);
