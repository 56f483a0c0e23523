#include "win32/resimage.h"

#include <cstring>

namespace arxhost {
namespace {

constexpr char kMagic[8] = {'A', 'R', 'X', 'R', 'E', 'S', '0', '1'};
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kEntrySize = 20;

std::uint16_t GetU16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t GetU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool Fail(std::string* error, std::string text) {
  if (error) *error = std::move(text);
  return false;
}

}  // namespace

std::optional<ResourceImage> ResourceImage::Parse(std::span<const unsigned char> image, std::string* error) {
  if (image.size() < kHeaderSize || std::memcmp(image.data(), kMagic, sizeof kMagic) != 0) {
    Fail(error, "not a resource image (bad magic)");
    return std::nullopt;
  }
  const std::uint32_t count = GetU32(image.data() + 8);
  if (count > (image.size() - kHeaderSize) / kEntrySize) {
    Fail(error, "resource image is truncated: " + std::to_string(count) + " entries do not fit");
    return std::nullopt;
  }
  ResourceImage result;
  result.entries_.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const unsigned char* e = image.data() + kHeaderSize + i * kEntrySize;
    ResourceEntry entry;
    entry.type = GetU32(e);
    entry.id = GetU32(e + 4);
    entry.language = GetU16(e + 8);
    const std::uint64_t offset = GetU32(e + 12);
    const std::uint64_t size = GetU32(e + 16);
    if (offset > image.size() || size > image.size() - offset) {
      Fail(error, "resource " + std::to_string(entry.type) + "/" + std::to_string(entry.id) +
                      " lies outside the image");
      return std::nullopt;
    }
    entry.data = image.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
    result.entries_.push_back(entry);
  }
  return result;
}

const ResourceEntry* ResourceImage::Find(std::uint32_t type, std::uint32_t id,
                                         std::optional<std::uint16_t> language) const {
  for (const auto& e : entries_)
    if (e.type == type && e.id == id && (!language || e.language == *language)) return &e;
  return nullptr;
}

std::vector<unsigned char> BuildResourceImage(const std::vector<ResourceBlob>& blobs) {
  std::vector<unsigned char> out(kMagic, kMagic + sizeof kMagic);
  PutU32(out, static_cast<std::uint32_t>(blobs.size()));
  std::size_t offset = kHeaderSize + blobs.size() * kEntrySize;
  for (const auto& b : blobs) {
    offset = (offset + 3) & ~std::size_t{3};
    PutU32(out, b.type);
    PutU32(out, b.id);
    PutU16(out, b.language);
    PutU16(out, 0);
    PutU32(out, static_cast<std::uint32_t>(offset));
    PutU32(out, static_cast<std::uint32_t>(b.data.size()));
    offset += b.data.size();
  }
  for (const auto& b : blobs) {
    PadTo4(out);
    out.insert(out.end(), b.data.begin(), b.data.end());
  }
  return out;
}

void PutU16(std::vector<unsigned char>& out, std::uint16_t value) {
  out.push_back(static_cast<unsigned char>(value & 0xFF));
  out.push_back(static_cast<unsigned char>(value >> 8));
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

std::size_t PutUtf16(std::vector<unsigned char>& out, std::wstring_view text) {
  std::size_t units = 0;
  for (wchar_t wc : text) {
    auto c = static_cast<std::uint32_t>(wc);
    if (c > 0x10FFFF) c = 0xFFFD;
    if (c >= 0x10000) {
      c -= 0x10000;
      PutU16(out, static_cast<std::uint16_t>(0xD800 | (c >> 10)));
      PutU16(out, static_cast<std::uint16_t>(0xDC00 | (c & 0x3FF)));
      units += 2;
    } else {
      PutU16(out, static_cast<std::uint16_t>(c));
      ++units;
    }
  }
  return units;
}

std::wstring ReadUtf16(std::span<const unsigned char> bytes) {
  std::wstring out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t c = GetU16(bytes.data() + i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
      std::uint32_t low = GetU16(bytes.data() + i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    out += static_cast<wchar_t>(c);
  }
  return out;
}

void PadTo4(std::vector<unsigned char>& out) {
  while (out.size() % 4) out.push_back(0);
}

std::uint32_t StringBlockId(std::uint32_t stringId) { return stringId / 16 + 1; }

std::optional<std::wstring> StringFromBlock(std::span<const unsigned char> block, std::uint32_t stringId) {
  std::size_t pos = 0;
  for (std::uint32_t index = 0; index < 16; ++index) {
    if (pos + 2 > block.size()) return std::nullopt;
    const std::size_t units = GetU16(block.data() + pos);
    pos += 2;
    if (units * 2 > block.size() - pos) return std::nullopt;
    if (index == stringId % 16) {
      if (units == 0) return std::nullopt;
      return ReadUtf16(block.subspan(pos, units * 2));
    }
    pos += units * 2;
  }
  return std::nullopt;
}

}  // namespace arxhost
