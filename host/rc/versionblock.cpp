// id VERSIONINFO: the fixed file info, then BLOCK "name" BEGIN ... END and
// VALUE "key", "text" or VALUE "key", number, number... (16-bit numbers;
// with an L suffix, 32-bit).
#include "rcparser.h"
#include "win32/versioninfo.h"

namespace arxrc {
namespace {

constexpr int kMaxBlockDepth = 6;

bool ParseVersion(Parser& parser, std::uint32_t& ms, std::uint32_t& ls) {
  std::int64_t parts[4] = {0, 0, 0, 0};
  for (int i = 0; i < 4; ++i) {
    auto n = parser.Number();
    if (!n) return false;
    parts[i] = *n & 0xFFFF;
    if (i < 3 && !parser.IsPunct(L',')) break;
    if (i < 3) parser.Next();
  }
  ms = static_cast<std::uint32_t>((parts[0] << 16) | parts[1]);
  ls = static_cast<std::uint32_t>((parts[2] << 16) | parts[3]);
  return true;
}

bool ParseBlock(Parser& parser, arxhost::VersionNode& node, int depth) {
  if (depth > kMaxBlockDepth) return parser.Error(L"version blocks nest too deep");
  if (!parser.ExpectBegin()) return false;
  while (!parser.IsEnd()) {
    if (parser.AtEnd()) return parser.Error(L"a version block has no END");
    if (parser.IsWord(L"BLOCK")) {
      parser.Next();
      auto key = parser.String();
      if (!key) return false;
      arxhost::VersionNode child;
      child.key = *key;
      child.text = true;
      if (!ParseBlock(parser, child, depth + 1)) return false;
      node.children.push_back(std::move(child));
    } else if (parser.IsWord(L"VALUE")) {
      parser.Next();
      auto key = parser.String();
      if (!key) return false;
      arxhost::VersionNode value;
      value.key = *key;
      parser.SkipComma();
      if (parser.Peek().kind == TokenKind::kString) {
        auto text = parser.String();
        if (!text) return false;
        value.text = true;
        arxhost::PutUtf16(value.value, *text);
        arxhost::PutU16(value.value, 0);
      } else {
        for (;;) {
          const bool wide = !parser.Peek().text.empty() &&
                            (parser.Peek().text.back() == L'L' || parser.Peek().text.back() == L'l');
          auto n = parser.Number();
          if (!n) return false;
          if (wide) arxhost::PutU32(value.value, static_cast<std::uint32_t>(*n));
          else arxhost::PutU16(value.value, static_cast<std::uint16_t>(*n));
          if (!parser.IsPunct(L',')) break;
          parser.Next();
        }
      }
      node.children.push_back(std::move(value));
    } else {
      return parser.Error(L"BLOCK or VALUE expected in a version block");
    }
  }
  return parser.ExpectEnd();
}

bool CompileVersionInfo(Parser& parser, std::uint32_t id, std::vector<arxhost::ResourceBlob>& out) {
  std::uint32_t fixed[13] = {0xFEEF04BD, 0x00010000, 0, 0, 0, 0, 0x3F, 0, 0x40004, 2, 0, 0, 0};
  while (!parser.IsBegin()) {
    if (parser.AtEnd()) return parser.Error(L"VERSIONINFO has no BEGIN");
    const std::wstring word = parser.Peek().text;
    if (!parser.IsWord(L"FILEVERSION") && !parser.IsWord(L"PRODUCTVERSION") && !parser.IsWord(L"FILEFLAGSMASK") &&
        !parser.IsWord(L"FILEFLAGS") && !parser.IsWord(L"FILEOS") && !parser.IsWord(L"FILETYPE") &&
        !parser.IsWord(L"FILESUBTYPE"))
      return parser.Error(L"unknown VERSIONINFO statement " + word);
    const bool fileVersion = parser.IsWord(L"FILEVERSION"), productVersion = parser.IsWord(L"PRODUCTVERSION");
    const int slot = parser.IsWord(L"FILEFLAGSMASK") ? 6
                     : parser.IsWord(L"FILEFLAGS")   ? 7
                     : parser.IsWord(L"FILEOS")      ? 8
                     : parser.IsWord(L"FILETYPE")    ? 9
                                                     : 10;
    parser.Next();
    if (fileVersion) {
      if (!ParseVersion(parser, fixed[2], fixed[3])) return false;
    } else if (productVersion) {
      if (!ParseVersion(parser, fixed[4], fixed[5])) return false;
    } else {
      auto n = parser.Number();
      if (!n) return false;
      fixed[slot] = static_cast<std::uint32_t>(*n);
    }
  }
  arxhost::VersionNode root;
  root.key = L"VS_VERSION_INFO";
  for (std::uint32_t v : fixed) arxhost::PutU32(root.value, v);
  if (!ParseBlock(parser, root, 0)) return false;
  std::vector<unsigned char> data = arxhost::EncodeVersionNode(root);
  if (data.size() > 0xFFFF) return parser.Error(L"the version block is larger than 64 KB");
  out.push_back({arxhost::kResourceTypeVersion, id, parser.Language(), std::move(data)});
  return true;
}

StatementRegistrar versioninfo(L"VERSIONINFO", CompileVersionInfo);

}  // namespace
}  // namespace arxrc
