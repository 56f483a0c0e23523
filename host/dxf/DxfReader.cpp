#include "dxf/DxfReader.h"

#include <charconv>
#include <cmath>

namespace arxhost::dxf {
namespace {

bool InRange(int code, int lo, int hi) { return code >= lo && code <= hi; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string Shown(std::string_view s) {
  std::string out;
  for (char c : s.substr(0, 40)) out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
  if (s.size() > 40) out += "...";
  return out;
}

bool ParseInteger(std::string_view s, long long& value) {
  s = Trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

bool ParseReal(std::string_view s, double& value) {
  s = Trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  // from_chars reads "inf" and "nan" too; DXF has no such values.
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty() && std::isfinite(value);
}

bool IsHex(std::string_view s) {
  s = Trim(s);
  if (s.empty() || s.size() > 16) return false;
  for (char c : s)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

}  // namespace

void FailAt(std::size_t line, const std::string& what) {
  throw DxfReadError("line " + std::to_string(line) + ": " + what);
}

DxfValueKind KindOfCode(int code) {
  if (InRange(code, 10, 59) || InRange(code, 110, 149) || InRange(code, 210, 239) || InRange(code, 460, 469) ||
      InRange(code, 1010, 1059))
    return DxfValueKind::Real;
  if (InRange(code, 60, 99) || InRange(code, 160, 179) || InRange(code, 270, 299) || InRange(code, 370, 389) ||
      InRange(code, 400, 409) || InRange(code, 420, 429) || InRange(code, 440, 459) || InRange(code, 1060, 1071))
    return DxfValueKind::Integer;
  if (code == 5 || code == 105 || InRange(code, 320, 369) || InRange(code, 390, 399) || InRange(code, 480, 481) ||
      code == 1005)
    return DxfValueKind::Handle;
  if (InRange(code, 310, 319) || code == 1004) return DxfValueKind::Binary;
  return DxfValueKind::Text;
}

bool IsBinaryDxf(std::string_view text) { return text.substr(0, 18) == "AutoCAD Binary DXF"; }

std::vector<DxfGroup> ReadDxfGroups(std::string_view text) {
  // A UTF-8 byte order mark may lead the file.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<DxfGroup> groups;
  std::size_t pos = 0, line = 0;
  auto nextLine = [&](std::string_view& out) {
    if (pos >= text.size()) return false;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    out = text.substr(pos, end - pos);
    if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
    pos = end + 1;
    ++line;
    return true;
  };
  std::string_view codeLine, value;
  while (nextLine(codeLine)) {
    // Blank lines after the end of the file are tolerated, nowhere else.
    if (Trim(codeLine).empty() && !groups.empty() && groups.back().code == 0 && groups.back().value == "EOF")
      continue;
    DxfGroup g;
    g.line = line;
    long long code = 0;
    if (!ParseInteger(codeLine, code) || code < -5 || code > 1071)
      FailAt(line, "\"" + Shown(codeLine) + "\" is not a group code");
    g.code = static_cast<int>(code);
    if (!nextLine(value)) FailAt(g.line, "the file ends after group code " + std::to_string(code) + " without its value");
    g.value = value;
    // No text file holds NUL characters; names with one would be cut.
    if (value.find('\0') != std::string_view::npos) FailAt(line, "the value holds a NUL character");
    switch (KindOfCode(g.code)) {
      case DxfValueKind::Real:
        if (!ParseReal(value, g.real)) FailAt(line, "\"" + Shown(value) + "\" is not a number");
        break;
      case DxfValueKind::Integer:
        if (!ParseInteger(value, g.integer) || g.integer < INT32_MIN || g.integer > UINT32_MAX)
          FailAt(line, "\"" + Shown(value) + "\" is not an integer");
        break;
      case DxfValueKind::Handle:
        if (!IsHex(value)) FailAt(line, "\"" + Shown(value) + "\" is not a handle");
        break;
      default:
        if (g.code == 0) g.value = Trim(value);
        break;
    }
    if (g.code == 999) continue;
    groups.push_back(g);
  }
  return groups;
}

}  // namespace arxhost::dxf
