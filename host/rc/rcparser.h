#pragma once
// Our resource compiler reads the subset of the .rc language that modules
// use and turns it into one resource image (see win32/resimage.h).
//
// Source: UTF-8 (bytes that are not UTF-8 are read as Latin-1). The
// preprocessor knows #include "file" (only its #define lines count; <...>
// includes are skipped, their symbols are built in), #define NAME value,
// #undef, #ifdef, #ifndef, #if NUMBER / defined(NAME), #else, #endif; other
// directives are ignored. Statements:
//   LANGUAGE primary, sub            language of what follows (0x0409 default)
//   STRINGTABLE BEGIN id, "text" ... END
//   id VERSIONINFO fixed-info BEGIN BLOCK/VALUE ... END
//   id TYPE ...                      any type a statement compiler is
//                                    registered for (RegisterStatement)
// BEGIN/END and { } are the same; numbers are decimal or 0x hex with an
// optional L or U suffix, and may be symbols, combined with |, +, -, NOT
// and parentheses; strings are "..." ("" is a quote; \n \t \\ \" \0 and
// \xHH escapes; L"..." is the same); adjacent strings join.
//
// A statement compiler for a new type (DIALOGEX, DLGINIT, ...) lives in its
// own file of this folder and registers itself:
//   static arxrc::StatementRegistrar dialogex(L"DIALOGEX", CompileDialogEx);
// It is called with the parser positioned after the type keyword and the
// resource's id, reads its statement up to its final END, and appends its
// ResourceBlob(s).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "win32/resimage.h"

namespace arxrc {

enum class TokenKind { kEnd, kIdentifier, kNumber, kString, kPunct };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::wstring text;  // identifier name, string value, or the punctuation
  std::int64_t number = 0;
  int line = 0;
  std::wstring file;
};

class Parser;
using StatementCompiler = std::function<bool(Parser& parser, std::uint32_t id, std::vector<arxhost::ResourceBlob>& out)>;

void RegisterStatement(const std::wstring& keyword, StatementCompiler compiler);
struct StatementRegistrar {
  StatementRegistrar(const std::wstring& keyword, StatementCompiler compiler) {
    RegisterStatement(keyword, std::move(compiler));
  }
};

// Symbols every .rc may use without defining them (LANG_ENGLISH, VS_FF_*,
// VOS_*, VFT_*, IDOK, IDC_STATIC, ...). Statement files add their own.
void DefineBuiltinSymbol(const std::wstring& name, std::int64_t value);

class Parser {
 public:
  // Reads and preprocesses the file (and what it includes).
  bool Load(const std::filesystem::path& file);
  // The same over text already in memory (the fuzz target, tests).
  bool LoadText(const std::string& text, const std::wstring& name, const std::filesystem::path& dir = {});

  // Compiles every statement; false after the first error.
  bool Compile(std::vector<arxhost::ResourceBlob>& out);

  const Token& Peek() const;
  Token Next();
  bool AtEnd() const { return Peek().kind == TokenKind::kEnd; }
  bool IsWord(const wchar_t* word) const;  // identifier, compared without case
  bool IsPunct(wchar_t c) const;
  bool IsBegin() const { return IsWord(L"BEGIN") || IsPunct(L'{'); }
  bool IsEnd() const { return IsWord(L"END") || IsPunct(L'}'); }
  bool ExpectBegin();
  bool ExpectEnd();
  bool ExpectPunct(wchar_t c);
  bool SkipComma();  // takes a ',' if there is one; always true

  std::optional<std::int64_t> Number();  // a numeric expression
  std::optional<std::wstring> String();  // one or more adjacent literals
  bool LooksLikeNumber() const;

  std::uint16_t Language() const { return language_; }
  bool Error(const std::wstring& message);  // records it; returns false
  bool Failed() const { return !error_.empty(); }
  const std::wstring& ErrorText() const { return error_; }

 private:
  bool Preprocess(const std::string& text, const std::wstring& name, const std::filesystem::path& dir, int depth);
  bool Tokenize(const std::wstring& line, const std::wstring& file, int lineNo);
  std::optional<std::int64_t> Primary();
  std::optional<std::int64_t> Symbol(const std::wstring& name);

  std::vector<Token> tokens_;
  size_t pos_ = 0;
  std::map<std::wstring, std::wstring> defines_;
  std::uint16_t language_ = 0x0409;
  std::wstring error_;
  bool inComment_ = false;
};

// The C++ source that defines the image as the exported arrays
// arxhost_resource_image and arxhost_resource_image_size.
std::string GenerateSource(const std::vector<unsigned char>& image, const std::string& origin);

}  // namespace arxrc
