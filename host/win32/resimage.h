#pragma once
// The compiled resources of a module. Our resource compiler (host/rc) turns
// the module's .rc file into one image, which the module exports as the
// byte array `arxhost_resource_image` (with `arxhost_resource_image_size`);
// the loader finds it and FindResourceW/LoadResource read it by HINSTANCE.
//
// Image layout, all numbers little-endian:
//   8 bytes   magic "ARXRES01"
//   u32       number of entries
//   entries   { u32 type; u32 id; u16 language; u16 zero; u32 offset; u32 size }
//   payloads  each at its offset from the start of the image
// Types and ids are integers (symbols of the .rc are resolved by the
// compiler). Each payload has the layout that Windows gives its type, so code
// that walks a resource reads what it would read on Windows:
//   RT_STRING  (6)   block id/16+1: 16 strings, each a u16 count of UTF-16 units
//   RT_VERSION (16)  VS_VERSIONINFO node tree (see win32/versioninfo.h)
//   RT_DIALOG  (5)   DLGTEMPLATEEX followed by its DLGITEMTEMPLATEEX items
//   RT_DLGINIT (240) records { u16 control; u16 message; u32 length; bytes },
//                    ended by a u16 0; message 0x403 adds a combo-box string
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace arxhost {

inline constexpr std::uint32_t kResourceTypeDialog = 5;
inline constexpr std::uint32_t kResourceTypeString = 6;
inline constexpr std::uint32_t kResourceTypeVersion = 16;
inline constexpr std::uint32_t kResourceTypeDlgInit = 240;

struct ResourceEntry {
  std::uint32_t type = 0;
  std::uint32_t id = 0;
  std::uint16_t language = 0;
  std::span<const unsigned char> data;
};

// A parsed view over an image; the image's bytes must outlive it.
class ResourceImage {
 public:
  // Checks the whole image; on a malformed one returns nullopt and says why.
  static std::optional<ResourceImage> Parse(std::span<const unsigned char> image, std::string* error = nullptr);

  // The entry of that type and id; with no language given, the first one.
  const ResourceEntry* Find(std::uint32_t type, std::uint32_t id,
                            std::optional<std::uint16_t> language = std::nullopt) const;
  const std::vector<ResourceEntry>& Entries() const { return entries_; }

 private:
  std::vector<ResourceEntry> entries_;
};

struct ResourceBlob {
  std::uint32_t type = 0;
  std::uint32_t id = 0;
  std::uint16_t language = 0;
  std::vector<unsigned char> data;
};

std::vector<unsigned char> BuildResourceImage(const std::vector<ResourceBlob>& blobs);

// Little-endian byte writing and UTF-16 text, shared by the resource writers.
void PutU16(std::vector<unsigned char>& out, std::uint16_t value);
void PutU32(std::vector<unsigned char>& out, std::uint32_t value);
// Characters above U+FFFF become surrogate pairs; returns the units written.
std::size_t PutUtf16(std::vector<unsigned char>& out, std::wstring_view text);
// UTF-16 units (little-endian pairs of bytes) back into a wide string.
std::wstring ReadUtf16(std::span<const unsigned char> bytes);
void PadTo4(std::vector<unsigned char>& out);

// The string-table block that holds string id, built from the strings of
// that block (index = id % 16; missing ones stay empty).
std::uint32_t StringBlockId(std::uint32_t stringId);
// The string with that id out of its block's payload; nullopt if the block
// is malformed or the string is empty (Windows keeps no empty strings).
std::optional<std::wstring> StringFromBlock(std::span<const unsigned char> block, std::uint32_t stringId);

}  // namespace arxhost
