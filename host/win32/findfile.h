#pragma once
// FindFirstFileW, FindNextFileW and FindClose: the entries of one folder
// whose names match a pattern with Windows' wildcards.
#include <string_view>

#include "win32/wintypes.h"

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  WCHAR cFileName[MAX_PATH];
  WCHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;
using WIN32_FIND_DATA = WIN32_FIND_DATAW;

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))

#ifndef FILE_ATTRIBUTE_READONLY
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#endif

// The pattern is a Windows path whose last part may hold '*' (any run of
// characters) and '?' (one character); names compare without regard to
// case. The folder is read once, when the search starts, and its entries
// are delivered sorted by name ("." and ".." included, as Windows does).
// No match: INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND; a folder that
// does not exist: ERROR_PATH_NOT_FOUND. Names too long for cFileName are
// skipped. Short (8.3) names do not exist here, so "*.dxf" does not match
// "a.dxfx" as it may on Windows.
HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData);
// FALSE with ERROR_NO_MORE_FILES after the last match.
BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData);
// FALSE with ERROR_INVALID_HANDLE for a handle FindFirstFileW did not give.
BOOL FindClose(HANDLE findFile);

#define FindFirstFile FindFirstFileW
#define FindNextFile FindNextFileW

namespace arxhost {
// Windows' wildcard match of one name ('*', '?', without case); "*.*"
// matches every name, with or without a dot.
bool WildcardMatch(std::wstring_view pattern, std::wstring_view name);
}  // namespace arxhost
