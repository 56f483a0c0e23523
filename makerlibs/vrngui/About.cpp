#include "VRNGUIUtils.h"

#include "mfc/afxext.h"
#include "win32/winapi.h"

namespace {

// A text of the first version resource MFC finds (the current resource
// module, then the chain of extension modules).
CString VersionText(const wchar_t* key) {
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(VS_VERSION_INFO), RT_VERSION);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCE(VS_VERSION_INFO), RT_VERSION);
  if (!resource) return CString();
  void* block = LockResource(LoadResource(module, resource));
  if (!block || SizeofResource(module, resource) < 6) return CString();
  // The first translation names the string table to read.
  void* translation = nullptr;
  UINT length = 0;
  CString table = L"040904b0";
  if (VerQueryValueW(block, L"\\VarFileInfo\\Translation", &translation, &length) && length >= 4) {
    auto* words = static_cast<const unsigned char*>(translation);
    table.Format(L"%04x%04x", words[0] | (words[1] << 8), words[2] | (words[3] << 8));
  }
  void* text = nullptr;
  CString path = L"\\StringFileInfo\\" + table + L"\\" + key;
  if (!VerQueryValueW(block, path, &text, &length) || !text) return CString();
  return CString(static_cast<const wchar_t*>(text));
}

}  // namespace

void VRNGUIUtils::About(const CString& caption, HWND* parent) {
  const CString product = VersionText(L"ProductName");
  const CString version = VersionText(L"ProductVersion");
  // Without a version resource the caption has to say it all.
  CString text = product.IsEmpty() ? caption : product;
  if (!version.IsEmpty()) text += L"\nVersion " + version;
  MessageBoxW(parent ? *parent : nullptr, text, caption, MB_OK | MB_ICONINFORMATION);
}
