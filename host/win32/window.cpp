#include "win32/window.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>

namespace arxhost {
namespace {

std::map<ULONG_PTR, std::unique_ptr<Window>>& Windows() {
  static std::map<ULONG_PTR, std::unique_ptr<Window>> windows;
  return windows;
}
ULONG_PTR gNextHandle = 0x10000;

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return s;
}

bool Usable(const Window& w) { return !(w.style & WS_DISABLED) && (w.style & WS_VISIBLE); }

// The siblings that share w's group: from the last control at or before it
// that starts a group to the next one that starts another.
std::vector<Window*> GroupOf(Window& w) {
  std::vector<Window*> group;
  Window* parent = FindWindowObject(w.parent);
  if (!parent) return {&w};
  const auto& sibs = parent->children;
  auto at = std::find(sibs.begin(), sibs.end(), w.handle);
  if (at == sibs.end()) return {&w};
  size_t first = static_cast<size_t>(at - sibs.begin());
  while (first > 0) {
    Window* s = FindWindowObject(sibs[first]);
    if (s && (s->style & WS_GROUP)) break;
    --first;
  }
  for (size_t i = first; i < sibs.size(); ++i) {
    Window* s = FindWindowObject(sibs[i]);
    if (!s) continue;
    if (i > first && (s->style & WS_GROUP)) break;
    group.push_back(s);
  }
  return group;
}

void Notify(const Window& control, WORD code) {
  WPARAM wParam = static_cast<WPARAM>(static_cast<WORD>(control.id)) | (static_cast<WPARAM>(code) << 16);
  SendMessageW(control.parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control.handle));
}

LRESULT CopyText(const std::wstring& text, WPARAM room, LPARAM buffer) {
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  if (!out || room == 0) return 0;
  size_t n = std::min<size_t>(text.size(), room - 1);
  std::copy_n(text.begin(), n, out);
  out[n] = L'\0';
  return static_cast<LRESULT>(n);
}

bool IsList(const Window& w) { return w.kind == ControlKind::ComboBox || w.kind == ControlKind::ListBox; }

void SyncListText(Window& w) {
  if (w.kind == ControlKind::ComboBox && (w.style & 0x3) == CBS_DROPDOWNLIST)
    w.text = w.selection >= 0 ? w.items[static_cast<size_t>(w.selection)] : std::wstring();
}

LRESULT AddItem(Window& w, const wchar_t* text, long index) {
  std::wstring item = text ? text : L"";
  const DWORD sortFlag = w.kind == ControlKind::ComboBox ? CBS_SORT : 0x2 /* LBS_SORT */;
  size_t at = w.items.size();
  if (index >= 0) {
    if (static_cast<size_t>(index) > w.items.size()) return CB_ERR;
    at = static_cast<size_t>(index);
  } else if (w.style & sortFlag) {
    at = static_cast<size_t>(std::upper_bound(w.items.begin(), w.items.end(), item,
                                              [](const std::wstring& a, const std::wstring& b) {
                                                return Lower(a) < Lower(b);
                                              }) -
                             w.items.begin());
  }
  w.items.insert(w.items.begin() + static_cast<long>(at), std::move(item));
  if (w.selection >= static_cast<int>(at)) ++w.selection;
  return static_cast<LRESULT>(at);
}

}  // namespace

ControlKind KindOf(const std::wstring& className, DWORD style) {
  const std::wstring name = Lower(className);
  if (name == L"button") {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON: return ControlKind::PushButton;
      case BS_DEFPUSHBUTTON: return ControlKind::DefPushButton;
      case BS_CHECKBOX: case BS_3STATE: return ControlKind::CheckBox;
      case BS_AUTOCHECKBOX: case BS_AUTO3STATE: return ControlKind::AutoCheckBox;
      case BS_RADIOBUTTON: return ControlKind::RadioButton;
      case BS_AUTORADIOBUTTON: return ControlKind::AutoRadioButton;
      case BS_GROUPBOX: return ControlKind::GroupBox;
      default: return ControlKind::PushButton;
    }
  }
  if (name == L"static") return ControlKind::Static;
  if (name == L"edit") return ControlKind::Edit;
  if (name == L"combobox") return ControlKind::ComboBox;
  if (name == L"listbox") return ControlKind::ListBox;
  if (name == L"scrollbar") return ControlKind::ScrollBar;
  return ControlKind::Other;
}

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Dialog: return "dialog";
    case ControlKind::PushButton: return "push button";
    case ControlKind::DefPushButton: return "default push button";
    case ControlKind::CheckBox: return "check box";
    case ControlKind::AutoCheckBox: return "auto check box";
    case ControlKind::RadioButton: return "radio button";
    case ControlKind::AutoRadioButton: return "auto radio button";
    case ControlKind::GroupBox: return "group box";
    case ControlKind::Static: return "static";
    case ControlKind::Edit: return "edit";
    case ControlKind::ComboBox: return "combo box";
    case ControlKind::ListBox: return "list box";
    case ControlKind::ScrollBar: return "scroll bar";
    case ControlKind::Other: return "control";
  }
  return "control";
}

