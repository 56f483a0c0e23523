#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "arx/aced.h"
#include "editor/hostcommands.h"
#include "editor/menus.h"
#include "editor/mnufile.h"
#include "win32/input.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

using arxhost::Menus;
using arxhost::MnuError;
using arxhost::ParseMnu;

namespace {

const wchar_t kGood[] =
    L"// a comment\r\n"
    L"***MENUGROUP=Sample\r\n"
    L"\r\n"
    L"***POP1\r\n"
    L"**SAMPLE_POP\r\n"
    L"ID_Main [&Sample]\r\n"
    L"ID_One  [&One...]^C^C_One\r\n"
    L"        [--]\r\n"
    L"        [->&More]\r\n"
    L"ID_Two    [Two]^C^C_Two\r\n"
    L"          [<-Three]^C^C_Three\r\n"
    L"***POP2\r\n"
    L"[Second]\r\n"
    L"[Four]^C^C_Four\r\n"
    L"***HELPSTRINGS\r\n"
    L"ID_One [Runs one]\r\n";

}  // namespace

TEST(MnuFile, ParsesGroupPullDownsItemsAndSubmenus) {
  MnuError error;
  auto group = ParseMnu(kGood, &error);
  ASSERT_TRUE(group) << arxhost::ToUtf8(error.what) << " line " << error.line;
  EXPECT_EQ(group->name, L"Sample");
  ASSERT_EQ(group->pullDowns.size(), 2u);
  const auto& pop1 = group->pullDowns[0];
  EXPECT_EQ(pop1.section, L"POP1");
  EXPECT_EQ(pop1.alias, L"SAMPLE_POP");
  EXPECT_EQ(pop1.title, L"&Sample");
  ASSERT_EQ(pop1.items.size(), 5u);
  EXPECT_EQ(pop1.items[0].id, L"ID_One");
  EXPECT_EQ(pop1.items[0].macro, L"^C^C_One");
  EXPECT_TRUE(pop1.items[1].separator);
  EXPECT_EQ(pop1.items[3].depth, 1);
  EXPECT_EQ(arxhost::DisplayLabel(pop1.items[4].label), L"Three");
  EXPECT_EQ(arxhost::DisplayLabel(L"&Save && Exit"), L"Save & Exit");
  EXPECT_EQ(group->pullDowns[1].title, L"Second");
}

TEST(MnuFile, BrokenFilesSayWhereAndWhat) {
  struct Case {
    const wchar_t* text;
    int line;
    const wchar_t* what;
  } cases[] = {
      {L"***POP1\n[T]\n", 0, L"there is no ***MENUGROUP"},
      {L"[T]^C^C_X\n***MENUGROUP=G\n", 1, L"text before the first section"},
      {L"***MENUGROUP=G\n***POP1\n[Title\n", 3, L"a label has no closing ']'"},
      {L"***MENUGROUP=G\n***WHATEVER\n", 2, L"unknown section ***WHATEVER"},
      {L"***MENUGROUP=G\n***POP500\n[T]\n", 2, L"unknown section ***POP500"},
      {L"***MENUGROUP=G\n***MENUGROUP=H\n", 2, L"a second ***MENUGROUP"},
      {L"***MENUGROUP\n", 1, L"***MENUGROUP needs '=' and a name"},
      {L"***MENUGROUP=Two Words\n", 1, L"the menu group needs a name without blanks or dots"},
      {L"***MENUGROUP=G\n***POP1\n", 0, L"POP1 is empty"},
      {L"***MENUGROUP=G\n***POP1\n[T]\n[->Sub]\n[A]\n***POP2\n[U]\n", 6, L"a submenu of POP1 is not closed"},
      {L"***MENUGROUP=G\n***POP1\n[T]\n[<-A]\n", 4, L"'<-' closes a submenu that was never opened"},
      {L"***MENUGROUP=G\n***POP1\n[T]\n**LATE\n", 4, L"the alias of POP1 must come before its items"},
      {L"***MENUGROUP=G\n***POP1\n[T]\n***POP1\n[U]\n", 4, L"a second ***POP1"},
  };
  for (const auto& c : cases) {
    MnuError error;
    EXPECT_FALSE(ParseMnu(c.text, &error)) << arxhost::ToUtf8(c.text);
    EXPECT_EQ(error.what, c.what) << arxhost::ToUtf8(c.text);
    EXPECT_EQ(error.line, c.line) << arxhost::ToUtf8(c.text);
  }
  MnuError error;
  EXPECT_FALSE(ParseMnu(std::wstring(L"***MENUGROUP=G\n\0binary", 22), &error));
  EXPECT_EQ(error.what, L"the file is not text");
  EXPECT_EQ(error.line, 2);
}

