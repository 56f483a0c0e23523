#pragma once
// The host's menus: the menu groups loaded from .mnu files (command
// _menuload, or MENULOAD) and the menu bar of pull-down menus that
// acedMenuCmd("Pn=+Group.popN") fills. The host command MENUBAR lists it.
#include <string>
#include <vector>

#include "editor/mnufile.h"

namespace arxhost {

struct MenuBarEntry {
  std::wstring group;    // "Tolvane"
  std::wstring section;  // "POP1"
};

class Menus {
 public:
  // Loads a menu file as a partial menu; a group of the same name is
  // replaced. Reports a missing or broken file in the transcript.
  static bool LoadFile(const std::wstring& path);
  static const MenuGroup* Group(const std::wstring& name);
  static std::vector<std::wstring> GroupNames();
  // The files _menuload was asked for, in order (tests).
  static const std::vector<std::wstring>& LoadRequests();
  // Menu commands; RTNORM or RTERROR.
  static int MenuCommand(const std::wstring& command);
  static const std::vector<MenuBarEntry>& Bar();
  // Forgets every group and empties the bar (tests).
  static void Reset();
};

}  // namespace arxhost
