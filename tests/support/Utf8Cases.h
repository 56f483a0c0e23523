#pragma once
// Byte strings and the wide text that both UTF-8 decoders of the tree (the
// host's and the geometry vocabulary's) must give for them: well-formed
// sequences decode, and every byte that does not start one comes through as
// the Latin-1 character of the same value.
#include <string>

namespace utf8cases {

struct Decoding {
  const char* what;
  std::string bytes;
  std::wstring text;
};

inline const Decoding kDecodings[] = {
    {"two-byte sequence", "caf\xC3\xA9", L"caf\u00E9"},
    {"three-byte sequence", "\xE2\x82\xAC", L"\u20AC"},
    {"four-byte sequence", "\xF0\x9F\x98\x80", std::wstring(1, static_cast<wchar_t>(0x1F600))},
    {"Latin-1 text", "\xE9t\xE9", L"\u00E9t\u00E9"},
    {"stray continuation byte", "a\x80" "b", L"a\u0080b"},
    {"sequence cut by the end", "x\xE2\x82", L"x\u00E2\u0082"},
    {"sequence cut by a plain byte", "\xC3" "A", L"\u00C3A"},
    {"overlong form of '/'", "\xC0\xAF", L"\u00C0\u00AF"},
    {"surrogate", "\xED\xA0\x80", L"\u00ED\u00A0\u0080"},
    {"past U+10FFFF", "\xF4\x90\x80\x80", L"\u00F4\u0090\u0080\u0080"},
    {"byte that starts no sequence", "\xF8\x88", L"\u00F8\u0088"},
};

// Wide characters UTF-8 cannot hold are written as U+FFFD.
inline const wchar_t kUnencodable[] = {static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000)};
inline const char kReplacement[] = "\xEF\xBF\xBD";

}  // namespace utf8cases
