#pragma once
// The menu source format (.mnu) as far as partial menus use it:
//
//   //  comment
//   ***MENUGROUP=Tolvane        the group's name (required, once)
//   ***POP1                     a pull-down menu (POP0 to POP499)
//   **TOLVANE_POP               its alias (optional)
//   ID_Main  [&Tolvane]         the first item is the menu's title
//   ID_Imp   [&Import...]^C^C_Tolvane
//            [--]               a separator
//            [->More]  ...  [<-Last]^C^C_Cmd   a submenu
//
// Other sections (BUTTONSn, AUXn, TOOLBARS, IMAGE, SCREEN, TABLETn,
// HELPSTRINGS, ACCELERATORS) are accepted and not kept.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arxhost {

struct MenuItem {
  std::wstring id;     // "ID_Imp", may be empty
  std::wstring label;  // as written, with its '&' and submenu marks
  std::wstring macro;  // "^C^C_Tolvane"
  int depth = 0;       // submenu nesting, 0 for the menu's own items
  bool separator = false;
};

struct PullDownMenu {
  std::wstring section;  // "POP1"
  std::wstring alias;    // "TOLVANE_POP", may be empty
  std::wstring title;    // the title item's label
  std::vector<MenuItem> items;
};

struct MenuGroup {
  std::wstring name;
  std::vector<PullDownMenu> pullDowns;
};

struct MnuError {
  int line = 0;  // 1-based; 0 for the file as a whole
  std::wstring what;
};

// Parses the text of a .mnu file; nullopt and *error for a broken one.
std::optional<MenuGroup> ParseMnu(std::wstring_view text, MnuError* error);

// The label as a menu shows it: without '&' (a doubled one stays) and
// without submenu marks.
std::wstring DisplayLabel(std::wstring_view label);

}  // namespace arxhost
