#pragma once
// What a module exports to the host: DllMain (the loader calls it with
// DLL_PROCESS_ATTACH and DLL_PROCESS_DETACH), acrxEntryPoint (application
// messages) and acrxGetApiVersion (the interface handshake). Declared here
// with default visibility, so that the module's definitions are exported.
#include "arx/rxdefs.h"
#include "win32/exports.h"

extern "C" ARXHOST_EXPORT BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
extern "C" ARXHOST_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);
// Comes with the module interface (the arxmodule library every module links),
// not with the module's own code.
extern "C" ARXHOST_EXPORT int acrxGetApiVersion();
