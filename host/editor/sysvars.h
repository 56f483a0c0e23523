#pragma once
// The host's system variables. Values are 16-bit integers, reals, texts or
// points, as the editor keeps them; names are compared without regard to
// case. "_VERNUM" names the release the host claims: its first letter is set
// with arxhost --release (default "D", release 18).
#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace arxhost {

using SysVarPoint = std::array<double, 3>;
using SysVarValue = std::variant<short, double, std::wstring, SysVarPoint>;

class SysVars {
 public:
  // Adds or replaces a variable.
  static void Define(const std::wstring& name, SysVarValue value, bool readOnly = false);
  static bool Erase(const std::wstring& name);
  static std::optional<SysVarValue> Get(const std::wstring& name);
  static bool IsReadOnly(const std::wstring& name);
  // Sets the value as the editor does: false for an unknown or read-only
  // variable or a value of another kind (an integer is accepted for a real).
  static bool Set(const std::wstring& name, const SysVarValue& value);
  static std::vector<std::wstring> Names();
  // Puts back the host's start-up variables of release "D" (tests).
  static void Reset();

  static void SetReleaseLetter(wchar_t letter);
  static wchar_t ReleaseLetter();
};

}  // namespace arxhost
