#include <gtest/gtest.h>

#include <climits>

#include "AcadUtils.h"
#include "editor/sysvars.h"
#include "win32/input.h"
#include "win32/messagebox.h"
#include "win32/transcript.h"

using arxhost::MessageBoxes;
using arxhost::SysVars;

namespace {

class Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    SysVars::Reset();
    SysVars::Define(L"T_SHORT", short{-1});
    SysVars::Define(L"T_REAL", 2.5);
    SysVars::Define(L"T_TEXT", std::wstring(L"text"));
    SysVars::Define(L"T_EMPTY", std::wstring());
    SysVars::Define(L"T_LOCKED", short{3}, true);
    MessageBoxes::ClearHistory();
  }
  void TearDown() override { SysVars::Reset(); }
  arxhost::Transcript::Capture transcript;
  arxhost::LineInput noInput;
  arxhost::InputScope scope{noInput};
};

}  // namespace

TEST_F(Editor, GettersReadEachKindAndLeaveTheValueAloneOnFailure) {
  int i = 7;
  EXPECT_EQ(AcadUtils::GetSysVarInt(L"t_short", i), 1);
  EXPECT_EQ(i, -1);
  double d = 0;
  EXPECT_EQ(AcadUtils::GetSysVarReal(L"T_REAL", d), 1);
  EXPECT_EQ(d, 2.5);
  CString s = L"old";
  EXPECT_EQ(AcadUtils::GetSysVarString(L"T_TEXT", s), 1);
  EXPECT_EQ(s, L"text");
  EXPECT_EQ(AcadUtils::GetSysVarString(L"T_EMPTY", s), 1);
  EXPECT_TRUE(s.IsEmpty());

  // Unknown names, and variables of another kind than the getter reads.
  i = 7, d = 1.5, s = L"kept";
  EXPECT_EQ(AcadUtils::GetSysVarInt(L"NO_SUCH_VAR", i), 0);
  EXPECT_EQ(AcadUtils::GetSysVarReal(L"NO_SUCH_VAR", d), 0);
  EXPECT_EQ(AcadUtils::GetSysVarString(L"NO_SUCH_VAR", s), 0);
  EXPECT_EQ(AcadUtils::GetSysVarString(L"T_SHORT", s), 0);
  EXPECT_EQ(AcadUtils::GetSysVarInt(L"T_TEXT", i), 0);
  EXPECT_EQ(AcadUtils::GetSysVarReal(L"T_TEXT", d), 0);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(d, 1.5);
  EXPECT_EQ(s, L"kept");
}

TEST_F(Editor, SettersHandTheHostTheValueAnIntAsItsLow16Bits) {
  struct Case {
    int given;
    short stored;
  } cases[] = {{5, 5}, {-1, -1}, {65535, -1}, {32768, -32768}, {65536 + 12, 12}, {INT_MIN, 0}};
  for (const auto& c : cases) {
    ASSERT_EQ(AcadUtils::SetSysVarInt(L"T_SHORT", c.given), 1) << c.given;
    EXPECT_EQ(std::get<short>(*SysVars::Get(L"T_SHORT")), c.stored) << c.given;
  }
  EXPECT_EQ(AcadUtils::SetSysVarReal(L"T_REAL", -0.25), 1);
  EXPECT_EQ(std::get<double>(*SysVars::Get(L"T_REAL")), -0.25);
  EXPECT_EQ(AcadUtils::SetSysVarString(L"T_TEXT", L"new text"), 1);
  EXPECT_EQ(std::get<std::wstring>(*SysVars::Get(L"T_TEXT")), L"new text");

  EXPECT_EQ(AcadUtils::SetSysVarInt(L"NO_SUCH_VAR", 1), 0);
  EXPECT_EQ(AcadUtils::SetSysVarInt(L"T_LOCKED", 1), 0);
  EXPECT_EQ(AcadUtils::SetSysVarString(L"_VERNUM", L"E.18"), 0);
  EXPECT_EQ(AcadUtils::SetSysVarString(L"T_SHORT", L"x"), 0);
  EXPECT_EQ(std::get<short>(*SysVars::Get(L"T_LOCKED")), 3);
}

TEST_F(Editor, HostReleaseFromTheFirstLetterOfVernum) {
  const wchar_t letters[] = L"TUKVNZABCDE";
  for (int i = 0; i < 11; ++i) {
    SysVars::SetReleaseLetter(letters[i]);
    EXPECT_EQ(AcadUtils::GetHostRelease(), i + 1) << static_cast<char>(letters[i]);
  }
  for (wchar_t other : {L'F', L't', L'd', L'1', L' ', L'?'}) {
    SysVars::SetReleaseLetter(other);
    EXPECT_EQ(AcadUtils::GetHostRelease(), 0) << static_cast<char>(other);
  }
  SysVars::Define(L"_VERNUM", std::wstring(), true);
  EXPECT_EQ(AcadUtils::GetHostRelease(), 0);
  SysVars::Define(L"_VERNUM", short{68}, true);  // not a text: unreadable as one
  EXPECT_EQ(AcadUtils::GetHostRelease(), 0);
  SysVars::Erase(L"_VERNUM");
  EXPECT_EQ(AcadUtils::GetHostRelease(), 0);
  EXPECT_STREQ(AcadUtils::ReleaseNames[0], L"AutoCAD ????");
  EXPECT_STREQ(AcadUtils::ReleaseNames[2], L"AutoCAD 2000i");
  EXPECT_STREQ(AcadUtils::ReleaseNames[11], L"AutoCAD 2011");
}

TEST_F(Editor, CheckHostReleaseWarnsWithTheExpectedReleaseName) {
  SysVars::SetReleaseLetter(L'Q');
  EXPECT_EQ(AcadUtils::CheckHostRelease(0), 1);
  EXPECT_TRUE(MessageBoxes::History().empty());

  SysVars::SetReleaseLetter(L'C');
  EXPECT_EQ(AcadUtils::CheckHostRelease(9), 1);
  EXPECT_EQ(AcadUtils::CheckHostRelease(10), 0);
  ASSERT_EQ(MessageBoxes::History().size(), 1u);
  const auto& box = MessageBoxes::History()[0].request;
  EXPECT_EQ(box.text, L"This plug-in is designed to work with AutoCAD 2010 based products only");
  EXPECT_EQ(box.caption, L"Incompatible AutoCAD Version");
  EXPECT_EQ(box.type, 0x30u);
  // An index outside the table names no release rather than reading past it.
  EXPECT_EQ(AcadUtils::CheckHostRelease(12), 0);
  EXPECT_EQ(MessageBoxes::History()[1].request.text,
            L"This plug-in is designed to work with AutoCAD ???? based products only");
}

TEST_F(Editor, ShowMessageFormatsLikeCStringFormat) {
  AcadUtils::ShowMessage(L"Caption", MB_YESNO | MB_ICONQUESTION, L"%d %s of %S", 3, L"wide", "narrow");
  ASSERT_EQ(MessageBoxes::History().size(), 1u);
  const auto& box = MessageBoxes::History()[0].request;
  EXPECT_EQ(box.text, L"3 wide of narrow");
  EXPECT_EQ(box.caption, L"Caption");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
}
