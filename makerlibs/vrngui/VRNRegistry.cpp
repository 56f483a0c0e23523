#include "VRNRegistry.h"

VRNRegistry::VRNRegistry() = default;
VRNRegistry::~VRNRegistry() = default;

int VRNRegistry::SetKey(const CString& key, int hive) {
  m_key = key;
  m_hive = hive == kCurrentUser ? HKEY_CURRENT_USER : hive == kLocalMachine ? HKEY_LOCAL_MACHINE : nullptr;
  return m_hive && !m_key.IsEmpty() ? 1 : 0;
}

int VRNRegistry::ReadInt(const CString& name, int defaultValue) {
  if (!m_hive || m_key.IsEmpty()) return defaultValue;
  HKEY key = nullptr;
  if (RegOpenKeyExW(m_hive, m_key, 0, KEY_READ, &key) != ERROR_SUCCESS) return defaultValue;
  DWORD type = 0, value = 0, size = sizeof value;
  const LSTATUS status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return defaultValue;
  return static_cast<int>(value);
}

int VRNRegistry::WriteInt(const CString& name, int value) {
  if (!m_hive || m_key.IsEmpty()) return 0;
  HKEY key = nullptr;
  if (RegCreateKeyExW(m_hive, m_key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return 0;
  const DWORD stored = static_cast<DWORD>(value);
  const LSTATUS status =
      RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? 1 : 0;
}
