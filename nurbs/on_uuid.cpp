#include "on_uuid.h"

#include <cstdio>
#include <cwchar>
#include <random>

const ON_UUID ON_nil_uuid = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

bool ON_CreateUuid(ON_UUID& uuid) {
  // One engine a thread: callers on several threads never share its state.
  static thread_local std::mt19937_64 engine{std::random_device{}()};
  const std::uint64_t a = engine();
  const std::uint64_t b = engine();
  uuid.Data1 = static_cast<std::uint32_t>(a >> 32);
  uuid.Data2 = static_cast<std::uint16_t>(a >> 16);
  uuid.Data3 = static_cast<std::uint16_t>((a & 0x0FFF) | 0x4000);
  for (int i = 0; i < 8; ++i) uuid.Data4[i] = static_cast<std::uint8_t>(b >> (8 * i));
  uuid.Data4[0] = static_cast<std::uint8_t>((uuid.Data4[0] & 0x3F) | 0x80);
  return true;
}

ON_UUID ON_CreateUuid() {
  ON_UUID u;
  ON_CreateUuid(u);
  return u;
}

int ON_UuidCompare(const ON_UUID& a, const ON_UUID& b) {
  if (a.Data1 != b.Data1) return a.Data1 < b.Data1 ? -1 : 1;
  if (a.Data2 != b.Data2) return a.Data2 < b.Data2 ? -1 : 1;
  if (a.Data3 != b.Data3) return a.Data3 < b.Data3 ? -1 : 1;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return a.Data4[i] < b.Data4[i] ? -1 : 1;
  return 0;
}

bool ON_UuidIsNil(const ON_UUID& uuid) { return ON_UuidCompare(uuid, ON_nil_uuid) == 0; }
bool ON_UuidIsNotNil(const ON_UUID& uuid) { return !ON_UuidIsNil(uuid); }

void ON_UuidToString(const ON_UUID& u, wchar_t out[37]) {
  std::swprintf(out, 37, L"%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(u.Data1), static_cast<unsigned>(u.Data2),
                static_cast<unsigned>(u.Data3), u.Data4[0], u.Data4[1], u.Data4[2], u.Data4[3],
                u.Data4[4], u.Data4[5], u.Data4[6], u.Data4[7]);
}

namespace {
int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}
}  // namespace

bool ON_UuidFromString(const wchar_t* text, ON_UUID& uuid) {
  uuid = ON_nil_uuid;
  if (!text) return false;
  if (*text == L'{') ++text;
  // Hex digit counts of the five groups.
  static const int groups[5] = {8, 4, 4, 4, 12};
  std::uint8_t bytes[16];
  int nbyte = 0;
  for (int g = 0; g < 5; ++g) {
    if (g > 0) {
      if (*text != L'-') return false;
      ++text;
    }
    for (int i = 0; i < groups[g]; i += 2) {
      const int hi = HexValue(text[0]);
      const int lo = hi < 0 ? -1 : HexValue(text[1]);
      if (hi < 0 || lo < 0) return false;
      bytes[nbyte++] = static_cast<std::uint8_t>(hi * 16 + lo);
      text += 2;
    }
  }
  if (*text == L'}') ++text;
  if (*text) return false;
  ON_UUID u;
  u.Data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
            (std::uint32_t{bytes[2]} << 8) | bytes[3];
  u.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  u.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) u.Data4[i] = bytes[8 + i];
  uuid = u;
  return true;
}
