// AcadUtils: DXF files brought into the drawing through the host's DXFIN,
// one file or every file of a batch that shares a base name.
#include <cwchar>

#include "AcadUtils.h"
#include "arx/aced.h"
#include "arx/acutils.h"
#include "win32/wcrt.h"
#include "win32/wenv.h"
#include "win32/winapi.h"

int AcadUtils::DxfIn(const CString& path, int zoomExtents) {
  if (acedCommand(RTSTR, _T("_dxfin"), RTSTR, (LPCTSTR)path, RTNONE) != RTNORM) return 0;
  if (zoomExtents != 0) acedCommand(RTSTR, _T("_zoom"), RTSTR, _T("_extents"), RTNONE);
  return 1;
}

int AcadUtils::ImportDxfFiles(const CString& basePath, int& count) {
  count = 0;
  wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
  _wsplitpath(basePath, drive, dir, fname, ext);
  // A part cut to its buffer would point the search, and the deletions
  // after it, at another folder or other files: such a path matches nothing.
  size_t splitLength = wcslen(drive) + wcslen(dir) + wcslen(fname) + wcslen(ext);
  if (splitLength != static_cast<size_t>(basePath.GetLength())) {
    acutPrintf(_T("Unable to read 2D data\n"));
    return 0;
  }
  CString folder, stem, pattern;
  folder.Format(_T("%s%s"), drive, dir);
  stem.Format(_T("%s%s%s"), drive, dir, fname);
  pattern.Format(_T("%s*.dxf"), (LPCTSTR)stem);

  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) {
    acutPrintf(_T("Unable to read 2D data\n"));
    return 0;
  }
  int result = 1;
  do {
    CString fullPath;
    fullPath.Format(_T("%s%s"), (LPCTSTR)folder, found.cFileName);
    if (acedCommand(RTSTR, _T("_dxfin"), RTSTR, (LPCTSTR)fullPath, RTNONE) == RTNORM) {
      acedCommand(RTSTR, _T("_zoom"), RTSTR, _T("_extents"), RTNONE);
      ++count;
    } else {
      acutPrintf(_T("Unable to read 2D data from %s"), found.cFileName);
      result = 0;
    }
    _wunlink(fullPath);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return result;
}
