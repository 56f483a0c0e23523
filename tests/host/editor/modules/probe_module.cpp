// A small module for the loader tests: it reports its life cycle into the
// transcript and registers two commands, of which it removes only one at
// unload (the host must drop the other).
#include "arx/arxheaders.h"

namespace {

HINSTANCE moduleInstance = nullptr;

void ProbeCommand() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(moduleInstance, path, MAX_PATH);
  acutPrintf(L"probe ran from %s\n", path);
}

void LeftBehind() { acutPrintf(L"left behind\n"); }

const AcRxArxCommandEntry commands[] = {
    {L"PROBE_GROUP", L"_Probe", L"Probe", ACRX_CMD_TRANSPARENT, ProbeCommand, nullptr, 0},
};

class CProbeApp : public AcRxArxApp {
 public:
  constexpr CProbeApp() : AcRxArxApp(commands) {}
  AcRx::AppRetCode On_kInitAppMsg(void* pkt) override {
    m_hdllInstance = moduleInstance;
    AcRx::AppRetCode result = AcRxArxApp::On_kInitAppMsg(pkt);
    acedRegCmds->addCommand(L"PROBE_GROUP", L"_LeftBehind", L"LeftBehind", 0, LeftBehind);
    acutPrintf(L"probe: init\n");
    return result;
  }
  AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override {
    acutPrintf(L"probe: unload\n");
    return AcRxArxApp::On_kUnloadAppMsg(pkt);
  }
};

}  // namespace

IMPLEMENT_ARX_ENTRYPOINT(CProbeApp)

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    moduleInstance = instance;
    acutPrintf(L"probe: attach\n");
  } else if (reason == DLL_PROCESS_DETACH) {
    acutPrintf(L"probe: detach\n");
  }
  return TRUE;
}