bool IsButton(ControlKind kind) {
  return kind == ControlKind::PushButton || kind == ControlKind::DefPushButton || kind == ControlKind::CheckBox ||
         kind == ControlKind::AutoCheckBox || kind == ControlKind::RadioButton ||
         kind == ControlKind::AutoRadioButton;
}

HWND CreateWindowObject(Window window) {
  HWND handle = reinterpret_cast<HWND>(gNextHandle);
  gNextHandle += 4;
  window.handle = handle;
  HWND parent = window.parent;
  Windows()[reinterpret_cast<ULONG_PTR>(handle)] = std::make_unique<Window>(std::move(window));
  if (Window* p = FindWindowObject(parent)) p->children.push_back(handle);
  return handle;
}

Window* FindWindowObject(HWND handle) {
  auto it = Windows().find(reinterpret_cast<ULONG_PTR>(handle));
  return it == Windows().end() ? nullptr : it->second.get();
}

bool ClickControl(HWND control) {
  Window* w = FindWindowObject(control);
  if (!w || !Usable(*w) || !IsButton(w->kind)) return false;
  if (w->kind == ControlKind::AutoCheckBox) {
    const bool threeState = (w->style & BS_TYPEMASK) == BS_AUTO3STATE;
    w->check = w->check == BST_UNCHECKED ? BST_CHECKED
               : (w->check == BST_CHECKED && threeState) ? BST_INDETERMINATE
                                                         : BST_UNCHECKED;
  } else if (w->kind == ControlKind::AutoRadioButton) {
    for (Window* s : GroupOf(*w))
      if (s->kind == ControlKind::AutoRadioButton) s->check = BST_UNCHECKED;
    w->check = BST_CHECKED;
  }
  Notify(*w, BN_CLICKED);
  return true;
}

bool SelectItem(HWND control, int index) {
  Window* w = FindWindowObject(control);
  if (!w || !Usable(*w) || !IsList(*w)) return false;
  if (index < 0 || index >= static_cast<int>(w->items.size())) return false;
  w->selection = index;
  SyncListText(*w);
  Notify(*w, CBN_SELCHANGE);
  return true;
}

}  // namespace arxhost

using arxhost::ControlKind;
using arxhost::FindWindowObject;
using arxhost::Window;

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
  Window* dialog = FindWindowObject(hDlg);
  if (!dialog) return nullptr;
  for (HWND child : dialog->children)
    if (Window* c = FindWindowObject(child); c && c->id == nIDDlgItem) return child;
  return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
  Window* w = FindWindowObject(hWnd);
  return w && w->parent ? w->id : 0;
}

HWND GetParent(HWND hWnd) {
  Window* w = FindWindowObject(hWnd);
  return w ? w->parent : nullptr;
}

