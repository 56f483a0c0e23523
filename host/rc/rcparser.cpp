#include "rcparser.h"

#include <cwctype>
#include <fstream>
#include <sstream>

#include "win32/strconv.h"

namespace arxrc {
namespace {

constexpr int kMaxIncludeDepth = 16;
constexpr int kMaxExpressionDepth = 64;

std::map<std::wstring, StatementCompiler>& Statements() {
  static std::map<std::wstring, StatementCompiler> statements;
  return statements;
}

std::wstring Upper(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towupper(c));
  return s;
}

std::map<std::wstring, std::int64_t>& Builtins() {
  static std::map<std::wstring, std::int64_t> symbols = {
      {L"LANG_NEUTRAL", 0x00},     {L"LANG_ENGLISH", 0x09},      {L"LANG_GERMAN", 0x07},
      {L"LANG_FRENCH", 0x0C},      {L"SUBLANG_NEUTRAL", 0x00},   {L"SUBLANG_DEFAULT", 0x01},
      {L"SUBLANG_ENGLISH_US", 0x01}, {L"SUBLANG_ENGLISH_UK", 0x02}, {L"SUBLANG_GERMAN", 0x01},
      {L"VS_VERSION_INFO", 1},     {L"VS_FFI_FILEFLAGSMASK", 0x3F}, {L"VS_FF_DEBUG", 0x01},
      {L"VS_FF_PRERELEASE", 0x02}, {L"VS_FF_PATCHED", 0x04},     {L"VS_FF_PRIVATEBUILD", 0x08},
      {L"VS_FF_INFOINFERRED", 0x10}, {L"VS_FF_SPECIALBUILD", 0x20}, {L"VOS_UNKNOWN", 0},
      {L"VOS__WINDOWS32", 0x4},    {L"VOS_NT", 0x40000},         {L"VOS_NT_WINDOWS32", 0x40004},
      {L"VFT_UNKNOWN", 0},         {L"VFT_APP", 1},              {L"VFT_DLL", 2},
      {L"VFT2_UNKNOWN", 0},        {L"IDOK", 1},                 {L"IDCANCEL", 2},
      {L"IDABORT", 3},             {L"IDRETRY", 4},              {L"IDIGNORE", 5},
      {L"IDYES", 6},               {L"IDNO", 7},                 {L"IDHELP", 9},
      {L"IDC_STATIC", -1},
  };
  return symbols;
}

bool IsIdentStart(wchar_t c) { return std::iswalpha(c) || c == L'_'; }
bool IsIdentChar(wchar_t c) { return std::iswalnum(c) || c == L'_'; }

std::wstring TrimW(const std::wstring& s) {
  auto first = s.find_first_not_of(L" \t\r");
  if (first == std::wstring::npos) return {};
  auto last = s.find_last_not_of(L" \t\r");
  return s.substr(first, last - first + 1);
}

}  // namespace

void RegisterStatement(const std::wstring& keyword, StatementCompiler compiler) {
  Statements()[Upper(keyword)] = std::move(compiler);
}

void DefineBuiltinSymbol(const std::wstring& name, std::int64_t value) { Builtins()[name] = value; }

bool Parser::Error(const std::wstring& message) {
  if (error_.empty()) {
    const Token& at = Peek();
    error_ = at.file + L":" + std::to_wstring(at.line) + L": " + message;
  }
  return false;
}

bool Parser::Load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error_ = arxhost::FromUtf8(file.string()) + L": cannot open the file";
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  return LoadText(text.str(), arxhost::FromUtf8(file.string()), file.parent_path());
}

bool Parser::LoadText(const std::string& text, const std::wstring& name, const std::filesystem::path& dir) {
  tokens_.clear();
  pos_ = 0;
  if (!Preprocess(text, name, dir, 0)) return false;
  Token end;
  end.kind = TokenKind::kEnd;
  end.file = name;
  end.line = tokens_.empty() ? 1 : tokens_.back().line;
  tokens_.push_back(end);
  return true;
}

