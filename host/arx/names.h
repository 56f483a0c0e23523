#pragma once
// Case-insensitive comparison of command, group, variable and module names.
#include <cwctype>
#include <string>
#include <string_view>

namespace arxhost {

inline std::wstring UpperName(std::wstring_view name) {
  std::wstring out(name);
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towupper(c));
  return out;
}

inline bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  return true;
}

inline std::wstring_view TrimBlanks(std::wstring_view text) {
  auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  auto last = text.find_last_not_of(L" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace arxhost
