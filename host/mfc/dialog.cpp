#include "mfc/dialog.h"

#include <iostream>

#include "mfc/dialog_driver.h"
#include "mfc/dialog_resource.h"
#include "win32/dialog_template.h"
#include "win32/strconv.h"
#include "win32/winapi.h"

namespace {

// Thrown by CDataExchange::Fail, caught by UpdateData.
struct DataExchangeFailed {};

std::string ResourceName(LPCTSTR name) {
  if (!name) return "(none)";
  if (IS_INTRESOURCE(name)) return std::to_string(reinterpret_cast<ULONG_PTR>(name));
  return "\"" + arxhost::ToUtf8(name) + "\"";
}

void Report(const std::string& text) { std::cerr << "arxhost: " << text << '\n'; }

bool IsRadio(HWND h) {
  const arxhost::Window* w = arxhost::FindWindowObject(h);
  return w && (w->kind == arxhost::ControlKind::RadioButton || w->kind == arxhost::ControlKind::AutoRadioButton);
}

}  // namespace

// ---------------------------------------------------------------- data exchange

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (!control) {
    Report("data exchange: the dialog has no control " + std::to_string(nIDC) + ".");
    Fail();
  }
  m_idLastControl = control;
  return control;
}

void CDataExchange::Fail() { throw DataExchangeFailed{}; }

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (!(::GetWindowLongPtrW(control, GWL_STYLE) & WS_GROUP) || !IsRadio(control)) {
    Report("data exchange: control " + std::to_string(nIDC) + " does not start a group of radio buttons.");
    pDX->Fail();
  }
  if (pDX->m_bSaveAndValidate) value = -1;
  int index = 0;
  do {
    if (IsRadio(control)) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessageW(control, BM_GETCHECK, 0, 0) != BST_UNCHECKED) value = index;
      } else {
        ::SendMessageW(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++index;
    }
    control = ::GetWindow(control, GW_HWNDNEXT);
  } while (control && !(::GetWindowLongPtrW(control, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) index = static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
  else ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// ---------------------------------------------------------------- the dialog

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, &CDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : m_pParentWnd(pParentWnd) {
  if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName)) {
    templateName_ = lpszTemplateName;
    m_lpszTemplateName = templateName_.c_str();
  } else {
    m_lpszTemplateName = lpszTemplateName;
  }
}

CDialog::~CDialog() {
  if (m_hWnd) CWnd::DestroyWindow();
}

INT_PTR CDialog::DoModal() {
  if (m_hWnd) {
    Report("the dialog " + ResourceName(m_lpszTemplateName) + " is already open.");
    return -1;
  }
  ended_ = false;
  modalResult_ = -1;
  std::string error;
  if (!CreateFromTemplate(error)) {
    Report("the dialog " + ResourceName(m_lpszTemplateName) + " cannot be shown: " + error);
    return -1;
  }
  // Whatever the driver does, the dialog's windows go with the dialog.
  struct Closer {
    CDialog* dialog;
    ~Closer() {
      dialog->inModal_ = false;
      dialog->CWnd::DestroyWindow();
    }
  } closer{this};
  inModal_ = true;

  OnInitDialog();
  if (!ended_) {
    arxhost::ModalDialog session(m_hWnd, [this] { return ended_; });
    arxhost::GetDialogDriver()->Answer(session);
    if (!ended_) ::SendMessageW(m_hWnd, WM_COMMAND, IDCANCEL, 0);
    if (!ended_) EndDialog(IDCANCEL);  // an OnCancel that does not close
  }
  return modalResult_;
}

void CDialog::EndDialog(int nResult) {
  modalResult_ = nResult;
  ended_ = true;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const DataExchangeFailed&) {
    return FALSE;
  }
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  std::string error;
  if (!ExecuteDlgInit(error)) {
    Report("the dialog " + ResourceName(m_lpszTemplateName) + " cannot be initialised: " + error);
    EndDialog(-1);
    return FALSE;
  }
  if (!UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::CreateFromTemplate(std::string& error) {
  auto bytes = arxhost::FindCurrentResource(RT_DIALOG, m_lpszTemplateName);
  if (!bytes) {
    error = "the module has no dialog template " + ResourceName(m_lpszTemplateName) + ".";
    return false;
  }
  auto parsed = arxhost::ParseDialogTemplate(*bytes, error);
  if (!parsed) return false;

  arxhost::Window dialog;
  dialog.kind = arxhost::ControlKind::Dialog;
  dialog.className = parsed->className.empty() ? L"#32770" : parsed->className;
  dialog.text = parsed->caption;
  dialog.style = parsed->style;
  dialog.exStyle = parsed->exStyle;
  dialog.x = parsed->x;
  dialog.y = parsed->y;
  dialog.cx = parsed->cx;
  dialog.cy = parsed->cy;
  dialog.proc = [this](UINT message, WPARAM wParam, LPARAM lParam) { return WindowProc(message, wParam, lParam); };
  HWND handle = arxhost::CreateWindowObject(std::move(dialog));
  for (const auto& item : parsed->items) {
    arxhost::Window control;
    control.parent = handle;
    control.id = item.id;
    control.className = item.className;
    control.kind = arxhost::KindOf(item.className, item.style);
    if (control.kind != arxhost::ControlKind::ComboBox) control.text = item.text;
    control.style = item.style;
    control.exStyle = item.exStyle;
    control.x = item.x;
    control.y = item.y;
    control.cx = item.cx;
    control.cy = item.cy;
    arxhost::CreateWindowObject(std::move(control));
  }
  Attach(handle);
  return true;
}

bool CDialog::ExecuteDlgInit(std::string& error) {
  auto bytes = arxhost::FindCurrentResource(RT_DLGINIT, m_lpszTemplateName);
  if (!bytes) return true;  // a dialog without initialisation data
  auto entries = arxhost::ParseDialogInit(*bytes, error);
  if (!entries) return false;
  for (const auto& entry : *entries) {
    HWND control = ::GetDlgItem(m_hWnd, entry.controlId);
    const arxhost::Window* w = arxhost::FindWindowObject(control);
    if (!w) {
      error = "its initialisation data is for control " + std::to_string(entry.controlId) + ", which it lacks.";
      return false;
    }
    const std::wstring text = entry.Text();
    if (entry.message == arxhost::kDlgInitComboAddString || entry.message == arxhost::kDlgInitListAddString) {
      const bool combo = entry.message == arxhost::kDlgInitComboAddString;
      if (w->kind != (combo ? arxhost::ControlKind::ComboBox : arxhost::ControlKind::ListBox)) {
        error = "its initialisation data adds list items to control " + std::to_string(entry.controlId) +
                ", which is a " + arxhost::KindName(w->kind) + ".";
        return false;
      }
      ::SendMessageW(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    } else {
      ::SendMessageW(control, entry.message, 0, reinterpret_cast<LPARAM>(entry.data.data()));
    }
  }
  return true;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(wParam, lParam);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) return ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE: {
      // The close box cancels, unless the dialog's Cancel button is disabled.
      HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL);
      if (cancel && !::IsWindowEnabled(cancel)) return 0;
      return ::SendMessageW(m_hWnd, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(cancel));
    }
    default:
      return 0;
  }
}
