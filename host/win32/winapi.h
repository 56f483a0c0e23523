#pragma once
// The Win32 calls of the plug-in and the maker libraries, over the host's
// modules, transcript and input.
#include "win32/wintypes.h"

using PUINT = UINT*;

#include "win32/winerror.h"
#ifndef ERROR_PATH_NOT_FOUND
#define ERROR_PATH_NOT_FOUND 3L
#endif
#ifndef ERROR_NO_MORE_FILES
#define ERROR_NO_MORE_FILES 18L
#endif
#ifndef ERROR_INSUFFICIENT_BUFFER
#define ERROR_INSUFFICIENT_BUFFER 122L
#endif
#ifndef ERROR_RESOURCE_DATA_NOT_FOUND
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#endif
#ifndef ERROR_RESOURCE_TYPE_NOT_FOUND
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#endif
#ifndef ERROR_RESOURCE_NAME_NOT_FOUND
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#endif

#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_VERSION MAKEINTRESOURCE(16)
#define RT_DLGINIT MAKEINTRESOURCE(240)
#define VS_VERSION_INFO 1

// ShellExecuteW results of 32 and less are errors.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31

struct VS_FIXEDFILEINFO {
  DWORD dwSignature;  // 0xFEEF04BD
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;
  DWORD dwFileVersionLS;
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
};

#include "win32/findfile.h"

DWORD GetLastError();
void SetLastError(DWORD error);

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
HMODULE GetModuleHandleW(LPCWSTR moduleName);

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax);
// Over a version resource as LoadResource gives it: "\\" for the fixed
// file info, "\\StringFileInfo\\040904b0\\FileVersion" for a text (the text
// is handed out as a wide string; *length counts its characters),
// "\\VarFileInfo\\Translation" for the language and code page pairs.
BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT length);

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        INT show);

#define GetModuleFileName GetModuleFileNameW
#define GetModuleHandle GetModuleHandleW
#define FindResource FindResourceW
#define LoadString LoadStringW
#define MessageBox MessageBoxW
#define ShellExecute ShellExecuteW
#define VerQueryValue VerQueryValueW
