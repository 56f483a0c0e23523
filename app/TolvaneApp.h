#pragma once
// The application object of the module: receives the host's messages.
#include "StdAfx.h"

class CTolvaneApp : public AcRxArxApp {
 public:
  constexpr CTolvaneApp();

  // The module's instance, the framework's registration (unlock, MDI
  // awareness, the command table), then the partial menu.
  AcRx::AppRetCode On_kInitAppMsg(void* pkt) override;
  // The framework removes the commands; the menu stays loaded.
  AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override;
  void RegisterServerComponents() override;
};

extern CTolvaneApp theApp;
