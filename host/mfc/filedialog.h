#pragma once
// The common file dialog. The host has no windows: the dialog asks for the
// file name on the command line, as the CAD host does when file dialogs are
// switched off, and reads the answer from the host's input (a script line,
// the terminal, or lines a test pushed). An empty answer, "cancel" or the end
// of the input cancel the dialog.
#include "mfc/CString.h"
#include "mfc/wnd.h"
#include "win32/wintypes.h"

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000

class CFileDialog : public CWnd {
 public:
  explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                       CWnd* pParentWnd = nullptr, DWORD dwSize = 0, BOOL bVistaStyle = TRUE);
  ~CFileDialog() override = default;

  // IDOK with a file name, IDCANCEL otherwise.
  virtual INT_PTR DoModal();

  // The full path of the chosen file: a relative answer is taken from the
  // current folder, and the default extension is added to a name without one.
  CString GetPathName() const { return m_pathName; }
  CString GetFileName() const;
  CString GetFileExt() const;

  // The filter's first description ("IGES Files (*.igs, *.iges)").
  CString FilterDescription() const;

 private:
  BOOL m_open;
  CString m_defExt;
  CString m_initialName;
  DWORD m_flags;
  CString m_filter;
  CString m_pathName;
};
