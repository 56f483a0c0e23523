#include <gtest/gtest.h>

#include "arx/aced.h"
#include "arx/acutils.h"
#include "editor/hostcommands.h"
#include "editor/sysvars.h"
#include "win32/input.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

using arxhost::SysVars;

namespace {

class EditorApi : public ::testing::Test {
 protected:
  void SetUp() override { SysVars::Reset(); }
  void TearDown() override { SysVars::Reset(); }
  arxhost::Transcript::Capture transcript;
  arxhost::LineInput none;
  arxhost::InputScope scope{none};
};

std::vector<std::wstring> answers;
arxhost::HostCommandRegistrar collect(L"T_COLLECT", L"T_COLLECT: test command", [](arxhost::CommandArgs& args) {
  answers.clear();
  while (auto a = args.Word(L"More: ")) answers.push_back(*a);
  return true;
});

}  // namespace

TEST_F(EditorApi, GetVarFillsTheBufferWithItsKindAndAStringItOwns) {
  resbuf* rb = acutNewRb(RTSTR);
  ASSERT_EQ(acedGetVar(L"_vernum", rb), RTNORM);
  EXPECT_EQ(rb->restype, RTSTR);
  EXPECT_STREQ(rb->resval.rstring, L"D.18.0.0 (UNICODE)");
  acutRelRb(rb);  // frees the string as well (the leak check says so)

  rb = acutNewRb(RTSHORT);
  ASSERT_EQ(acedGetVar(L"CMDECHO", rb), RTNORM);
  EXPECT_EQ(rb->restype, RTSHORT);
  EXPECT_EQ(rb->resval.rint, 1);
  EXPECT_EQ(acedGetVar(L"NO_SUCH_VARIABLE", rb), RTREJ);
  EXPECT_EQ(acedGetVar(nullptr, rb), RTERROR);
  EXPECT_EQ(acedGetVar(L"CMDECHO", nullptr), RTERROR);
  acutRelRb(rb);

  SysVars::SetReleaseLetter(L'T');
  rb = acutNewRb(RTSTR);
  ASSERT_EQ(acedGetVar(L"_VERNUM", rb), RTNORM);
  EXPECT_EQ(rb->resval.rstring[0], L'T');
  acutRelRb(rb);
}

TEST_F(EditorApi, SetVarChecksKindAndWritability) {
  SysVars::Define(L"T_REAL", 1.0);
  struct Case {
    const wchar_t* name;
    resbuf* value;
    int want;
  } cases[] = {
      {L"CMDECHO", acutBuildList(RTSHORT, 0, RTNONE), RTNORM},
      {L"CMDECHO", acutBuildList(RTSTR, L"0", RTNONE), RTREJ},
      {L"T_REAL", acutBuildList(RTREAL, 2.5, RTNONE), RTNORM},
      {L"T_REAL", acutBuildList(RTSHORT, 3, RTNONE), RTNORM},  // an integer for a real
      {L"_VERNUM", acutBuildList(RTSTR, L"E.18", RTNONE), RTREJ},
      {L"NO_SUCH_VARIABLE", acutBuildList(RTSHORT, 1, RTNONE), RTREJ},
  };
  for (auto& c : cases) {
    EXPECT_EQ(acedSetVar(c.name, c.value), c.want) << arxhost::ToUtf8(c.name);
    acutRelRb(c.value);
  }
  EXPECT_EQ(std::get<short>(*SysVars::Get(L"CMDECHO")), 0);
  EXPECT_EQ(std::get<double>(*SysVars::Get(L"T_REAL")), 3.0);
  EXPECT_EQ(std::get<std::wstring>(*SysVars::Get(L"_VERNUM")), L"D.18.0.0 (UNICODE)");
}

TEST_F(EditorApi, SetvarCommandShowsAndSetsValues) {
  EXPECT_EQ(arxhost::CommandLine::Execute(L"SETVAR LUPREC 2"), arxhost::CommandResult::kDone);
  EXPECT_EQ(std::get<short>(*SysVars::Get(L"LUPREC")), 2);
  EXPECT_EQ(arxhost::CommandLine::Execute(L"SETVAR LUPREC 99999"), arxhost::CommandResult::kFailed);
  EXPECT_EQ(arxhost::CommandLine::Execute(L"SETVAR _VERNUM X"), arxhost::CommandResult::kFailed);
  EXPECT_EQ(arxhost::CommandLine::Execute(L"SETVAR NOPE 1"), arxhost::CommandResult::kFailed);
  const std::wstring& t = transcript.Text();
  EXPECT_NE(t.find(L"Invalid value \"99999\" for LUPREC."), std::wstring::npos);
  EXPECT_NE(t.find(L"Cannot set _VERNUM: it is read-only."), std::wstring::npos);
  EXPECT_NE(t.find(L"Unknown variable name \"NOPE\"."), std::wstring::npos);
}

TEST_F(EditorApi, AcedCommandPassesItsValuesAsAnswersAndNothingMore) {
  const double point[3] = {1, 2.5, -3};
  EXPECT_EQ(acedCommand(RTSTR, L"T_COLLECT", RTSTR, L"word", RTSHORT, 7, RTREAL, 0.5, RT3DPOINT, point, RTSTR, L"",
                        RTNONE),
            RTNORM);
  EXPECT_EQ(answers, (std::vector<std::wstring>{L"word", L"7", L"0.5", L"1,2.5,-3", L""}));
  EXPECT_NE(transcript.Text().find(L"Command: T_COLLECT\nMore: word\n"), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"More: *Cancel*"), std::wstring::npos) << "no script line is taken";
  EXPECT_EQ(acedCommand(RTSTR, L"NO_SUCH_COMMAND", RTNONE), RTERROR);
  EXPECT_EQ(acedCommand(RTSTR, L"T_COLLECT", 12345, 1, RTNONE), RTERROR) << "an unknown type code";
  EXPECT_EQ(acedCommand(RTNONE), RTERROR);

  resbuf* chain = acutBuildList(RTSTR, L"T_COLLECT", RTSTR, L"a", RTLONG, 70000, RTNONE);
  EXPECT_EQ(acedCmd(chain), RTNORM);
  acutRelRb(chain);
  EXPECT_EQ(answers, (std::vector<std::wstring>{L"a", L"70000"}));
  EXPECT_NE(adsw_acadMainWnd(), nullptr);
}
