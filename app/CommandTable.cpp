#include "CommandTable.h"

#include "ImportIges.h"
#include "PluginShell.h"

void TolvaneImportCommand() {
  PluginShell::BuildProductCaption();
  ImportIges();
}

const AcRxArxCommandEntry CommandTable[3] = {
    {_T("VRN_Tolvane"), _T("_Tolvane"), _T("Tolvane"), ACRX_CMD_TRANSPARENT, TolvaneImportCommand, nullptr, UINT(-1)},
    {_T("VRN_Tolvane"), _T("_TolvaneHelp"), _T("TolvaneHelp"), ACRX_CMD_TRANSPARENT, PluginShell::ShowHelp, nullptr,
     UINT(-1)},
    {_T("VRN_Tolvane"), _T("_TolvaneAbout"), _T("TolvaneAbout"), ACRX_CMD_TRANSPARENT, PluginShell::ShowAbout,
     nullptr, UINT(-1)},
};
