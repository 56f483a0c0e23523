#include "win32/versioninfo.h"

#include <cwctype>
#include <set>

#include "win32/resimage.h"
#include "win32/winapi.h"

namespace arxhost {
namespace {

constexpr int kMaxDepth = 8;

std::uint16_t GetU16(std::span<const unsigned char> b, size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

size_t Align4(size_t n) { return (n + 3) & ~size_t{3}; }

bool Fail(std::string* error, const char* what) {
  if (error) *error = what;
  return false;
}

// Decodes the node at the start of bytes (bytes start 4-aligned).
bool Decode(std::span<const unsigned char> bytes, int depth, VersionNode& node, size_t& length, std::string* error) {
  if (depth > kMaxDepth) return Fail(error, "version block nests too deep");
  if (bytes.size() < 6) return Fail(error, "version block node is truncated");
  length = GetU16(bytes, 0);
  const size_t valueLength = GetU16(bytes, 2);
  const std::uint16_t type = GetU16(bytes, 4);
  if (length < 6 || length > bytes.size()) return Fail(error, "version block node has a bad length");
  if (type > 1) return Fail(error, "version block node has a bad type");
  node.text = type == 1;
  bytes = bytes.first(length);
  size_t pos = 6;
  size_t keyEnd = pos;
  while (keyEnd + 1 < bytes.size() && GetU16(bytes, keyEnd) != 0) keyEnd += 2;
  if (keyEnd + 1 >= bytes.size()) return Fail(error, "version block key is not terminated");
  node.key = ReadUtf16(bytes.subspan(pos, keyEnd - pos));
  pos = Align4(keyEnd + 2);
  const size_t valueBytes = node.text ? valueLength * 2 : valueLength;
  if (valueBytes > 0) {
    if (pos > bytes.size() || valueBytes > bytes.size() - pos) return Fail(error, "version block value overruns its node");
    node.value.assign(bytes.begin() + pos, bytes.begin() + pos + valueBytes);
    pos += valueBytes;
  }
  pos = Align4(pos);
  while (pos < bytes.size()) {
    VersionNode child;
    size_t childLength = 0;
    if (!Decode(bytes.subspan(pos), depth + 1, child, childLength, error)) return false;
    node.children.push_back(std::move(child));
    pos = Align4(pos + childLength);
  }
  return true;
}

void Encode(const VersionNode& node, std::vector<unsigned char>& out) {
  const size_t start = out.size();
  PutU16(out, 0);
  PutU16(out, static_cast<std::uint16_t>(node.text ? node.value.size() / 2 : node.value.size()));
  PutU16(out, node.text ? 1 : 0);
  PutUtf16(out, node.key);
  PutU16(out, 0);
  PadTo4(out);
  out.insert(out.end(), node.value.begin(), node.value.end());
  for (const auto& child : node.children) {
    PadTo4(out);
    Encode(child, out);
  }
  const size_t length = out.size() - start;
  out[start] = static_cast<unsigned char>(length & 0xFF);
  out[start + 1] = static_cast<unsigned char>(length >> 8);
}

bool SameKey(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

}  // namespace

std::vector<unsigned char> EncodeVersionNode(const VersionNode& node) {
  std::vector<unsigned char> out;
  Encode(node, out);
  return out;
}

std::optional<VersionNode> DecodeVersionNode(std::span<const unsigned char> bytes, std::string* error) {
  VersionNode node;
  size_t length = 0;
  if (!Decode(bytes, 0, node, length, error)) return std::nullopt;
  return node;
}

const VersionNode* FindVersionNode(const VersionNode& root, std::wstring_view path) {
  const VersionNode* node = &root;
  while (!path.empty()) {
    while (!path.empty() && path.front() == L'\\') path.remove_prefix(1);
    if (path.empty()) break;
    auto end = path.find(L'\\');
    std::wstring_view key = path.substr(0, end);
    path = end == std::wstring_view::npos ? std::wstring_view() : path.substr(end);
    const VersionNode* next = nullptr;
    for (const auto& c : node->children)
      if (SameKey(c.key, key)) {
        next = &c;
        break;
      }
    if (!next) return nullptr;
    node = next;
  }
  return node;
}

}  // namespace arxhost

BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT length) {
  if (!block || !subBlock || !buffer) return FALSE;
  auto* bytes = static_cast<const unsigned char*>(block);
  const size_t size = static_cast<size_t>(bytes[0] | (bytes[1] << 8));
  auto tree = arxhost::DecodeVersionNode({bytes, size});
  if (!tree) return FALSE;
  const arxhost::VersionNode* node = arxhost::FindVersionNode(*tree, subBlock);
  if (!node || node->value.empty()) return FALSE;
  // What is handed out is interned by content: it stays valid for the life
  // of the process, whatever becomes of the block.
  static std::set<std::wstring> texts;
  static std::set<std::vector<unsigned char>> values;
  if (node->text) {
    std::wstring text = arxhost::ReadUtf16(node->value);
    while (!text.empty() && text.back() == 0) text.pop_back();
    const std::wstring& kept = *texts.insert(std::move(text)).first;
    *buffer = const_cast<wchar_t*>(kept.c_str());
    if (length) *length = static_cast<UINT>(kept.size() + 1);
    return TRUE;
  }
  const auto& kept = *values.insert(node->value).first;
  *buffer = const_cast<unsigned char*>(kept.data());
  if (length) *length = static_cast<UINT>(kept.size());
  return TRUE;
}
