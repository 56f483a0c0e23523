#include <gtest/gtest.h>

#include <sstream>

#include "arx/acutils.h"
#include "editor/hostcommands.h"
#include "win32/input.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

using arxhost::CommandArgs;
using arxhost::CommandLine;
using arxhost::CommandResult;
using arxhost::Transcript;

TEST(Transcript, AcutPrintfFormatsWithMicrosoftRules) {
  Transcript::Capture outer;
  {
    Transcript::Capture inner;
    EXPECT_EQ(acutPrintf(L"%s=%d %S %.2f\n", L"wide", 42, "narrow", 2.5), 20);
    EXPECT_EQ(inner.Text(), L"wide=42 narrow 2.50\n");
  }
  acutPrintf(L"after");
  EXPECT_EQ(outer.Text(), L"wide=42 narrow 2.50\nafter");
  EXPECT_EQ(acutPrintf(nullptr), 0);
}

TEST(Input, ScriptLinesSkipCommentsAndCarriageReturns) {
  std::istringstream script("first\r\n; a comment\n  ;another\n\nlast");
  arxhost::StreamInput input(script, false);
  EXPECT_EQ(input.PeekLine(), L"first");
  EXPECT_EQ(input.ReadLine(), L"first");
  EXPECT_EQ(input.ReadLine(), L"");
  EXPECT_EQ(input.PeekLine(), L"last");
  EXPECT_EQ(input.ReadLine(), L"last");
  EXPECT_EQ(input.ReadLine(), std::nullopt);
}

TEST(Input, PromptEchoesScriptAnswersAndCancelsAtTheEnd) {
  Transcript::Capture transcript;
  arxhost::LineInput lines({L"yes"});
  arxhost::InputScope scope(lines);
  EXPECT_EQ(arxhost::Input::Prompt(L"Sure? "), L"yes");
  EXPECT_EQ(arxhost::Input::Prompt(L"Again? "), std::nullopt);
  EXPECT_EQ(transcript.Text(), L"Sure? yes\nAgain? *Cancel*\n");
}

TEST(Input, ScopesStackAndUnwind) {
  arxhost::LineInput outer({L"outer"});
  arxhost::InputScope a(outer);
  {
    arxhost::LineInput inner({L"inner"});
    arxhost::InputScope b(inner);
    EXPECT_EQ(arxhost::Input::ReadLine(), L"inner");
    EXPECT_EQ(arxhost::Input::ReadLine(), std::nullopt) << "an inner source does not fall through";
  }
  EXPECT_EQ(arxhost::Input::ReadLine(), L"outer");
}

namespace {
std::vector<std::wstring> seen;
arxhost::HostCommandRegistrar echo(L"T_ECHOARGS", L"T_ECHOARGS: test command", [](CommandArgs& args) {
  seen.clear();
  if (auto w = args.Word(L"Word: ")) seen.push_back(*w);
  if (auto t = args.Text(L"Text: ")) seen.push_back(*t);
  return seen.size() == 2;
});
}  // namespace

TEST(CommandLine, HostCommandsTakeTheirLineThenAskTheInput) {
  Transcript::Capture transcript;
  arxhost::LineInput lines({L"from input"});
  arxhost::InputScope scope(lines);
  EXPECT_EQ(CommandLine::Execute(L"t_echoargs one  two words  "), CommandResult::kDone);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"one", L"two words"}));
  EXPECT_EQ(CommandLine::Execute(L"_.T_ECHOARGS only"), CommandResult::kDone);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"only", L"from input"}));
  EXPECT_EQ(CommandLine::Execute(L"T_ECHOARGS"), CommandResult::kFailed) << "the input has ended";
  EXPECT_EQ(CommandLine::Execute(L"NOSUCH thing"), CommandResult::kUnknown);
  EXPECT_NE(transcript.Text().find(L"Unknown command \"NOSUCH\"."), std::wstring::npos);
}

TEST(CommandLine, RunEchoesCommandsAndStopsAtQuit) {
  Transcript::Capture transcript;
  std::istringstream script("T_ECHOARGS a b\n\nQUIT\nT_ECHOARGS never run\n");
  arxhost::StreamInput input(script, false);
  arxhost::InputScope scope(input);
  CommandLine::Run();
  EXPECT_EQ(transcript.Text(), L"Command: T_ECHOARGS a b\nCommand: \nCommand: QUIT\n");
  EXPECT_EQ(input.ReadLine(), L"T_ECHOARGS never run");
}
