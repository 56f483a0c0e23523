#pragma once
// The registry file: the keys of HKEY_CURRENT_USER with their values, read
// from and written as REGEDIT4 export text.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win32/wintypes.h"

namespace arxhost::registry {

struct Value {
  std::wstring name;  // empty: the key's default value ("@")
  DWORD type = 0;
  std::wstring text;         // REG_SZ, REG_EXPAND_SZ
  DWORD number = 0;          // REG_DWORD
  std::vector<BYTE> bytes;   // every other type, as stored
};

struct Key {
  std::wstring path;          // below the root, components separated by '\'; empty for the root
  std::vector<Value> values;  // in the order they were first set
  Value* Find(std::wstring_view name);
  const Value* Find(std::wstring_view name) const;
  Value& Set(Value value);    // replaces a value of the same name in place
};

// Key and value names compare without regard to case, as on Windows.
class Hive {
 public:
  Key* Find(std::wstring_view path);
  const Key* Find(std::wstring_view path) const;
  // The key, created with every missing ancestor.
  Key& Create(std::wstring_view path);
  // Keys in the order a registry export lists them: parents before their
  // children, siblings sorted.
  std::vector<const Key*> Keys() const;
  bool Empty() const { return keys_.empty(); }

 private:
  std::map<std::wstring, Key> keys_;
};

// A key path as the file and the API give it ("A\B"): components checked
// (no empty component), trailing separator dropped. Nothing when invalid.
std::optional<std::wstring> NormalizeKeyPath(std::wstring_view path);

struct ParseResult {
  std::optional<Hive> hive;
  std::string error;  // "line N: ..." when hive is empty
};

ParseResult ParseRegFile(std::string_view text);
std::string WriteRegFile(const Hive& hive);

}  // namespace arxhost::registry