// Lines are preprocessed one by one; conditional blocks keep a stack of
// "is this branch taken" flags.
bool Parser::Preprocess(const std::string& bytes, const std::wstring& name, const std::filesystem::path& dir,
                        int depth) {
  if (depth > kMaxIncludeDepth) {
    error_ = name + L": #include nests too deep";
    return false;
  }
  std::wstring text = arxhost::FromUtf8(bytes);
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  struct Branch {
    bool taken;
    bool anyTaken;
  };
  std::vector<Branch> branches;
  auto active = [&] {
    for (const auto& b : branches)
      if (!b.taken) return false;
    return true;
  };
  auto fail = [&](int line, const std::wstring& what) {
    error_ = name + L":" + std::to_wstring(line) + L": " + what;
    return false;
  };
  inComment_ = false;
  int lineNo = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(L'\n', pos);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (line.find(L'\0') != std::wstring::npos) return fail(lineNo, L"the file is not text");
    std::wstring trimmed = TrimW(line);
    if (!inComment_ && !trimmed.empty() && trimmed[0] == L'#') {
      std::wistringstream words(trimmed.substr(1));
      std::wstring directive, arg;
      words >> directive;
      std::getline(words, arg);
      arg = TrimW(arg);
      if (directive == L"ifdef" || directive == L"ifndef") {
        bool defined = defines_.count(arg) || Builtins().count(arg);
        bool taken = directive == L"ifdef" ? defined : !defined;
        branches.push_back({taken, taken});
      } else if (directive == L"if") {
        bool taken = false;
        if (arg.rfind(L"defined", 0) == 0) {
          std::wstring n = arg.substr(7);
          std::erase_if(n, [](wchar_t c) { return c == L'(' || c == L')' || c == L' '; });
          taken = defines_.count(n) > 0;
        } else {
          try {
            taken = std::stoll(arg, nullptr, 0) != 0;
          } catch (const std::exception&) {
            auto it = defines_.find(arg);
            taken = it != defines_.end() && TrimW(it->second) != L"0" && !TrimW(it->second).empty();
          }
        }
        branches.push_back({taken, taken});
      } else if (directive == L"else") {
        if (branches.empty()) return fail(lineNo, L"#else without #if");
        branches.back().taken = !branches.back().anyTaken;
        branches.back().anyTaken = true;
      } else if (directive == L"endif") {
        if (branches.empty()) return fail(lineNo, L"#endif without #if");
        branches.pop_back();
      } else if (!active()) {
        // skipped
      } else if (directive == L"define") {
        std::wistringstream parts(arg);
        std::wstring key, value;
        parts >> key;
        std::getline(parts, value);
        if (key.empty()) return fail(lineNo, L"#define needs a name");
        defines_[key] = TrimW(value);
      } else if (directive == L"undef") {
        defines_.erase(arg);
      } else if (directive == L"include") {
        if (arg.size() >= 2 && arg.front() == L'"' && arg.back() == L'"') {
          const std::filesystem::path included = dir / arxhost::NativePath(arg.substr(1, arg.size() - 2));
          std::ifstream in(included, std::ios::binary);
          if (!in) return fail(lineNo, L"cannot open included file " + arg);
          std::stringstream content;
          content << in.rdbuf();
          // Only the definitions of an included header count.
          Parser header;
          header.defines_ = defines_;
          if (!header.Preprocess(content.str(), arxhost::FromUtf8(included.string()), included.parent_path(),
                                 depth + 1)) {
            error_ = header.error_;
            return false;
          }
          defines_ = header.defines_;
        }
      }
      continue;
    }
    if (!active()) continue;
    if (!Tokenize(line, name, lineNo)) return false;
  }
  if (!branches.empty()) return fail(lineNo, L"#if without #endif");
  return true;
}

