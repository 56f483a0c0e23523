// A module for the terminal test of the options dialog: its one command
// shows the dialog with the plug-in's resources (compiled into this module)
// and prints what it gave.
#include "TolvaneOptionsDlg.h"
#include "arx/arxheaders.h"
#include "mfc/afxext.h"

namespace {

HINSTANCE moduleInstance = nullptr;

void ProbeOptions() {
  HINSTANCE previous = AfxGetResourceHandle();
  AfxSetResourceHandle(moduleInstance);
  CTolvaneOptionsDlg dlg(nullptr);
  const INT_PTR result = dlg.DoModal();
  AfxSetResourceHandle(previous);
  acutPrintf(L"Options dialog: %s, file type %d, 3D type %d, mesh type %d\n", result == IDOK ? L"OK" : L"cancelled",
             dlg.m_fileType, dlg.m_3dType, dlg.m_meshType);
}

const AcRxArxCommandEntry commands[] = {
    {L"PROBE_OPTIONS", L"_ProbeOptions", L"ProbeOptions", ACRX_CMD_TRANSPARENT, ProbeOptions, nullptr, 0},
};

class COptionsProbeApp : public AcRxArxApp {
 public:
  constexpr COptionsProbeApp() : AcRxArxApp(commands) {}
  AcRx::AppRetCode On_kInitAppMsg(void* pkt) override {
    m_hdllInstance = moduleInstance;
    return AcRxArxApp::On_kInitAppMsg(pkt);
  }
};

}  // namespace

IMPLEMENT_ARX_ENTRYPOINT(COptionsProbeApp)

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) moduleInstance = instance;
  return TRUE;
}
