#include "win32/registry_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwctype>

#include "win32/registry.h"
#include "win32/strconv.h"

namespace arxhost::registry {
namespace {

constexpr std::string_view kRootName = "HKEY_CURRENT_USER";

std::wstring Fold(std::wstring_view s) {
  std::wstring out(s);
  for (auto& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return out;
}

// The map key of a path: folded, with the separator below every printable
// character, so that a parent sorts directly before its children.
std::wstring SortKey(std::wstring_view path) {
  std::wstring key = Fold(path);
  for (auto& c : key)
    if (c == L'\\') c = L'\x01';
  return key;
}

bool SameName(std::wstring_view a, std::wstring_view b) { return Fold(a) == Fold(b); }

}  // namespace

Value* Key::Find(std::wstring_view name) {
  for (auto& v : values)
    if (SameName(v.name, name)) return &v;
  return nullptr;
}

const Value* Key::Find(std::wstring_view name) const { return const_cast<Key*>(this)->Find(name); }

Value& Key::Set(Value value) {
  if (Value* existing = Find(value.name)) {
    value.name = existing->name;  // the first spelling stays, as on Windows
    *existing = std::move(value);
    return *existing;
  }
  values.push_back(std::move(value));
  return values.back();
}

Key* Hive::Find(std::wstring_view path) {
  auto it = keys_.find(SortKey(path));
  return it == keys_.end() ? nullptr : &it->second;
}

const Key* Hive::Find(std::wstring_view path) const { return const_cast<Hive*>(this)->Find(path); }

Key& Hive::Create(std::wstring_view path) {
  // Ancestors first; the root itself is a key only when it holds values.
  for (size_t pos = path.find(L'\\'); pos != std::wstring_view::npos; pos = path.find(L'\\', pos + 1)) {
    auto ancestor = path.substr(0, pos);
    auto [it, added] = keys_.try_emplace(SortKey(ancestor));
    if (added) it->second.path = std::wstring(ancestor);
  }
  auto [it, added] = keys_.try_emplace(SortKey(path));
  if (added) it->second.path = std::wstring(path);
  return it->second;
}

std::vector<const Key*> Hive::Keys() const {
  std::vector<const Key*> out;
  out.reserve(keys_.size());
  for (const auto& [sortKey, key] : keys_) out.push_back(&key);
  return out;
}

std::optional<std::wstring> NormalizeKeyPath(std::wstring_view path) {
  while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  if (path.empty()) return std::wstring();
  if (path.front() == L'\\' || path.find(L"\\\\") != std::wstring_view::npos) return std::nullopt;
  for (wchar_t c : path)
    if (c < 0x20) return std::nullopt;
  return std::wstring(path);
}

// ---------------------------------------------------------------- reading

namespace {

struct Parser {
  std::string_view text;
  size_t pos = 0;
  int lineNo = 0;
  std::string error;

  // One logical line: physical lines ending in '\' inside hex data are
  // joined, as the export format wraps long values.
  bool NextLine(std::string& line, int& firstLineNo) {
    line.clear();
    if (pos >= text.size()) return false;
    firstLineNo = lineNo + 1;
    for (;;) {
      size_t end = text.find('\n', pos);
      std::string_view physical = text.substr(pos, end == std::string_view::npos ? text.size() - pos : end - pos);
      pos = end == std::string_view::npos ? text.size() : end + 1;
      ++lineNo;
      if (!physical.empty() && physical.back() == '\r') physical.remove_suffix(1);
      if (!line.empty()) {
        // A continuation line: its indentation is not data.
        while (!physical.empty() && (physical.front() == ' ' || physical.front() == '\t')) physical.remove_prefix(1);
      }
      line += physical;
      bool continues = !line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos &&
                       pos < text.size();
      if (!continues) return true;
      line.pop_back();
    }
  }

  bool Fail(int line, std::string message) {
    error = "line " + std::to_string(line) + ": " + std::move(message);
    return false;
  }
};

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A quoted string starting at s[0] == '"'; on success s is left after the
// closing quote.
bool ReadQuoted(std::string_view& s, std::string& out, std::string& why) {
  out.clear();
  for (size_t i = 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      s.remove_prefix(i + 1);
      return true;
    }
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
      why = "a control character in quotes (such text is written as hex(1):)";
      return false;
    }
    if (c == '\\') {
      if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) {
        why = "a backslash in quotes must be followed by \\ or \"";
        return false;
      }
      out += s[++i];
      continue;
    }
    out += c;
  }
  why = "a quoted text has no closing quote";
  return false;
}