bool Parser::Tokenize(const std::wstring& line, const std::wstring& file, int lineNo) {
  auto fail = [&](const std::wstring& what) {
    error_ = file + L":" + std::to_wstring(lineNo) + L": " + what;
    return false;
  };
  size_t i = 0;
  while (i < line.size()) {
    if (inComment_) {
      auto close = line.find(L"*/", i);
      if (close == std::wstring::npos) return true;
      inComment_ = false;
      i = close + 2;
      continue;
    }
    wchar_t c = line[i];
    if (std::iswspace(c)) {
      ++i;
      continue;
    }
    if (line.compare(i, 2, L"//") == 0) return true;
    if (line.compare(i, 2, L"/*") == 0) {
      inComment_ = true;
      i += 2;
      continue;
    }
    Token t;
    t.line = lineNo;
    t.file = file;
    if (c == L'"' || ((c == L'L' || c == L'l') && i + 1 < line.size() && line[i + 1] == L'"')) {
      if (c != L'"') ++i;
      ++i;
      t.kind = TokenKind::kString;
      bool closed = false;
      while (i < line.size()) {
        wchar_t d = line[i++];
        if (d == L'"') {
          if (i < line.size() && line[i] == L'"') {
            t.text += L'"';
            ++i;
            continue;
          }
          closed = true;
          break;
        }
        if (d == L'\\' && i < line.size()) {
          wchar_t e = line[i++];
          switch (e) {
            case L'n': t.text += L'\n'; break;
            case L't': t.text += L'\t'; break;
            case L'r': t.text += L'\r'; break;
            case L'a': t.text += L'\a'; break;
            case L'0': t.text += L'\0'; break;
            case L'x': {
              unsigned value = 0;
              int digits = 0;
              while (i < line.size() && digits < 4 && std::iswxdigit(line[i])) {
                value = value * 16 + static_cast<unsigned>(std::iswdigit(line[i]) ? line[i] - L'0'
                                                                                   : std::towlower(line[i]) - L'a' + 10);
                ++i;
                ++digits;
              }
              t.text += static_cast<wchar_t>(value);
              break;
            }
            default: t.text += e; break;
          }
          continue;
        }
        t.text += d;
      }
      if (!closed) return fail(L"a string is not closed on its line");
    } else if (std::iswdigit(c)) {
      size_t start = i;
      int base = 10;
      if (c == L'0' && i + 1 < line.size() && (line[i + 1] == L'x' || line[i + 1] == L'X')) {
        base = 16;
        i += 2;
      }
      std::int64_t value = 0;
      bool any = false;
      while (i < line.size() && std::iswxdigit(line[i]) && (base == 16 || std::iswdigit(line[i]))) {
        int digit = std::iswdigit(line[i]) ? line[i] - L'0' : std::towlower(line[i]) - L'a' + 10;
        value = value * base + digit;
        if (value > 0xFFFFFFFFLL) return fail(L"a number does not fit in 32 bits");
        any = true;
        ++i;
      }
      if (base == 16 && !any) return fail(L"0x without hex digits");
      while (i < line.size() && (line[i] == L'L' || line[i] == L'l' || line[i] == L'U' || line[i] == L'u')) ++i;
      if (i < line.size() && IsIdentChar(line[i])) return fail(L"bad number " + line.substr(start, i - start + 1));
      t.kind = TokenKind::kNumber;
      t.number = value;
      t.text = line.substr(start, i - start);
    } else if (IsIdentStart(c)) {
      size_t start = i;
      while (i < line.size() && IsIdentChar(line[i])) ++i;
      t.kind = TokenKind::kIdentifier;
      t.text = line.substr(start, i - start);
    } else if (std::wstring_view(L",|(){}+-~").find(c) != std::wstring_view::npos) {
      t.kind = TokenKind::kPunct;
      t.text = std::wstring(1, c);
      ++i;
    } else {
      return fail(std::wstring(L"unexpected character '") + c + L"'");
    }
    tokens_.push_back(std::move(t));
  }
  return true;
}

