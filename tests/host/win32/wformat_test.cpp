#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <string>

#include "Utf8Cases.h"
#include "mfc/CString.h"
#include "win32/strconv.h"
#include "win32/wformat.h"

using arxhost::FormatWide;

TEST(WideFormat, FollowsMicrosoftRulesForStringsAndChars) {
  struct Case {
    std::wstring got, want;
  } cases[] = {
      {FormatWide(L"[%s]", L"wide"), L"[wide]"},
      {FormatWide(L"[%ls]", L"wide"), L"[wide]"},
      {FormatWide(L"[%S]", "narrow"), L"[narrow]"},
      {FormatWide(L"[%hs]", "narrow"), L"[narrow]"},
      {FormatWide(L"[%c%hc%C]", L'w', 'n', 'N'), L"[wnN]"},
      {FormatWide(L"[%-6s|%6s]", L"ab", L"cd"), L"[ab    |    cd]"},
      {FormatWide(L"[%.2s]", L"abcdef"), L"[ab]"},
      {FormatWide(L"[%s]", static_cast<const wchar_t*>(nullptr)), L"[(null)]"},
      {FormatWide(L"100%%"), L"100%"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(WideFormat, NumbersUseWindowsSizesAndAPointWhateverTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(FormatWide(L"%d %i %u", -5, 7, 4000000000u), L"-5 7 4000000000");
  EXPECT_EQ(FormatWide(L"%I64d %lld", -9000000000LL, 9000000000LL), L"-9000000000 9000000000");
  EXPECT_EQ(FormatWide(L"%hd", 65535), L"-1");
  EXPECT_EQ(FormatWide(L"%05.1f|%g|%e", 3.14159, 0.5, 1250.0), L"003.1|0.5|1.250000e+03");
  EXPECT_EQ(FormatWide(L"%x %X %o %#x", 255, 255, 8, 16), L"ff FF 10 0x10");
  EXPECT_EQ(FormatWide(L"%*d|%-*d|", 4, 1, 3, 2), L"   1|2  |");
  if (previous) std::setlocale(LC_NUMERIC, previous);
}

TEST(RealText, ShortestAndFixedFormsUseAPointWhateverTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  struct Case {
    double value;
    const char* shortest;
    int decimals;
    const char* fixed;
  } cases[] = {
      {0.1, "0.1", 2, "0.10"},
      {-3.0, "-3", 0, "-3"},
      {1e20, "1e+20", 1, "100000000000000000000.0"},
      {2.0 / 3.0, "0.6666666666666666", 4, "0.6667"},
      {-0.0, "-0", 1, "-0.0"},
      {1.25, "1.25", 1, "1.2"},  // a tie goes to the even digit
      {1e300, "1e+300", 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shortest);
    EXPECT_EQ(arxhost::FormatShortest(c.value), c.shortest);
    const std::string text = arxhost::FormatShortest(c.value);
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    EXPECT_EQ(back, c.value);  // reads back the same
    if (c.fixed) EXPECT_EQ(arxhost::FormatFixed(c.value, c.decimals), c.fixed);
  }
  // Even the largest double is written out whole.
  EXPECT_EQ(arxhost::FormatFixed(1e300, 2).size(), 301u + 3u);
  if (previous) std::setlocale(LC_NUMERIC, previous);
}

TEST(Utf8, RoundTripsAndKeepsInvalidBytes) {
  std::wstring text = L"Gr\u00fc\u00dfe \u20ac \U0001F600";
  EXPECT_EQ(arxhost::FromUtf8(arxhost::ToUtf8(text)), text);
  EXPECT_EQ(arxhost::FromUtf8("a\xff" "b\xe2\x82"), std::wstring(L"a\u00ffb\u00e2\u0082"));
  EXPECT_EQ(arxhost::NativePath(L"C:\\temp/VRN1.3dm"), "C:/temp/VRN1.3dm");
}

TEST(Utf8, BytesThatAreNotUtf8ComeThroughAsLatin1) {
  for (const auto& c : utf8cases::kDecodings) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(arxhost::FromUtf8(c.bytes), c.text);
  }
  // Text of well-formed bytes goes back to the same bytes.
  EXPECT_EQ(arxhost::ToUtf8(arxhost::FromUtf8("caf\xC3\xA9 \xF0\x9F\x98\x80")), "caf\xC3\xA9 \xF0\x9F\x98\x80");
  for (wchar_t c : utf8cases::kUnencodable) EXPECT_EQ(arxhost::ToUtf8(std::wstring(1, c)), utf8cases::kReplacement);
}

TEST(CString, EditsAndSearchesAsMfcDoes) {
  CString s(L"  Layer 01  ");
  s.Trim();
  EXPECT_EQ(s, L"Layer 01");
  EXPECT_EQ(s.Find(L'0'), 6);
  EXPECT_EQ(s.Find(L"x"), -1);
  EXPECT_EQ(s.ReverseFind(L'e'), 3);
  EXPECT_EQ(s.Left(5), L"Layer");
  EXPECT_EQ(s.Right(2), L"01");
  EXPECT_EQ(s.Mid(6), L"01");
  EXPECT_EQ(s.Mid(20), L"");
  EXPECT_EQ(s.CompareNoCase(L"LAYER 01"), 0);
  EXPECT_LT(s.Compare(L"Layer 02"), 0);
  EXPECT_EQ(s.Replace(L"0", L"zero"), 1);
  EXPECT_EQ(s, L"Layer zero1");

  CString f;
  f.Format(L"%s %s version %d.%d", L"Reader for", L"Host 2010", 1, 0);
  EXPECT_EQ(f, L"Reader for Host 2010 version 1.0");

  CString b;
  wchar_t* buf = b.GetBuffer(16);
  buf[0] = L'h';
  buf[1] = L'i';
  buf[2] = 0;
  b.ReleaseBuffer();
  EXPECT_EQ(b.GetLength(), 2);

  CString tokens(L"a,,b;c");
  int pos = 0;
  std::wstring joined;
  for (CString t = tokens.Tokenize(L",;", pos); pos != -1; t = tokens.Tokenize(L",;", pos)) joined += t.str() + L"|";
  EXPECT_EQ(joined, L"a|b|c|");
}
