#pragma once
// The command stack: the commands that modules register, in groups. Names
// are compared without regard to case; the group added last is searched
// first.
#include <memory>
#include <string>
#include <vector>

#include "arx/ErrorStatus.h"
#include "arx/rxobject.h"

class AcEdUIContext {
 public:
  virtual ~AcEdUIContext() = default;
};

class AcEdCommand : public AcRxObject {
 public:
  virtual AcRxFunctionPtr functionAddr() const = 0;
  virtual int functionCode() const = 0;
  virtual Adesk::Int32 commandFlags() const = 0;
  virtual AcEdUIContext* UIContext() const = 0;
  virtual HINSTANCE resourceHandle() const = 0;
  virtual const ACHAR* globalName() const = 0;
  virtual const ACHAR* localName() const = 0;
  // The host's own addition: the group the command belongs to.
  virtual const ACHAR* groupName() const = 0;
};

class AcEdCommandStack : public AcRxObject {
 public:
  // eInvalidInput for a missing or empty group or global name or a null
  // function; eDuplicateKey when the group has a command of that global or
  // local name already.
  virtual Acad::ErrorStatus addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                                       const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                                       AcRxFunctionPtr functionAddr, AcEdUIContext* UIContext = nullptr,
                                       int fcode = -1, HINSTANCE hResourceHandle = nullptr,
                                       AcEdCommand** cmdPtrRet = nullptr) = 0;
  virtual AcEdCommand* lookupGlobalCmd(const ACHAR* cmdName) = 0;
  virtual AcEdCommand* lookupLocalCmd(const ACHAR* cmdName) = 0;
  virtual AcEdCommand* lookupCmd(const ACHAR* cmdName, bool globalFlag) = 0;
  // eKeyNotFound when the group or the command does not exist.
  virtual Acad::ErrorStatus removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName) = 0;
  virtual Acad::ErrorStatus removeGroup(const ACHAR* groupName) = 0;
  virtual Acad::ErrorStatus popGroupToTop(const ACHAR* groupName) = 0;

  // The host's own additions: the groups from top to bottom, and a group's
  // commands in the order they were added.
  virtual std::vector<std::wstring> groupNames() const = 0;
  virtual std::vector<AcEdCommand*> commandsOf(const ACHAR* groupName) const = 0;
};

#define acedRegCmds (dynamic_cast<AcEdCommandStack*>(acrxSysRegistry()->at(ACRX_COMMAND_DOCK)))