bool ReadHexBytes(std::string_view s, std::vector<BYTE>& out, std::string& why) {
  out.clear();
  s = TrimLeft(TrimRight(s));
  while (!s.empty()) {
    if (s.size() < 2 || HexDigit(s[0]) < 0 || HexDigit(s[1]) < 0) {
      why = "hex data must be two-digit bytes separated by commas";
      return false;
    }
    out.push_back(static_cast<BYTE>(HexDigit(s[0]) * 16 + HexDigit(s[1])));
    s = TrimLeft(s.substr(2));
    if (s.empty()) break;
    if (s.front() != ',') {
      why = "hex data must be two-digit bytes separated by commas";
      return false;
    }
    s = TrimLeft(s.substr(1));
  }
  return true;
}

// Text stored as bytes (hex(1), hex(2)): UTF-8 up to the first zero byte.
std::wstring TextFromBytes(const std::vector<BYTE>& bytes) {
  size_t n = 0;
  while (n < bytes.size() && bytes[n] != 0) ++n;
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), n));
}

bool ParseData(std::string_view data, Value& value, std::string& why) {
  data = TrimLeft(data);
  if (data.empty()) {
    why = "a value has no data after '='";
    return false;
  }
  if (data.front() == '"') {
    std::string text;
    if (!ReadQuoted(data, text, why)) return false;
    if (!TrimRight(data).empty()) {
      why = "unexpected text after the closing quote";
      return false;
    }
    value.type = REG_SZ;
    value.text = FromUtf8(text);
    return true;
  }
  if (data == "-" || TrimRight(data) == "-") {
    why = "value deletions belong in files to import, not in the registry file";
    return false;
  }
  if (data.substr(0, 6) == "dword:") {
    auto digits = TrimRight(data.substr(6));
    if (digits.empty() || digits.size() > 8) {
      why = "a dword needs one to eight hex digits";
      return false;
    }
    std::uint32_t n = 0;
    for (char c : digits) {
      int d = HexDigit(c);
      if (d < 0) {
        why = "a dword needs one to eight hex digits";
        return false;
      }
      n = n * 16 + static_cast<std::uint32_t>(d);
    }
    value.type = REG_DWORD;
    value.number = n;
    return true;
  }
  if (data.substr(0, 3) == "hex") {
    data.remove_prefix(3);
    DWORD type = REG_BINARY;
    if (!data.empty() && data.front() == '(') {
      size_t close = data.find(')');
      auto digits = data.substr(1, close == std::string_view::npos ? 0 : close - 1);
      if (close == std::string_view::npos || digits.empty() || digits.size() > 8) {
        why = "hex(TYPE) needs a hex type number in parentheses";
        return false;
      }
      type = 0;
      for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0) {
          why = "hex(TYPE) needs a hex type number in parentheses";
          return false;
        }
        type = type * 16 + static_cast<DWORD>(d);
      }
      data.remove_prefix(close + 1);
    }
    if (data.empty() || data.front() != ':') {
      why = "hex data must follow 'hex:' or 'hex(TYPE):'";
      return false;
    }
    std::vector<BYTE> bytes;
    if (!ReadHexBytes(data.substr(1), bytes, why)) return false;
    value.type = type;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      value.text = TextFromBytes(bytes);
    } else if (type == REG_DWORD && bytes.size() == 4) {
      value.number = DWORD(bytes[0]) | DWORD(bytes[1]) << 8 | DWORD(bytes[2]) << 16 | DWORD(bytes[3]) << 24;
    } else {
      value.bytes = std::move(bytes);
    }
    return true;
  }
  why = "unknown value data (expected \"text\", dword:, hex: or hex(TYPE):)";
  return false;
}

}  // namespace

