#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "editor/applications.h"
#include "editor/commandstack.h"
#include "editor/hostcommands.h"
#include "win32/input.h"
#include "win32/modules.h"
#include "win32/strconv.h"
#include "win32/transcript.h"
#include "win32/winapi.h"

using arxhost::Applications;
using arxhost::Transcript;

namespace {

std::wstring ProbePath() {
  return arxhost::FromUtf8(std::filesystem::canonical(PROBE_MODULE).string());
}

HINSTANCE ProbeInstance() {
  for (const auto& app : Applications::List())
    if (app.name == L"probe.arx") return app.instance;
  return nullptr;
}

class Loader : public ::testing::Test {
 protected:
  void TearDown() override {
    if (ProbeInstance()) Applications::Unload(L"probe");
  }
  Transcript::Capture transcript;
};

}  // namespace

TEST_F(Loader, RunsTheLifeCycleInOrderAndGivesTheModuleItsRealPath) {
  ASSERT_TRUE(Applications::Load(ProbePath()));
  HINSTANCE instance = ProbeInstance();
  ASSERT_NE(instance, nullptr);
  wchar_t path[MAX_PATH];
  ASSERT_EQ(GetModuleFileNameW(instance, path, MAX_PATH), ProbePath().size());
  EXPECT_EQ(std::wstring(path), ProbePath());
  EXPECT_EQ(GetModuleHandleW(L"probe.arx"), instance);
  EXPECT_EQ(GetModuleHandleW(L"PROBE"), instance);
  EXPECT_EQ(GetModuleHandleW(ProbePath().c_str()), instance);
  EXPECT_EQ(GetModuleHandleW(L"absent.arx"), nullptr);
  EXPECT_EQ(GetModuleHandleW(nullptr), arxhost::Modules::Program());

  // The module's own call of GetModuleFileNameW on the instance it was given.
  arxhost::CommandLine::Execute(L"Probe");
  EXPECT_NE(transcript.Text().find(L"probe ran from " + ProbePath() + L"\n"), std::wstring::npos);

  ASSERT_TRUE(Applications::Unload(L"probe.arx"));
  const std::wstring& t = transcript.Text();
  const size_t attach = t.find(L"probe: attach"), init = t.find(L"probe: init"), unload = t.find(L"probe: unload"),
               detach = t.find(L"probe: detach");
  ASSERT_NE(detach, std::wstring::npos) << arxhost::ToUtf8(t);
  EXPECT_LT(attach, init);
  EXPECT_LT(init, unload);
  EXPECT_LT(unload, detach);
  EXPECT_EQ(GetModuleFileNameW(instance, path, MAX_PATH), 0u) << "a freed instance is no longer known";
}

TEST_F(Loader, UnloadDropsEveryCommandOfTheModuleEvenThoseItLeftBehind) {
  ASSERT_TRUE(Applications::Load(ProbePath()));
  auto& stack = arxhost::CommandStack();
  ASSERT_NE(stack.lookupGlobalCmd(L"_Probe"), nullptr);
  ASSERT_NE(stack.lookupGlobalCmd(L"_LeftBehind"), nullptr);
  ASSERT_TRUE(Applications::Unload(L"probe"));
  EXPECT_EQ(stack.lookupGlobalCmd(L"_Probe"), nullptr);
  EXPECT_EQ(stack.lookupGlobalCmd(L"_LeftBehind"), nullptr);
  EXPECT_EQ(arxhost::CommandLine::Execute(L"LeftBehind"), arxhost::CommandResult::kUnknown);
}

TEST_F(Loader, LoadsAgainAfterUnloadButRefusesASecondCopy) {
  ASSERT_TRUE(Applications::Load(ProbePath()));
  EXPECT_FALSE(Applications::Load(ProbePath()));
  EXPECT_NE(transcript.Text().find(L"probe.arx is already loaded."), std::wstring::npos);
  ASSERT_TRUE(Applications::Unload(L"probe"));
  ASSERT_TRUE(Applications::Load(ProbePath()));
  EXPECT_NE(arxhost::CommandStack().lookupLocalCmd(L"Probe"), nullptr);
}

TEST_F(Loader, ReportsFilesThatAreNoModules) {
  TempFolder folder;
  const auto& dir = folder.Path();
  const auto garbage = dir / "garbage.arx";
  { std::ofstream(garbage) << "not an ELF file"; }
  struct Case {
    std::wstring path, says;
  } cases[] = {
      {arxhost::FromUtf8((dir / "missing.arx").string()), L"Cannot load missing.arx: "},
      {arxhost::FromUtf8(garbage.string()), L"Cannot load garbage.arx: "},
      // The host's own library has no acrxEntryPoint.
      {arxhost::FromUtf8((std::filesystem::path(PROBE_MODULE).parent_path().parent_path() / "bin" / "libarxhost.so")
                             .string()),
       L"it is not an application module (it exports no acrxEntryPoint)"},
  };
  for (const auto& c : cases) {
    transcript.Clear();
    EXPECT_FALSE(Applications::Load(c.path));
    EXPECT_NE(transcript.Text().find(c.says), std::wstring::npos) << arxhost::ToUtf8(transcript.Text());
  }
  EXPECT_FALSE(Applications::Unload(L"nothing"));
  EXPECT_NE(transcript.Text().find(L"Cannot unload nothing: no such application is loaded."), std::wstring::npos);
}

TEST_F(Loader, HostCommandsLoadListAndUnload) {
  arxhost::LineInput none;
  arxhost::InputScope scope(none);
  EXPECT_EQ(arxhost::CommandLine::Execute(L"APPLOAD " + ProbePath()), arxhost::CommandResult::kDone);
  EXPECT_EQ(arxhost::CommandLine::Execute(L"COMMANDS PROBE_GROUP"), arxhost::CommandResult::kDone);
  EXPECT_NE(transcript.Text().find(L"  PROBE_GROUP  _Probe  (local Probe, flags 1)"), std::wstring::npos);
  EXPECT_EQ(arxhost::CommandLine::Execute(L"ARX ?"), arxhost::CommandResult::kDone);
  EXPECT_NE(transcript.Text().find(L"  probe.arx  (" + ProbePath() + L")"), std::wstring::npos);
  EXPECT_EQ(arxhost::CommandLine::Execute(L"ARX UNLOAD probe"), arxhost::CommandResult::kDone);
  EXPECT_EQ(ProbeInstance(), nullptr);
  EXPECT_EQ(arxhost::CommandLine::Execute(L"ARX FROB"), arxhost::CommandResult::kFailed);
}
