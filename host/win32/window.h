#pragma once
// Windows as the host keeps them: in memory, with the state a dialog's
// controls have on screen (text, style, enabled, checked, items, selection),
// and the Win32 functions that plug-in code and the class library use on
// them. Nothing is drawn; dialog drivers read and act on this state.
#include <functional>
#include <string>
#include <vector>

#include "win32/wintypes.h"

#ifndef WS_POPUP
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_CAPTION 0x00C00000L
#define WS_SYSMENU 0x00080000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_STATICEDGE 0x00020000L
#endif

#ifndef DS_SETFONT
#define DS_ABSALIGN 0x01L
#define DS_SYSMODAL 0x02L
#define DS_3DLOOK 0x04L
#define DS_FIXEDSYS 0x08L
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_CENTER 0x0800L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)
#endif

#ifndef BS_PUSHBUTTON
#define BS_PUSHBUTTON 0x0L
#define BS_DEFPUSHBUTTON 0x1L
#define BS_CHECKBOX 0x2L
#define BS_AUTOCHECKBOX 0x3L
#define BS_RADIOBUTTON 0x4L
#define BS_3STATE 0x5L
#define BS_AUTO3STATE 0x6L
#define BS_GROUPBOX 0x7L
#define BS_AUTORADIOBUTTON 0x9L
#define BS_TYPEMASK 0xFL
#define BS_LEFTTEXT 0x20L
#endif

#ifndef SS_LEFT
#define SS_LEFT 0x0L
#define SS_CENTER 0x1L
#define SS_RIGHT 0x2L
#define SS_ICON 0x3L
#define SS_BLACKRECT 0x4L
#define SS_ETCHEDHORZ 0x10L
#define SS_ETCHEDVERT 0x11L
#define SS_ETCHEDFRAME 0x12L
#define SS_TYPEMASK 0x1FL
#define SS_NOPREFIX 0x80L
#define SS_SUNKEN 0x1000L
#endif

#ifndef CBS_SIMPLE
#define CBS_SIMPLE 0x1L
#define CBS_DROPDOWN 0x2L
#define CBS_DROPDOWNLIST 0x3L
#define CBS_SORT 0x100L
#define CBS_HASSTRINGS 0x200L
#endif

#ifndef ES_LEFT
#define ES_LEFT 0x0L
#define ES_AUTOHSCROLL 0x80L
#endif

#ifndef LBS_NOTIFY
#define LBS_NOTIFY 0x1L
#endif

// Messages.
#ifndef WM_COMMAND
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_CLOSE 0x0010
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#endif
#ifndef SC_CLOSE
#define SC_CLOSE 0xF060
#endif
#ifndef BM_GETCHECK
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0x0
#define BST_CHECKED 0x1
#define BST_INDETERMINATE 0x2
#endif
#ifndef BN_CLICKED
#define BN_CLICKED 0
#endif
#ifndef CB_ADDSTRING
#define CB_ERR (-1)
#define CB_ADDSTRING 0x0143
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_SETCURSEL 0x014E
#define CBN_SELCHANGE 1
#endif
#ifndef LB_ADDSTRING
#define LB_ERR (-1)
#define LB_ADDSTRING 0x0180
#define LB_GETCOUNT 0x018B
#define LB_GETCURSEL 0x0188
#define LB_SETCURSEL 0x0186
#endif

#ifndef GWL_STYLE
#define GWL_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#endif
#ifndef GW_HWNDFIRST
#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5
#endif

HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
int GetDlgCtrlID(HWND hWnd);
HWND GetParent(HWND hWnd);
HWND GetWindow(HWND hWnd, UINT uCmd);
BOOL IsWindow(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsWindowEnabled(HWND hWnd);
LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex);
int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
int GetWindowTextLengthW(HWND hWnd);
BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString);
LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
BOOL DestroyWindow(HWND hWnd);

namespace arxhost {

enum class ControlKind {
  Dialog,
  PushButton,
  DefPushButton,
  CheckBox,
  AutoCheckBox,
  RadioButton,
  AutoRadioButton,
  GroupBox,
  Static,
  Edit,
  ComboBox,
  ListBox,
  ScrollBar,
  Other,
};

// What a class name and style make of a control.
ControlKind KindOf(const std::wstring& className, DWORD style);
const char* KindName(ControlKind kind);
bool IsButton(ControlKind kind);

struct Window {
  HWND handle = nullptr;
  HWND parent = nullptr;
  int id = 0;
  ControlKind kind = ControlKind::Other;
  std::wstring className;
  std::wstring text;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  UINT check = BST_UNCHECKED;
  std::vector<std::wstring> items;
  int selection = -1;
  std::vector<HWND> children;  // in template order, which is the z and tab order
  // A dialog's own handling of WM_COMMAND, WM_CLOSE and WM_SYSCOMMAND.
  std::function<LRESULT(UINT, WPARAM, LPARAM)> proc;
};

// Makes a window (a child joins its parent's children) and gives its handle.
HWND CreateWindowObject(Window window);
// The window behind a handle; null for a handle that names none.
Window* FindWindowObject(HWND handle);

// What a user's click does to a button: an auto check box toggles, an auto
// radio button is checked and the other auto radio buttons of its group
// cleared; then the parent is told with BN_CLICKED. A disabled control
// takes no click and the result is false.
bool ClickControl(HWND control);
// A user's choice of item `index` in a list: selects it and tells the
// parent with CBN_SELCHANGE. False when disabled or out of range.
bool SelectItem(HWND control, int index);

}  // namespace arxhost
