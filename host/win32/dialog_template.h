#pragma once
// Dialog resources in their binary form: dialog templates (DLGTEMPLATE and
// DLGTEMPLATEEX) and dialog initialisation data (RT_DLGINIT), read from the
// bytes of a module's resource and written by the resource compiler.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "win32/wintypes.h"

namespace arxhost {

struct DialogItemTemplate {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;  // -1 (IDC_STATIC) is stored as 0xFFFF in the old form
  // The window class: a name, or one of the predefined ordinals
  // (0x80 button, 0x81 edit, 0x82 static, 0x83 list box, 0x84 scroll bar,
  // 0x85 combo box), which reading turns into its name.
  std::wstring className;
  std::wstring text;
  WORD textOrdinal = 0;  // an icon or bitmap named by number in place of text
  std::vector<BYTE> creationData;
};

struct DialogTemplate {
  bool extended = true;  // DLGTEMPLATEEX
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::wstring menu;       // empty: none
  std::wstring className;  // empty: the standard dialog class
  std::wstring caption;
  WORD pointSize = 0;  // with DS_SETFONT
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::wstring typeface;
  std::vector<DialogItemTemplate> items;
};

// One entry of dialog initialisation data: a message (0x403 adds a string
// to a combo box, 0x401 to a list box) and its data for one control.
struct DialogInitEntry {
  int controlId = 0;
  WORD message = 0;
  std::vector<BYTE> data;
  // The data as 8-bit zero-terminated text.
  std::wstring Text() const;
};

inline constexpr WORD kDlgInitListAddString = 0x401;
inline constexpr WORD kDlgInitComboAddString = 0x403;

// Reading refuses truncated or inconsistent data with a message that says
// what is wrong and where.
std::optional<DialogTemplate> ParseDialogTemplate(std::span<const BYTE> bytes, std::string& error);
std::optional<std::vector<DialogInitEntry>> ParseDialogInit(std::span<const BYTE> bytes, std::string& error);

std::vector<BYTE> WriteDialogTemplate(const DialogTemplate& dialog);
std::vector<BYTE> WriteDialogInit(const std::vector<DialogInitEntry>& entries);

}  // namespace arxhost
