#pragma once
// CDialog: a modal dialog built from its template resource, its controls
// kept in memory, answered by the installed dialog driver; and the data
// exchange between the controls and member fields.
#include <string>

#include "mfc/wnd.h"

class CDialog;

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

  // The control with that id; a missing one ends the exchange (Fail).
  HWND PrepareCtrl(int nIDC);
  // Ends the exchange: UpdateData returns FALSE.
  [[noreturn]] void Fail();

  BOOL m_bSaveAndValidate;  // TRUE: controls to fields; FALSE: fields to controls
  CWnd* m_pDlgWnd;
  HWND m_idLastControl = nullptr;
};

// The buttons of a radio group, from the control nIDC (which starts the
// group) to the next control that starts another; other controls in the
// range are skipped. Saving gives the index of the checked button, -1 when
// none is; loading checks the button at `value` and clears the others.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// The selected item of a combo box, -1 for none.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);

class CDialog : public CWnd {
 public:
  CDialog() = default;
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // IDOK or IDCANCEL (or what EndDialog was given); -1 when the dialog
  // cannot be made (no template, a malformed one, failed initialisation).
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

  // Runs the dialog's initialisation data (the items of its lists), then
  // shows the fields in the controls.
  virtual BOOL OnInitDialog();

 protected:
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* pDX);

  DECLARE_MESSAGE_MAP()

  LPCTSTR m_lpszTemplateName = nullptr;
  UINT m_nIDHelp = 0;
  CWnd* m_pParentWnd = nullptr;

 private:
  bool CreateFromTemplate(std::string& error);
  bool ExecuteDlgInit(std::string& error);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  std::wstring templateName_;  // a template named by text, kept alive
  bool inModal_ = false;
  bool ended_ = false;
  int modalResult_ = -1;
};
