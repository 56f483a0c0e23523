// GetModuleFileNameW and the resource calls, over the module table.
#include <algorithm>
#include <cstring>

#include "win32/modules.h"
#include "win32/winapi.h"

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;

const arxhost::ResourceImage* ResourcesOf(HMODULE module) { return arxhost::Modules::Resources(module); }
}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD error) { lastError = error; }

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  auto path = arxhost::Modules::Path(module);
  if (!path) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!fileName || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // As Windows does: a path that does not fit is cut, terminated, and the
  // full size is returned with ERROR_INSUFFICIENT_BUFFER.
  if (path->size() >= size) {
    std::copy_n(path->data(), size - 1, fileName);
    fileName[size - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::copy(path->begin(), path->end(), fileName);
  fileName[path->size()] = 0;
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(path->size());
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
  if (!moduleName) return arxhost::Modules::Program();
  // By full path, or by file name as Windows also accepts.
  if (HMODULE m = arxhost::Modules::FindByPath(moduleName)) return m;
  if (HMODULE m = arxhost::Modules::FindByFileName(moduleName)) return m;
  SetLastError(ERROR_FILE_NOT_FOUND);
  return nullptr;
}

HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
  const arxhost::ResourceImage* image = ResourcesOf(module);
  // The compiled images know integer types and ids only.
  if (!image || !IS_INTRESOURCE(type) || !IS_INTRESOURCE(name)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  const auto t = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(type));
  const auto n = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(name));
  const arxhost::ResourceEntry* entry =
      language ? image->Find(t, n, language) : image->Find(t, n);
  if (!entry) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HRSRC>(const_cast<arxhost::ResourceEntry*>(entry));
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) { return FindResourceExW(module, type, name, 0); }

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  if (!resource) return nullptr;
  auto* entry = reinterpret_cast<const arxhost::ResourceEntry*>(resource);
  return const_cast<unsigned char*>(entry->data.data());
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  if (!resource) return 0;
  return static_cast<DWORD>(reinterpret_cast<const arxhost::ResourceEntry*>(resource)->data.size());
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax) {
  if (!buffer || bufferMax <= 0) return 0;
  buffer[0] = 0;
  const arxhost::ResourceImage* image = ResourcesOf(instance);
  if (!image) return 0;
  const arxhost::ResourceEntry* block = image->Find(arxhost::kResourceTypeString, arxhost::StringBlockId(id));
  if (!block) return 0;
  auto text = arxhost::StringFromBlock(block->data, id);
  if (!text) return 0;
  const size_t n = std::min(text->size(), static_cast<size_t>(bufferMax - 1));
  std::copy_n(text->data(), n, buffer);
  buffer[n] = 0;
  return static_cast<int>(n);
}
