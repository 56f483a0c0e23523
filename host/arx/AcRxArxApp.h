#pragma once
// The application framework of modules: an application class receives the
// host's messages through one handler per message, and its command map (a
// table of AcRxArxCommandEntry records) is registered at kInitAppMsg and
// removed at kUnloadAppMsg.
//
//   class CMyApp : public AcRxArxApp { ... };
//   IMPLEMENT_ARX_ENTRYPOINT(CMyApp)   // defines theApp and acrxEntryPoint
#include <span>

#include "arx/dynlinker.h"
#include "arx/edcommand.h"
#include "arx/rxentry.h"
#include "win32/winapi.h"

// One command of a command map.
struct AcRxArxCommandEntry {
  const ACHAR* groupName;
  const ACHAR* globalName;
  const ACHAR* localName;  // null: loaded from the string table by localNameId
  Adesk::Int32 flags;
  AcRxFunctionPtr function;
  AcEdUIContext* uiContext;
  UINT localNameId;
};

class AcRxDbxApp {
 public:
  // Constant: an application object needs no constructor code to run.
  constexpr AcRxDbxApp() = default;
  virtual ~AcRxDbxApp() = default;

  // Messages 0 to 15 go to their handler; anything else (compared as an
  // unsigned number) has none and is answered kRetOK.
  AcRx::AppRetCode EntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    switch (static_cast<unsigned>(msg)) {
      case AcRx::kNullMsg: return On_kNullMsg(pkt);
      case AcRx::kInitAppMsg: return On_kInitAppMsg(pkt);
      case AcRx::kUnloadAppMsg: return On_kUnloadAppMsg(pkt);
      case AcRx::kLoadDwgMsg: return On_kLoadDwgMsg(pkt);
      case AcRx::kUnloadDwgMsg: return On_kUnloadDwgMsg(pkt);
      case AcRx::kInvkSubrMsg: return On_kInvkSubrMsg(pkt);
      case AcRx::kCfgMsg: return On_kCfgMsg(pkt);
      case AcRx::kEndMsg: return On_kEndMsg(pkt);
      case AcRx::kQuitMsg: return On_kQuitMsg(pkt);
      case AcRx::kSaveMsg: return On_kSaveMsg(pkt);
      case AcRx::kDependencyMsg: return On_kDependencyMsg(pkt);
      case AcRx::kNoDependencyMsg: return On_kNoDependencyMsg(pkt);
      case AcRx::kOleUnloadAppMsg: return On_kOleUnloadAppMsg(pkt);
      case AcRx::kPreQuitMsg: return On_kPreQuitMsg(pkt);
      case AcRx::kInitDialogMsg: return On_kInitDialogMsg(pkt);
      case AcRx::kEndDialogMsg: return On_kEndDialogMsg(pkt);
      default: return AcRx::kRetOK;
    }
  }

  // In slot order.
  virtual AcRx::AppRetCode On_kInitAppMsg(void* pkt) {
    if (AcRxDynamicLinker* linker = acrxDynamicLinker) {
      if (m_bUnlocked) linker->unlockApplication(pkt);
      if (m_bMDIAware) linker->registerAppMDIAware(pkt);
    }
    RegisterServerComponents();
    return AcRx::kRetOK;
  }
  virtual AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kLoadDwgMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kUnloadDwgMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kInvkSubrMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kCfgMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kEndMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kQuitMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kSaveMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kDependencyMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kNoDependencyMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kOleUnloadAppMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kPreQuitMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kInitDialogMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kEndDialogMsg(void* pkt) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kNullMsg(void* pkt) { return AcRx::kRetOK; }
  virtual void RegisterServerComponents() {}

  HINSTANCE m_hdllInstance = nullptr;
  bool m_bUnlocked = true;
  bool m_bMDIAware = true;
};

class AcRxArxApp : public AcRxDbxApp {
 public:
  constexpr AcRxArxApp() = default;
  constexpr explicit AcRxArxApp(std::span<const AcRxArxCommandEntry> commands) : m_commands(commands) {}

  // The base's work, then every command of the map, in table order.
  AcRx::AppRetCode On_kInitAppMsg(void* pkt) override {
    AcRx::AppRetCode result = AcRxDbxApp::On_kInitAppMsg(pkt);
    AcEdCommandStack* stack = acedRegCmds;
    for (const AcRxArxCommandEntry& entry : m_commands) {
      if (!stack) break;
      ACHAR localName[132] = {0};
      const ACHAR* local = entry.localName;
      if (!local) {
        LoadStringW(m_hdllInstance, entry.localNameId, localName, 132);
        local = localName;
      }
      HINSTANCE resource = (entry.flags & ACRX_CMD_SESSION) ? nullptr : m_hdllInstance;
      stack->addCommand(entry.groupName, entry.globalName, local, entry.flags, entry.function, entry.uiContext, -1,
                        resource, nullptr);
    }
    return result;
  }

  AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override {
    AcRx::AppRetCode result = AcRxDbxApp::On_kUnloadAppMsg(pkt);
    if (AcEdCommandStack* stack = acedRegCmds)
      for (const AcRxArxCommandEntry& entry : m_commands) stack->removeCmd(entry.groupName, entry.globalName);
    return result;
  }

 protected:
  std::span<const AcRxArxCommandEntry> m_commands;
};

#define IMPLEMENT_ARX_ENTRYPOINT(classname)                                   \
  constinit classname theApp;                                                 \
  extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) { \
    return theApp.EntryPoint(msg, pkt);                                       \
  }