const Token& Parser::Peek() const {
  static const Token none;
  return tokens_.empty() ? none : tokens_[std::min(pos_, tokens_.size() - 1)];
}

Token Parser::Next() {
  Token t = Peek();
  if (pos_ + 1 < tokens_.size()) ++pos_;
  return t;
}

bool Parser::IsWord(const wchar_t* word) const {
  const Token& t = Peek();
  return t.kind == TokenKind::kIdentifier && Upper(t.text) == word;
}

bool Parser::IsPunct(wchar_t c) const {
  const Token& t = Peek();
  return t.kind == TokenKind::kPunct && t.text[0] == c;
}

bool Parser::ExpectBegin() {
  if (!IsBegin()) return Error(L"BEGIN expected");
  Next();
  return true;
}

bool Parser::ExpectEnd() {
  if (!IsEnd()) return Error(L"END expected");
  Next();
  return true;
}

bool Parser::ExpectPunct(wchar_t c) {
  if (!IsPunct(c)) return Error(std::wstring(L"'") + c + L"' expected");
  Next();
  return true;
}

bool Parser::SkipComma() {
  if (IsPunct(L',')) Next();
  return true;
}

bool Parser::LooksLikeNumber() const {
  const Token& t = Peek();
  if (t.kind == TokenKind::kNumber) return true;
  if (t.kind == TokenKind::kPunct) return t.text == L"(" || t.text == L"-" || t.text == L"~" || t.text == L"+";
  if (t.kind != TokenKind::kIdentifier) return false;
  if (Upper(t.text) == L"NOT") return true;
  return defines_.count(t.text) || Builtins().count(t.text);
}

std::optional<std::int64_t> Parser::Symbol(const std::wstring& name) {
  // A #define may name a number, another symbol, or a small expression.
  static thread_local int depth = 0;
  if (auto it = defines_.find(name); it != defines_.end()) {
    if (depth > kMaxExpressionDepth) return Error(L"symbol " + name + L" refers to itself"), std::nullopt;
    Parser sub;
    sub.defines_ = defines_;
    if (!sub.Tokenize(it->second, L"#define " + name, Peek().line) || sub.tokens_.empty())
      return Error(L"symbol " + name + L" is not a number"), std::nullopt;
    Token end;
    sub.tokens_.push_back(end);
    ++depth;
    auto value = sub.Number();
    --depth;
    if (!value || !sub.AtEnd()) {
      // A symbol that refers to itself is named by the innermost failure.
      const bool loop = sub.error_.find(L"refers to itself") != std::wstring::npos ||
                        sub.error_.find(L"nests too deep") != std::wstring::npos;
      return Error(loop ? L"symbol " + name + L" refers to itself" : L"symbol " + name + L" is not a number"),
             std::nullopt;
    }
    return value;
  }
  if (auto it = Builtins().find(name); it != Builtins().end()) return it->second;
  Error(L"unknown symbol " + name);
  return std::nullopt;
}

std::optional<std::int64_t> Parser::Primary() {
  static thread_local int depth = 0;
  if (depth > kMaxExpressionDepth) return Error(L"expression nests too deep"), std::nullopt;
  struct Guard {
    Guard() { ++depth; }
    ~Guard() { --depth; }
  } guard;
  const Token t = Peek();
  if (t.kind == TokenKind::kNumber) {
    Next();
    return t.number;
  }
  if (t.kind == TokenKind::kIdentifier && Upper(t.text) == L"NOT") {
    Next();
    auto v = Primary();
    if (!v) return std::nullopt;
    return ~*v & 0xFFFFFFFFLL;
  }
  if (t.kind == TokenKind::kIdentifier) {
    Next();
    return Symbol(t.text);
  }
  if (t.kind == TokenKind::kPunct && (t.text == L"-" || t.text == L"~" || t.text == L"+")) {
    Next();
    auto v = Primary();
    if (!v) return std::nullopt;
    if (t.text == L"-") return -*v;
    if (t.text == L"~") return ~*v & 0xFFFFFFFFLL;
    return v;
  }
  if (t.kind == TokenKind::kPunct && t.text == L"(") {
    Next();
    auto v = Number();
    if (!v || !ExpectPunct(L')')) return std::nullopt;
    return v;
  }
  Error(L"a number expected");
  return std::nullopt;
}

