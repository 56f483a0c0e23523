#include <gtest/gtest.h>

#include <string>

#include "dxf/TextValues.h"

using namespace arxhost::dxf;

TEST(DxfTextValues, CaretNotationAndParagraphs) {
  struct Case {
    std::string in;
    bool mtext;
    std::string want;
  } cases[] = {
      {"plain", false, "plain"},
      {"a^b", false, "a^ b"},
      {"tab\there", false, "tab^Ihere"},
      {"line\nnext", false, "line^Jnext"},
      {"line\nnext\r\nlast", true, "line\\Pnext\\Plast"},
      {"\xc3\xa9t\xc3\xa9", true, "\xc3\xa9t\xc3\xa9"},
  };
  for (const auto& c : cases) EXPECT_EQ(CaretEncode(c.in, c.mtext), c.want) << c.in;
}

TEST(DxfTextValues, LongValuesSplitOnCharacterBoundaries) {
  // 249 ASCII bytes and then a two-byte character: the first chunk must
  // stop before it.
  std::string value(249, 'x');
  value += "\xc3\xa9";
  value += std::string(10, 'y');
  GroupWriter out;
  WriteChunked(out, 3, 1, value);
  EXPECT_EQ(out.str(), "  3\n" + std::string(249, 'x') + "\n  1\n\xc3\xa9" + std::string(10, 'y') + "\n");

  GroupWriter shortValue;
  WriteChunked(shortValue, 3, 1, "short");
  EXPECT_EQ(shortValue.str(), "  1\nshort\n");
}

TEST(DxfTextValues, SatLinesAreEncodedAsAutoCadDoes) {
  // 'A' gives '^' and a space; other characters 159 - c; blanks stay.
  EXPECT_EQ(EncodeSatLine("A"), "^ ");
  EXPECT_EQ(EncodeSatLine("body $-1 #"), "=0;& {rn |");
  EXPECT_EQ(EncodeSatLine("@_"), "_@");

  GroupWriter out;
  WriteSatData(out, "700 0 1 0\r\n\n" + std::string(300, 'a') + "\n");
  std::string text = out.str();
  EXPECT_EQ(text.substr(0, 14), "  1\nhoo o n o\n");
  EXPECT_NE(text.find("  3\n" + std::string(45, '>') + "\n"), std::string::npos) << text;
}
