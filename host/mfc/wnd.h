#pragma once
// CCmdTarget and CWnd: command routing through message maps, and the window
// wrapper over the host's in-memory windows.
#include "mfc/CString.h"
#include "win32/window.h"
#include "win32/wintypes.h"

class CCmdTarget;
class CWnd;

namespace arxhost {

// A message-map entry routes one command (WM_COMMAND with a notification
// code, for a range of control ids) to a member function without arguments.
using CommandHandler = void (CCmdTarget::*)();

struct MessageMapEntry {
  UINT message;
  UINT code;
  UINT firstId;
  UINT lastId;
  CommandHandler handler;
};

// Each class's map lists its own entries and links to its base class's.
struct MessageMap {
  const MessageMap* (*base)();
  const MessageMapEntry* entries;  // ends with an entry whose handler is null
};

}  // namespace arxhost

// Marks message handlers in class declarations.
#ifndef afx_msg
#define afx_msg
#endif

// In the class: DECLARE_MESSAGE_MAP(). In its source file:
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//     ON_BN_CLICKED(IDC_BUTTON, &CMyDlg::OnButton)
//   END_MESSAGE_MAP()
#define DECLARE_MESSAGE_MAP()                                 \
 protected:                                                   \
  static const ::arxhost::MessageMap* GetThisMessageMap();    \
  const ::arxhost::MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
  const ::arxhost::MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); }     \
  const ::arxhost::MessageMap* theClass::GetThisMessageMap() {                                     \
    using ThisClass [[maybe_unused]] = theClass;                                                                  \
    using TheBaseClass = baseClass;                                                                \
    static const ::arxhost::MessageMapEntry entries[] = {
#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), static_cast<::arxhost::CommandHandler>(memberFxn)},
#define ON_CONTROL(code, id, memberFxn)                                        \
  {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
   static_cast<::arxhost::CommandHandler>(memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define END_MESSAGE_MAP()                                               \
  {0, 0, 0, 0, nullptr}};                                               \
  static const ::arxhost::MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
  return &map;                                                          \
  }

class CObject {
 public:
  virtual ~CObject() = default;
};

class CCmdTarget : public CObject {
 public:
  // Routes a command to the first matching entry of this object's maps,
  // most derived class first. FALSE when no entry takes it.
  virtual BOOL OnCmdMsg(UINT id, int code);

 protected:
  static const arxhost::MessageMap* GetThisMessageMap();
  virtual const arxhost::MessageMap* GetMessageMap() const;
};

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // The CWnd of a window: the object attached to it, or a temporary one
  // that lives as long as the window. Null for a handle that names none.
  static CWnd* FromHandle(HWND hWnd);

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return GetSafeHwnd(); }
  BOOL Attach(HWND hWnd);
  HWND Detach();

  CWnd* GetDlgItem(int nID) const;
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
  void SetWindowText(LPCTSTR text) { ::SetWindowTextW(m_hWnd, text); }
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
  UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
  virtual BOOL DestroyWindow();

  HWND m_hWnd = nullptr;

 protected:
  // WM_COMMAND: the control id in the low word, the notification code in the high.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  friend class CDialog;
};
