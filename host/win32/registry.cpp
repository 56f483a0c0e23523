// The registry API. Every call reads the file afresh and every change
// rewrites it, so that a value set by one process or test is what the next
// one reads, and nothing is cached that could go stale.
#include "win32/registry.h"

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include "win32/registry_store.h"

namespace {

using arxhost::registry::Hive;
using arxhost::registry::Key;
using arxhost::registry::Value;

struct OpenKey {
  std::wstring path;
  REGSAM access = 0;
};

std::recursive_mutex gMutex;
std::unordered_map<ULONG_PTR, OpenKey> gOpenKeys;
ULONG_PTR gNextHandle = 0x1000;

bool IsPredefined(HKEY key) {
  auto v = reinterpret_cast<ULONG_PTR>(key);
  return v == reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT) || v == reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_USER) ||
         v == reinterpret_cast<ULONG_PTR>(HKEY_LOCAL_MACHINE) || v == reinterpret_cast<ULONG_PTR>(HKEY_USERS);
}

// The key a handle names, below HKEY_CURRENT_USER. Other roots have no
// backing store: they read as empty and refuse changes.
enum class Resolved { Ok, OtherRoot, BadHandle };
Resolved Resolve(HKEY key, OpenKey& out) {
  if (key == HKEY_CURRENT_USER) {
    out = {L"", KEY_ALL_ACCESS};
    return Resolved::Ok;
  }
  if (IsPredefined(key)) return Resolved::OtherRoot;
  auto it = gOpenKeys.find(reinterpret_cast<ULONG_PTR>(key));
  if (it == gOpenKeys.end()) return Resolved::BadHandle;
  out = it->second;
  return Resolved::Ok;
}

LSTATUS JoinPath(const std::wstring& base, LPCWSTR subKey, std::wstring& out) {
  std::wstring_view sub = subKey ? subKey : L"";
  if (!sub.empty() && sub.front() == L'\\') return ERROR_BAD_PATHNAME;
  auto normal = arxhost::registry::NormalizeKeyPath(sub);
  if (!normal) return ERROR_INVALID_PARAMETER;
  out = base.empty() ? *normal : normal->empty() ? base : base + L"\\" + *normal;
  return ERROR_SUCCESS;
}

HKEY NewHandle(std::wstring path, REGSAM access) {
  ULONG_PTR h = gNextHandle;
  gNextHandle += 4;
  gOpenKeys[h] = {std::move(path), access == 0 ? KEY_READ : access};
  return reinterpret_cast<HKEY>(h);
}

std::wstring ValueName(LPCWSTR name) { return name ? name : L""; }

// The bytes a caller receives for a value: text with its terminating zero
// in wide characters, a dword in machine order, anything else as stored.
std::vector<BYTE> DataOf(const Value& v) {
  std::vector<BYTE> out;
  if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) {
    out.resize((v.text.size() + 1) * sizeof(wchar_t));
    std::memcpy(out.data(), v.text.c_str(), out.size());
  } else if (v.type == REG_DWORD && v.bytes.empty()) {
    out.resize(sizeof(DWORD));
    std::memcpy(out.data(), &v.number, sizeof(DWORD));
  } else {
    out = v.bytes;
  }
  return out;
}

}  // namespace

LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::lock_guard lock(gMutex);
  OpenKey base;
  switch (Resolve(hKey, base)) {
    case Resolved::BadHandle: return ERROR_INVALID_HANDLE;
    case Resolved::OtherRoot: return ERROR_FILE_NOT_FOUND;
    case Resolved::Ok: break;
  }
  std::wstring path;
  if (LSTATUS status = JoinPath(base.path, lpSubKey, path); status != ERROR_SUCCESS) return status;
  if (!path.empty()) {
    auto loaded = arxhost::registry::Load();
    const Key* key = loaded.hive.Find(path);
    if (!key) return ERROR_FILE_NOT_FOUND;
    path = key->path;
  }
  *phkResult = NewHandle(std::move(path), samDesired);
  return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                        REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                        LPDWORD lpdwDisposition) {
  if (!phkResult || !lpSubKey) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::lock_guard lock(gMutex);
  OpenKey base;
  switch (Resolve(hKey, base)) {
    case Resolved::BadHandle: return ERROR_INVALID_HANDLE;
    case Resolved::OtherRoot: return ERROR_ACCESS_DENIED;
    case Resolved::Ok: break;
  }
  std::wstring path;
  if (LSTATUS status = JoinPath(base.path, lpSubKey, path); status != ERROR_SUCCESS) return status;
  DWORD disposition = REG_OPENED_EXISTING_KEY;
  if (!path.empty()) {
    auto loaded = arxhost::registry::Load();
    if (const Key* key = loaded.hive.Find(path)) {
      path = key->path;
    } else {
      if (!(base.access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
      if (!loaded.writable) return ERROR_REGISTRY_CORRUPT;
      loaded.hive.Create(path);
      std::string error;
      if (!arxhost::registry::Save(loaded.hive, error)) return ERROR_CANTWRITE;
      disposition = REG_CREATED_NEW_KEY;
    }
  }
  *phkResult = NewHandle(std::move(path), samDesired);
  if (lpdwDisposition) *lpdwDisposition = disposition;
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                         LPDWORD lpcbData) {
  if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  std::lock_guard lock(gMutex);
  OpenKey key;
  switch (Resolve(hKey, key)) {
    case Resolved::BadHandle: return ERROR_INVALID_HANDLE;
    case Resolved::OtherRoot: return ERROR_FILE_NOT_FOUND;
    case Resolved::Ok: break;
  }
  if (!(key.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  auto loaded = arxhost::registry::Load();
  const Key* stored = loaded.hive.Find(key.path);
  if (!stored) return key.path.empty() ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
  const Value* value = stored->Find(ValueName(lpValueName));
  if (!value) return ERROR_FILE_NOT_FOUND;
  std::vector<BYTE> data = DataOf(*value);
  if (lpType) *lpType = value->type;
  if (!lpcbData) return ERROR_SUCCESS;
  const DWORD room = *lpcbData;
  *lpcbData = static_cast<DWORD>(data.size());
  if (!lpData) return ERROR_SUCCESS;
  if (room < data.size()) return ERROR_MORE_DATA;
  if (!data.empty()) std::memcpy(lpData, data.data(), data.size());
  return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                       DWORD cbData) {
  if (Reserved != 0 || (!lpData && cbData > 0)) return ERROR_INVALID_PARAMETER;
  std::lock_guard lock(gMutex);
  OpenKey key;
  switch (Resolve(hKey, key)) {
    case Resolved::BadHandle: return ERROR_INVALID_HANDLE;
    case Resolved::OtherRoot: return ERROR_ACCESS_DENIED;
    case Resolved::Ok: break;
  }
  if (!(key.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;

  Value value;
  value.name = ValueName(lpValueName);
  // The file holds names as quoted text, which has no room for these.
  for (wchar_t c : value.name)
    if (c < 0x20) return ERROR_INVALID_PARAMETER;
  value.type = dwType;
  if (dwType == REG_SZ || dwType == REG_EXPAND_SZ) {
    // The text ends at its first zero or at cbData, whichever comes first.
    size_t chars = cbData / sizeof(wchar_t);
    const auto* text = reinterpret_cast<const wchar_t*>(lpData);
    size_t n = 0;
    while (n < chars && text[n] != L'\0') ++n;
    value.text.assign(text ? text : L"", n);
  } else if (dwType == REG_DWORD) {
    if (cbData != sizeof(DWORD)) return ERROR_INVALID_PARAMETER;
    std::memcpy(&value.number, lpData, sizeof(DWORD));
  } else {
    value.bytes.assign(lpData, lpData + cbData);
  }

  auto loaded = arxhost::registry::Load();
  if (!loaded.writable) return ERROR_REGISTRY_CORRUPT;
  Key* stored = loaded.hive.Find(key.path);
  if (!stored) {
    if (!key.path.empty()) return ERROR_KEY_DELETED;
    stored = &loaded.hive.Create(key.path);
  } else if (const Value* old = stored->Find(value.name);
             old && old->type == value.type && old->text == value.text &&
             old->number == value.number && old->bytes == value.bytes) {
    // A dialog writes back every setting it shows; one left as it was costs
    // no rewrite of the file.
    return ERROR_SUCCESS;
  }
  stored->Set(std::move(value));
  std::string error;
  if (!arxhost::registry::Save(loaded.hive, error)) return ERROR_CANTWRITE;
  return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY hKey) {
  if (IsPredefined(hKey)) return ERROR_SUCCESS;
  std::lock_guard lock(gMutex);
  return gOpenKeys.erase(reinterpret_cast<ULONG_PTR>(hKey)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