ParseResult ParseRegFile(std::string_view text) {
  Parser p;
  p.text = text;
  ParseResult result;
  Hive hive;
  Key* current = nullptr;
  bool sawHeader = false;
  std::string line;
  int lineNo = 0;
  if (p.text.substr(0, 3) == "\xEF\xBB\xBF") p.pos = 3;

  while (p.NextLine(line, lineNo)) {
    std::string_view l = TrimRight(TrimLeft(line));
    if (l.empty()) continue;
    if (!sawHeader) {
      if (l != "REGEDIT4") {
        p.Fail(lineNo, "not a REGEDIT4 file (the first line must be REGEDIT4)");
        break;
      }
      sawHeader = true;
      continue;
    }
    if (l.front() == ';') continue;
    if (l.front() == '[') {
      if (l.back() != ']') {
        p.Fail(lineNo, "a key line must end with ']'");
        break;
      }
      std::string_view name = l.substr(1, l.size() - 2);
      if (!name.empty() && name.front() == '-') {
        p.Fail(lineNo, "key deletions belong in files to import, not in the registry file");
        break;
      }
      std::wstring wname = FromUtf8(name);
      std::wstring root = FromUtf8(kRootName);
      if (!(SameName(std::wstring_view(wname).substr(0, root.size()), root) &&
            (wname.size() == root.size() || wname[root.size()] == L'\\'))) {
        p.Fail(lineNo, "the key is not under HKEY_CURRENT_USER");
        break;
      }
      auto path = NormalizeKeyPath(std::wstring_view(wname).substr(std::min(wname.size(), root.size() + 1)));
      if (!path || (wname.size() > root.size() && path->empty())) {
        p.Fail(lineNo, "the key name has an empty part");
        break;
      }
      current = &hive.Create(*path);
      continue;
    }
    Value value;
    std::string why;
    std::string_view rest = l;
    if (rest.front() == '@') {
      rest.remove_prefix(1);
    } else if (rest.front() == '"') {
      std::string name;
      if (!ReadQuoted(rest, name, why)) {
        p.Fail(lineNo, why);
        break;
      }
      if (name.empty()) {
        p.Fail(lineNo, "a value name in quotes is empty (the default value is written @)");
        break;
      }
      value.name = FromUtf8(name);
    } else {
      p.Fail(lineNo, "expected a [key], a \"value\"=data line or @=data");
      break;
    }
    rest = TrimLeft(rest);
    if (rest.empty() || rest.front() != '=') {
      p.Fail(lineNo, "a value name must be followed by '='");
      break;
    }
    if (!current) {
      p.Fail(lineNo, "a value comes before any [key]");
      break;
    }
    if (!ParseData(rest.substr(1), value, why)) {
      p.Fail(lineNo, why);
      break;
    }
    current->Set(std::move(value));
  }
  if (p.error.empty() && !sawHeader) p.error = "line 1: not a REGEDIT4 file (it is empty)";
  if (!p.error.empty()) {
    result.error = std::move(p.error);
    return result;
  }
  result.hive = std::move(hive);
  return result;
}

// ---------------------------------------------------------------- writing

namespace {

constexpr std::string_view kEol = "\r\n";

std::string Quoted(std::wstring_view text) {
  std::string out = "\"";
  for (char c : ToUtf8(text)) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

bool NeedsHex(std::wstring_view text) {
  for (wchar_t c : text)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

// Hex bytes wrapped as the export format does: continuation lines end in
// '\' and are indented by two spaces.
void AppendHex(std::string& out, size_t prefixLength, const std::vector<BYTE>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  size_t column = prefixLength;
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
    column += 2;
    if (i + 1 < bytes.size()) {
      out += ',';
      ++column;
      if (column > 76) {
        out += '\\';
        out += kEol;
        out += "  ";
        column = 2;
      }
    }
  }
}

}  // namespace

std::string WriteRegFile(const Hive& hive) {
  std::string out = "REGEDIT4";
  out += kEol;
  for (const Key* key : hive.Keys()) {
    if (key->path.empty() && key->values.empty()) continue;
    out += kEol;
    out += '[';
    out += kRootName;
    if (!key->path.empty()) out += "\\" + ToUtf8(key->path);
    out += ']';
    out += kEol;
    for (const Value& v : key->values) {
      std::string line = v.name.empty() ? "@" : Quoted(v.name);
      line += '=';
      if ((v.type == REG_SZ) && !NeedsHex(v.text)) {
        line += Quoted(v.text);
      } else if (v.type == REG_DWORD && v.bytes.empty()) {
        char digits[9];
        static const char kDigits[] = "0123456789abcdef";
        for (int i = 0; i < 8; ++i) digits[i] = kDigits[(v.number >> (28 - 4 * i)) & 15];
        digits[8] = 0;
        line += "dword:";
        line += digits;
      } else {
        std::vector<BYTE> bytes = v.bytes;
        if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) {
          std::string utf8 = ToUtf8(v.text);
          bytes.assign(utf8.begin(), utf8.end());
          bytes.push_back(0);
        }
        if (v.type == REG_BINARY) {
          line += "hex:";
        } else {
          char type[24];
          std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(v.type));
          line += type;
        }
        size_t prefix = line.size();
        AppendHex(line, prefix, bytes);
      }
      out += line;
      out += kEol;
    }
  }
  out += kEol;
  return out;
}

}  // namespace arxhost::registry
