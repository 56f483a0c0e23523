#include "DllMain.h"

HINSTANCE ModuleInstance = nullptr;
CAcExtensionModule ExtensionModule;

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    ModuleInstance = hInstance;
    // A failure leaves the record unattached; the module still loads.
    ExtensionModule.AttachInstance(hInstance);
    InitAcUiDLL();
  } else if (dwReason == DLL_PROCESS_DETACH) {
    ExtensionModule.DetachInstance();
  }
  return TRUE;
}