// Terms joined by |, + and -, left to right; "a | NOT b" clears b's bits,
// as the resource compiler of the platform does for styles.
std::optional<std::int64_t> Parser::Number() {
  auto value = Primary();
  if (!value) return std::nullopt;
  while (IsPunct(L'|') || IsPunct(L'+') || IsPunct(L'-')) {
    const wchar_t op = Next().text[0];
    if (op == L'|' && IsWord(L"NOT")) {
      Next();
      auto rhs = Primary();
      if (!rhs) return std::nullopt;
      *value &= ~*rhs;
      continue;
    }
    auto rhs = Primary();
    if (!rhs) return std::nullopt;
    *value = op == L'|' ? (*value | *rhs) : op == L'+' ? *value + *rhs : *value - *rhs;
  }
  return value;
}

std::optional<std::wstring> Parser::String() {
  if (Peek().kind != TokenKind::kString) return Error(L"a string expected"), std::nullopt;
  std::wstring text;
  while (Peek().kind == TokenKind::kString) text += Next().text;
  return text;
}

bool Parser::Compile(std::vector<arxhost::ResourceBlob>& out) {
  if (Failed()) return false;
  while (!AtEnd()) {
    if (IsWord(L"LANGUAGE")) {
      Next();
      auto primary = Number();
      if (!primary || !ExpectPunct(L',')) return false;
      auto sub = Number();
      if (!sub) return false;
      language_ = static_cast<std::uint16_t>(((*sub & 0x3F) << 10) | (*primary & 0x3FF));
      continue;
    }
    if (IsWord(L"STRINGTABLE")) {
      Next();
      if (!Statements().at(L"STRINGTABLE")(*this, 0, out)) return Error(L"bad STRINGTABLE");
      continue;
    }
    // id TYPE ...
    std::int64_t id = 0;
    if (LooksLikeNumber()) {
      auto n = Number();
      if (!n) return false;
      id = *n;
    } else {
      return Error(L"unknown symbol " + Peek().text + L" (a resource id or statement expected)");
    }
    if (id < 0 || id > 0xFFFF) return Error(L"resource id " + std::to_wstring(id) + L" is out of range");
    if (Peek().kind != TokenKind::kIdentifier) return Error(L"a resource type expected");
    const std::wstring type = Upper(Next().text);
    auto it = Statements().find(type);
    if (it == Statements().end()) return Error(L"resource type " + type + L" is not supported");
    if (!it->second(*this, static_cast<std::uint32_t>(id), out)) return Error(L"bad " + type + L" statement");
  }
  return !Failed();
}

std::string GenerateSource(const std::vector<unsigned char>& image, const std::string& origin) {
  std::ostringstream out;
  out << "// Generated by arxrc from " << origin << ": do not edit.\n"
      << "#include \"win32/exports.h\"\n\n"
      << "extern \"C\" ARXHOST_EXPORT const unsigned char arxhost_resource_image[];\n"
      << "extern \"C\" ARXHOST_EXPORT const unsigned long arxhost_resource_image_size;\n\n"
      << "alignas(8) const unsigned char arxhost_resource_image[] = {";
  for (size_t i = 0; i < image.size(); ++i) {
    if (i % 16 == 0) out << "\n   ";
    out << " " << static_cast<unsigned>(image[i]) << ",";
  }
  out << "\n};\nconst unsigned long arxhost_resource_image_size = sizeof arxhost_resource_image;\n";
  return out.str();
}

}  // namespace arxrc
