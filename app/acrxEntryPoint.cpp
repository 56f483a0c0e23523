#include "CommandTable.h"
#include "DllMain.h"
#include "PluginShell.h"
#include "TolvaneApp.h"

constexpr CTolvaneApp::CTolvaneApp() : AcRxArxApp(CommandTable) {}

AcRx::AppRetCode CTolvaneApp::On_kInitAppMsg(void* pkt) {
  m_hdllInstance = ModuleInstance;
  AcRx::AppRetCode result = AcRxArxApp::On_kInitAppMsg(pkt);
  PluginShell::LoadPluginMenu();
  return result;
}

AcRx::AppRetCode CTolvaneApp::On_kUnloadAppMsg(void* pkt) { return AcRxArxApp::On_kUnloadAppMsg(pkt); }

void CTolvaneApp::RegisterServerComponents() {}

IMPLEMENT_ARX_ENTRYPOINT(CTolvaneApp)
