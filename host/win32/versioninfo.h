#pragma once
// The version resource (VS_VERSIONINFO) as Windows lays it out: a tree of
// nodes, each { u16 length; u16 valueLength; u16 type (1 text, 0 binary);
// UTF-16 key with terminator; padding to 4; value; padding to 4; children }.
// valueLength counts UTF-16 units (terminator included) for text, bytes for
// binary values. The root's key is "VS_VERSION_INFO" and its value the
// 52-byte VS_FIXEDFILEINFO; under it "StringFileInfo" holds one table per
// language and code page ("040904b0") of text values, and "VarFileInfo"
// holds "Translation" (pairs of u16 language and code page).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace arxhost {

struct VersionNode {
  std::wstring key;
  bool text = false;
  std::vector<unsigned char> value;  // text: UTF-16 units with terminator
  std::vector<VersionNode> children;
};

std::vector<unsigned char> EncodeVersionNode(const VersionNode& node);
// Checks every length against its parent; nullopt and *error when broken.
std::optional<VersionNode> DecodeVersionNode(std::span<const unsigned char> bytes, std::string* error = nullptr);

// The node at a path such as "\\StringFileInfo\\040904b0\\FileVersion"
// ("\\" is the root), keys compared without regard to case.
const VersionNode* FindVersionNode(const VersionNode& root, std::wstring_view path);

}  // namespace arxhost
