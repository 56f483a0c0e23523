#include "mfc/dialog_resource.h"

#include "mfc/afxext.h"
#include "win32/winapi.h"

namespace arxhost {

ResourceBytes FindCurrentResource(LPCWSTR type, LPCWSTR name) {
  HINSTANCE module = AfxFindResourceHandle(name, type);
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return std::nullopt;
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  if (!data) return std::nullopt;
  return std::span<const BYTE>(data, SizeofResource(module, found));
}

}  // namespace arxhost
