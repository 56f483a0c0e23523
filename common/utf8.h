#pragma once
// The one UTF-8 codec of the tree, shared by the host and the geometry
// vocabulary (header only, so that neither library depends on the other).
//
// Decoding: a byte that does not start a well-formed sequence (a stray
// continuation byte, a cut or overlong sequence, a surrogate or a code point
// past U+10FFFF) is taken as the Latin-1 character of the same value, and
// decoding goes on with the next byte. Older 8-bit text (Latin-1 names in
// IGES and DXF files) so stays readable, and no byte is dropped.
// Encoding: what UTF-8 cannot hold (a lone surrogate, a value past U+10FFFF)
// becomes U+FFFD.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace utf8 {

inline std::string Encode(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t wc : text) {
    auto c = static_cast<std::uint32_t>(wc);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

inline std::wstring Decode(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = s[i];
    const int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
    std::uint32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool ok = extra >= 0 && i + extra < n;
    if (ok && extra > 0) {
      for (int k = 1; ok && k <= extra; ++k) {
        if ((s[i + k] & 0xC0) != 0x80) ok = false;
        else c = (c << 6) | (s[i + k] & 0x3F);
      }
      static constexpr std::uint32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
      if (ok && (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
    }
    if (!ok) {
      out += static_cast<wchar_t>(b);
      ++i;
      continue;
    }
    out += static_cast<wchar_t>(c);
    i += extra + 1;
  }
  return out;
}

}  // namespace utf8
