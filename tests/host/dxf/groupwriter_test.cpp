#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <string>

#include "dxf/GroupWriter.h"

using namespace arxhost::dxf;

TEST(DxfGroupWriter, RealsRoundTripWithAPointWhateverTheLocale) {
  const char* previous = std::setlocale(LC_ALL, "de_DE.UTF-8");
  std::string saved = previous ? previous : "C";
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0.0"}, {-0.0, "0.0"}, {1.0, "1.0"}, {-2.5, "-2.5"}, {0.1, "0.1"},
      {1e20, "1e+20"}, {1.0 / 3.0, "0.3333333333333333"}, {123456789012.0, "123456789012.0"},
  };
  for (const auto& c : cases) {
    std::string text = FormatReal(c.value);
    EXPECT_EQ(text, c.text);
    // strtod in the "C" locale is what readers of DXF do.
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), c.value == 0.0 ? 0.0 : c.value) << text;
    std::setlocale(LC_ALL, "de_DE.UTF-8");
  }
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(DxfGroupWriter, WritesCodesValuesAndHandles) {
  GroupWriter out;
  out.type("LINE");
  out.handle(5, 0x2AF);
  out.integer(1071, -12);
  out.point(10, 1.5, -2.0, 0.0);
  out.text(1, L"a\nb\u00e9");
  EXPECT_EQ(out.str(), "  0\nLINE\n  5\n2AF\n1071\n-12\n 10\n1.5\n 20\n-2.0\n 30\n0.0\n  1\na b\xc3\xa9\n");
}

TEST(DxfGroupWriter, RefusesValuesDxfCannotHold) {
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()}) {
    GroupWriter out;
    EXPECT_THROW(out.real(40, bad), DxfWriteError);
    EXPECT_EQ(out.str(), "");  // nothing half written
  }
}
