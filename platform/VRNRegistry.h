#pragma once
// Integer settings under one registry key. An object names its key with
// SetKey; each read or write then opens the key, acts and closes it again.
#include "mfc/CString.h"
#include "win32/registry.h"

class VRNRegistry {
 public:
  // The hives SetKey knows.
  enum { kCurrentUser = 1, kLocalMachine = 2 };

  VRNRegistry();
  ~VRNRegistry();
  VRNRegistry(const VRNRegistry&) = delete;
  VRNRegistry& operator=(const VRNRegistry&) = delete;

  // The key ("Software\Maker\Product") in hive 1 (HKEY_CURRENT_USER) or 2
  // (HKEY_LOCAL_MACHINE). 1 when the hive is known and the key named, else 0.
  int SetKey(const CString& key, int hive);
  // The integer stored under the name, or the default when there is none
  // (no key set, no such key or value, or a value that is not an integer).
  int ReadInt(const CString& name, int defaultValue);
  // Stores the integer under the name, creating the key as needed. 1 when
  // stored, 0 when not.
  int WriteInt(const CString& name, int value);

 private:
  HKEY m_hive = nullptr;
  CString m_key;
};
