#include "mfc/filedialog.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "win32/input.h"
#include "win32/strconv.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd*, DWORD, BOOL)
    : m_open(bOpenFileDialog),
      m_defExt(lpszDefExt),
      m_initialName(lpszFileName),
      m_flags(dwFlags),
      m_filter(lpszFilter) {}

CString CFileDialog::FilterDescription() const {
  int bar = m_filter.Find(L'|');
  return bar < 0 ? m_filter : m_filter.Left(bar);
}

INT_PTR CFileDialog::DoModal() {
  CString prompt = m_open ? L"Enter name of file to open" : L"Enter name of file to save";
  CString filter = FilterDescription();
  if (!filter.IsEmpty()) prompt += L" <" + filter + L">";
  prompt += L": ";
  std::optional<std::wstring> answer = arxhost::Input::Prompt(prompt.GetString());
  if (!answer) return IDCANCEL;
  CString name(*answer);
  name.Trim();
  if (name.GetLength() >= 2 && name[0] == L'"' && name[name.GetLength() - 1] == L'"') name = name.Mid(1, name.GetLength() - 2);
  if (name.IsEmpty() || name.CompareNoCase(L"cancel") == 0) return IDCANCEL;

  std::filesystem::path path(arxhost::NativePath(name.GetString()));
  if (!m_defExt.IsEmpty() && !path.has_extension()) path += "." + arxhost::ToUtf8(m_defExt.GetString());
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  m_pathName = arxhost::FromUtf8((ec ? path : absolute).lexically_normal().string());
  if ((m_flags & OFN_FILEMUSTEXIST) && !std::filesystem::exists(path, ec)) return IDCANCEL;
  return IDOK;
}

CString CFileDialog::GetFileName() const {
  int sep = std::max(m_pathName.ReverseFind(L'/'), m_pathName.ReverseFind(L'\\'));
  return m_pathName.Mid(sep + 1);
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind(L'.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}
