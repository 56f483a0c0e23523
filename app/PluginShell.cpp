#include "PluginShell.h"

#include "AcadUtils.h"
#include "DllMain.h"
#include "VRNGUI90Ux64.h"

wchar_t ProductCaption[256] = {0};

namespace {

// Drive and directory of the module's own file; the directory keeps its
// trailing separator.
void GetModuleFolder(wchar_t* drive, wchar_t* dir) {
  wchar_t modulePath[MAX_PATH] = {0};
  wchar_t fname[_MAX_FNAME];
  wchar_t ext[_MAX_EXT];
  GetModuleFileNameW(ModuleInstance, modulePath, MAX_PATH);
  _wsplitpath(modulePath, drive, dir, fname, ext);
}

}  // namespace

void PluginShell::BuildProductCaption() {
  int release = AcadUtils::GetHostRelease();
  _swprintf(ProductCaption, _T("%s %s version %d.%d"), _T("Tolvane Reader for"), AcadUtils::ReleaseNames[release], 1,
            0);
}

void PluginShell::LoadPluginMenu() {
  wchar_t drive[_MAX_DRIVE];
  wchar_t dir[_MAX_DIR];
  GetModuleFolder(drive, dir);
  wchar_t menuPath[MAX_PATH + _MAX_DIR];
  _swprintf(menuPath, _T("%s%sTolvane.mnu"), drive, dir);
  acedCommand(RTSTR, _T("_menuload"), RTSTR, menuPath, RTNONE);
  acedMenuCmd(_T("P10=+Tolvane.pop1"));
}

void PluginShell::ShowHelp() {
  BuildProductCaption();
  wchar_t drive[_MAX_DRIVE];
  wchar_t dir[_MAX_DIR];
  GetModuleFolder(drive, dir);
  wchar_t helpPath[MAX_PATH + _MAX_DIR];
  _swprintf(helpPath, _T("%s%sTolvane.chm"), drive, dir);
  HINSTANCE result = ShellExecuteW(nullptr, _T("open"), helpPath, _T(""), nullptr, SW_SHOW);
  if (reinterpret_cast<UINT_PTR>(result) <= 32)
    MessageBoxW(adsw_acadMainWnd(), _T("Error displaying Tolvane Reader for AutoCAD help file."), ProductCaption,
                MB_OK | MB_ICONWARNING);
}

void PluginShell::ShowAbout() {
  BuildProductCaption();
  VRNGUIUtils::About(CString(ProductCaption), nullptr);
}