HWND GetWindow(HWND hWnd, UINT uCmd) {
  Window* w = FindWindowObject(hWnd);
  if (!w) return nullptr;
  if (uCmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (uCmd == GW_OWNER) return nullptr;
  Window* parent = FindWindowObject(w->parent);
  if (!parent) return nullptr;
  const auto& sibs = parent->children;
  auto at = std::find(sibs.begin(), sibs.end(), hWnd);
  switch (uCmd) {
    case GW_HWNDFIRST: return sibs.front();
    case GW_HWNDLAST: return sibs.back();
    case GW_HWNDNEXT: return at + 1 < sibs.end() ? *(at + 1) : nullptr;
    case GW_HWNDPREV: return at > sibs.begin() ? *(at - 1) : nullptr;
    default: return nullptr;
  }
}

BOOL IsWindow(HWND hWnd) { return FindWindowObject(hWnd) ? TRUE : FALSE; }

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
  Window* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (bEnable) w->style &= ~static_cast<DWORD>(WS_DISABLED);
  else w->style |= WS_DISABLED;
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd) {
  Window* w = FindWindowObject(hWnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex) {
  Window* w = FindWindowObject(hWnd);
  if (!w) return 0;
  switch (nIndex) {
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle);
    case GWL_ID: return w->id;
    default: return 0;
  }
}

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, nMaxCount > 0 ? nMaxCount : 0,
                                       reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthW(HWND hWnd) { return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* w = FindWindowObject(hWnd);
  if (!w) return 0;
  switch (Msg) {
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
      return TRUE;
    case WM_GETTEXT: return arxhost::CopyText(w->text, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_COMMAND:
    case WM_CLOSE:
    case WM_SYSCOMMAND:
      return w->proc ? w->proc(Msg, wParam, lParam) : 0;
    default: break;
  }
  if (arxhost::IsButton(w->kind)) {
    switch (Msg) {
      case BM_GETCHECK: return w->check;
      case BM_SETCHECK: w->check = static_cast<UINT>(wParam); return 0;
      case BM_CLICK: arxhost::ClickControl(hWnd); return 0;
      default: return 0;
    }
  }
  const bool combo = w->kind == ControlKind::ComboBox;
  if (!combo && w->kind != ControlKind::ListBox) return 0;
  const long count = static_cast<long>(w->items.size());
  const long index = static_cast<long>(static_cast<int>(wParam));
  // List boxes answer the same questions under other numbers.
  const UINT msg = combo ? Msg
                   : Msg == LB_ADDSTRING ? CB_ADDSTRING
                   : Msg == LB_GETCOUNT  ? CB_GETCOUNT
                   : Msg == LB_GETCURSEL ? CB_GETCURSEL
                   : Msg == LB_SETCURSEL ? CB_SETCURSEL
                                         : 0;
  switch (msg) {
    case CB_ADDSTRING: return arxhost::AddItem(*w, reinterpret_cast<const wchar_t*>(lParam), -1);
    case CB_INSERTSTRING: return arxhost::AddItem(*w, reinterpret_cast<const wchar_t*>(lParam), index);
    case CB_GETCOUNT: return count;
    case CB_GETCURSEL: return w->selection;
    case CB_SETCURSEL:
      w->selection = index >= 0 && index < count ? static_cast<int>(index) : -1;
      arxhost::SyncListText(*w);
      return w->selection >= 0 ? w->selection : CB_ERR;
    case CB_GETLBTEXTLEN:
      return index >= 0 && index < count ? static_cast<LRESULT>(w->items[static_cast<size_t>(index)].size()) : CB_ERR;
    case CB_GETLBTEXT: {
      if (index < 0 || index >= count || !lParam) return CB_ERR;
      const std::wstring& item = w->items[static_cast<size_t>(index)];
      std::copy(item.begin(), item.end(), reinterpret_cast<wchar_t*>(lParam));
      reinterpret_cast<wchar_t*>(lParam)[item.size()] = L'\0';
      return static_cast<LRESULT>(item.size());
    }
    case CB_RESETCONTENT:
      w->items.clear();
      w->selection = -1;
      arxhost::SyncListText(*w);
      return 0;
    default: return 0;
  }
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
  HWND button = GetDlgItem(hDlg, nIDButton);
  if (!button) return FALSE;
  SendMessageW(button, BM_SETCHECK, uCheck, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton) {
  HWND button = GetDlgItem(hDlg, nIDButton);
  return button ? static_cast<UINT>(SendMessageW(button, BM_GETCHECK, 0, 0)) : 0;
}

BOOL DestroyWindow(HWND hWnd) {
  Window* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  for (HWND child : std::vector<HWND>(w->children)) DestroyWindow(child);
  if (Window* parent = FindWindowObject(w->parent)) std::erase(parent->children, hWnd);
  arxhost::Windows().erase(reinterpret_cast<ULONG_PTR>(hWnd));
  return TRUE;
}