namespace {

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override { Menus::Reset(); }
  void TearDown() override { Menus::Reset(); }
  std::wstring Write(const char* name, const std::wstring& text) {
    std::ofstream(dir_ / name, std::ios::binary) << arxhost::ToUtf8(text);
    return arxhost::FromUtf8((dir_ / name).string());
  }
  TempFolder dir_;
  arxhost::Transcript::Capture transcript;
  arxhost::LineInput none;
  arxhost::InputScope scope{none};
};

}  // namespace

TEST_F(MenusTest, MenuLoadReportsMissingAndBrokenFilesAndTheCallGoesOn) {
  const std::wstring missing = arxhost::FromUtf8((dir_ / "missing.mnu").string());
  EXPECT_EQ(acedCommand(RTSTR, L"_menuload", RTSTR, missing.c_str(), RTNONE), RTNORM);
  EXPECT_NE(transcript.Text().find(L"Cannot find menu file \"" + missing + L"\"."), std::wstring::npos);
  const std::wstring broken = Write("broken.mnu", L"***MENUGROUP=G\n***POP1\n[Title\n");
  EXPECT_EQ(acedCommand(RTSTR, L"_menuload", RTSTR, broken.c_str(), RTNONE), RTNORM);
  EXPECT_NE(transcript.Text().find(L"Error in menu file \"" + broken + L"\", line 3: a label has no closing ']'."),
            std::wstring::npos);
  EXPECT_TRUE(Menus::GroupNames().empty());
  EXPECT_EQ(acedMenuCmd(L"P10=+G.pop1"), RTERROR);
  EXPECT_TRUE(Menus::Bar().empty());
  EXPECT_EQ(Menus::LoadRequests(), (std::vector<std::wstring>{missing, broken}));
}

TEST_F(MenusTest, MenuCommandsEditTheMenuBar) {
  const std::wstring good = Write("good.mnu", kGood);
  ASSERT_EQ(acedCommand(RTSTR, L"_menuload", RTSTR, good.c_str(), RTNONE), RTNORM);
  ASSERT_EQ(Menus::GroupNames(), (std::vector<std::wstring>{L"Sample"}));
  EXPECT_EQ(acedMenuCmd(L"P10=+Sample.pop1"), RTNORM);
  EXPECT_EQ(acedMenuCmd(L"P10=+sample.POP1"), RTNORM) << "already there: not doubled";
  EXPECT_EQ(acedMenuCmd(L"P1=+Sample.SAMPLE_POP"), RTNORM) << "by alias: the same menu";
  EXPECT_EQ(acedMenuCmd(L"P1=+Sample.pop2"), RTNORM);
  ASSERT_EQ(Menus::Bar().size(), 2u);
  EXPECT_EQ(Menus::Bar()[0].section, L"POP2");
  EXPECT_EQ(Menus::Bar()[1].section, L"POP1");
  for (const wchar_t* bad : {L"P1=+Sample.pop9", L"P1=+Other.pop1", L"P1=+Sample", L"X1=+Sample.pop1", L"Px=-",
                             L"P=+Sample.pop1", L"P9=-", L""})
    EXPECT_EQ(acedMenuCmd(bad), RTERROR) << arxhost::ToUtf8(bad);
  EXPECT_EQ(acedMenuCmd(nullptr), RTERROR);
  EXPECT_EQ(acedMenuCmd(L"P1=-"), RTNORM);
  ASSERT_EQ(Menus::Bar().size(), 1u);

  transcript.Clear();
  EXPECT_EQ(arxhost::CommandLine::Execute(L"MENUBAR"), arxhost::CommandResult::kDone);
  EXPECT_EQ(transcript.Text(),
            L"  1  Sample.POP1  \"Sample\"\n"
            L"    One...  ^C^C_One\n"
            L"    --\n"
            L"    More\n"
            L"      Two  ^C^C_Two\n"
            L"      Three  ^C^C_Three\n");
}
