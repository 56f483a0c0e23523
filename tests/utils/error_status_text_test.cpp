// The words of error statuses: exact texts, holes, bounds and negatives.
#include <gtest/gtest.h>

#include <climits>

#include "ErrorStatusText.h"
#include "arx/ErrorStatus.h"

namespace {

TEST(ErrorStatusText, TextsComeBackExactlyAsListed) {
  struct Case {
    int status;
    const wchar_t* text;
  } cases[] = {
      {0, L"Success"},
      {Acad::eNullObjectId, L"Null Object Id"},
      {18, L"Container Not Empty"},
      {20, L"Null Entity Pointer"},
      {60, L"Dwg Recovered OK"},
      {65, L"Dwg CRC Does Not Match"},
      {71, L"File Locked By ACAD"},
      {77, L"Dwk Lock File Found"},
      {80, L"Was Erased"},
      {Acad::eWasOpenForWrite, L"Was Open For Write"},
      {290, L"Invalid REFIID"},
      {300, L"Cannot Restore From Acis File"},
      {312, L"Null Extents"},
      {314, L"Bad Dwg Header"},
      {364, L"Cant Open File"},
      {388, L"Undefine Shape Name"},
      {395, L"Must Be 0 To 2"},
      {432, L"Make Me Proxy And Resurrect"},
  };
  for (const Case& c : cases) {
    CString text = ErrorStatusText::GetText(c.status);
    EXPECT_EQ(text, c.text) << c.status;
    EXPECT_EQ(text.GetLength(), static_cast<int>(std::wcslen(c.text))) << c.status;
  }
}

TEST(ErrorStatusText, HolesBoundsAndNegativesGiveTheEmptyText) {
  for (int status : {19, 78, 79, 107, 121, 149, 199, 313, 336, 377, 412, 429, 433, 434, 1000, INT_MAX, -1, -432,
                     INT_MIN})
    EXPECT_TRUE(ErrorStatusText::GetText(status).IsEmpty()) << status;
}

TEST(ErrorStatusText, EveryValueBetweenZeroAnd432HasAPlainPhraseOrNone) {
  int withText = 0;
  for (int status = 0; status <= 432; ++status) {
    CString text = ErrorStatusText::GetText(status);
    if (text.IsEmpty()) continue;
    ++withText;
    // Letters, digits and single spaces; no full stop, no line end.
    EXPECT_NE(text[0], L' ') << status;
    EXPECT_NE(text[text.GetLength() - 1], L' ') << status;
    EXPECT_EQ(text.Find(L"  "), -1) << status;
    for (int i = 0; i < text.GetLength(); ++i) {
      wchar_t ch = text[i];
      EXPECT_TRUE((ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z') || (ch >= L'0' && ch <= L'9') ||
                  ch == L' ')
          << status;
    }
  }
  EXPECT_EQ(withText, 279);
}

}  // namespace
