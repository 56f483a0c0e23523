#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CommandTable.h"
#include "DllMain.h"
#include "LinkedPlugin.h"
#include "PluginShell.h"
#include "TempFolder.h"
#include "TolvaneApp.h"
#include "editor/commandstack.h"
#include "editor/hostcommands.h"
#include "editor/menus.h"
#include "editor/sysvars.h"
#include "win32/input.h"
#include "win32/messagebox.h"
#include "win32/shell.h"
#include "win32/transcript.h"

namespace fs = std::filesystem;
using arxhost::Menus;
using arxhost::MessageBoxes;
using arxhost::ShellExecutions;
using testing_support::LoadLinkedPlugin;
using testing_support::ModulePathIn;
using testing_support::PluginInstance;

namespace {

const fs::path kBin = TOLVANE_BIN_DIR;

struct Snapshot {
  std::vector<std::wstring> commands;
  size_t menuLoads;
  size_t barEntries;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take() {
  Snapshot s{{}, Menus::LoadRequests().size(), Menus::Bar().size()};
  for (AcEdCommand* c : arxhost::CommandStack().commandsOf(L"VRN_Tolvane")) s.commands.push_back(c->globalName());
  return s;
}

class Shell : public ::testing::Test {
 protected:
  void SetUp() override {
    Menus::Reset();
    arxhost::SysVars::Reset();
    MessageBoxes::ClearHistory();
    ShellExecutions::ClearHistory();
    ShellExecutions::EnableDesktopOpener(false);
  }
  void TearDown() override {
    testing_support::UnloadPlugin();
    arxhost::SysVars::Reset();
  }
  arxhost::Transcript::Capture transcript;
  arxhost::LineInput noInput;
  arxhost::InputScope inputScope{noInput};
};

// A folder with the menu beside the module but no help file.
class TempModuleFolder {
 public:
  TempModuleFolder() { fs::copy_file(kBin / "Tolvane.mnu", folder_ / "Tolvane.mnu"); }
  const fs::path& path() const { return folder_.Path(); }

 private:
  TempFolder folder_;
};

}  // namespace

TEST_F(Shell, RegistersTheCommandTableInOrderWithTheModuleAsResourceHandle) {
  ASSERT_TRUE(LoadLinkedPlugin(kBin));
  const auto commands = arxhost::CommandStack().commandsOf(L"VRN_Tolvane");
  ASSERT_EQ(commands.size(), 3u);
  const wchar_t* globals[] = {L"_Tolvane", L"_TolvaneHelp", L"_TolvaneAbout"};
  const wchar_t* locals[] = {L"Tolvane", L"TolvaneHelp", L"TolvaneAbout"};
  const AcRxFunctionPtr functions[] = {TolvaneImportCommand, PluginShell::ShowHelp, PluginShell::ShowAbout};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_STREQ(commands[i]->globalName(), globals[i]);
    EXPECT_STREQ(commands[i]->localName(), locals[i]);
    EXPECT_EQ(commands[i]->functionAddr(), functions[i]);
    EXPECT_EQ(commands[i]->commandFlags(), ACRX_CMD_TRANSPARENT);
    EXPECT_EQ(commands[i]->functionCode(), -1);
    EXPECT_EQ(commands[i]->UIContext(), nullptr);
    EXPECT_EQ(commands[i]->resourceHandle(), PluginInstance());
    EXPECT_STREQ(CommandTable[i].groupName, L"VRN_Tolvane");
  }
  const auto apps = arxhost::Applications::List();
  ASSERT_EQ(apps.size(), 1u);
  EXPECT_TRUE(apps[0].unlocked);
  EXPECT_TRUE(apps[0].mdiAware);
  EXPECT_EQ(theApp.m_hdllInstance, PluginInstance());
}

TEST_F(Shell, EveryMessageButInitAndUnloadLeavesEverythingAsItWas) {
  ASSERT_TRUE(LoadLinkedPlugin(kBin));
  const Snapshot loaded = Take();
  ASSERT_EQ(loaded.commands.size(), 3u);
  std::vector<unsigned> codes;
  for (unsigned code = 0; code <= 15; ++code)
    if (code != AcRx::kInitAppMsg && code != AcRx::kUnloadAppMsg) codes.push_back(code);
  for (unsigned code : {16u, 17u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) codes.push_back(code);
  int packet = 0;
  for (unsigned code : codes) {
    EXPECT_EQ(acrxEntryPoint(static_cast<AcRx::AppMsgCode>(code), &packet), AcRx::kRetOK) << code;
    EXPECT_EQ(Take(), loaded) << code;
  }
  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &packet), AcRx::kRetOK);
  EXPECT_TRUE(Take().commands.empty());
  EXPECT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, &packet), AcRx::kRetOK) << "even for a packet the host does not know";
  EXPECT_EQ(Take().commands, loaded.commands);
  EXPECT_EQ(Menus::LoadRequests().size(), loaded.menuLoads + 1);
}

TEST_F(Shell, UnloadRemovesTheCommandsAndKeepsTheMenu) {
  ASSERT_TRUE(LoadLinkedPlugin(kBin));
  ASSERT_TRUE(arxhost::Applications::Unload(L"Tolvane.arx"));
  for (const wchar_t* name : {L"_Tolvane", L"_TolvaneHelp", L"_TolvaneAbout"})
    EXPECT_EQ(arxhost::CommandStack().lookupGlobalCmd(name), nullptr) << name;
  EXPECT_EQ(arxhost::CommandLine::Execute(L"TolvaneAbout"), arxhost::CommandResult::kUnknown);
  ASSERT_EQ(Menus::Bar().size(), 1u);
  EXPECT_EQ(Menus::Bar()[0].group, L"Tolvane");
  EXPECT_EQ(Menus::Bar()[0].section, L"POP1");
}

TEST_F(Shell, EveryLoadIssuesTheMenuLoadAndThePullDownAgain) {
  const std::wstring menu = arxhost::FromUtf8((kBin / "Tolvane.mnu").string());
  ASSERT_TRUE(LoadLinkedPlugin(kBin));
  ASSERT_TRUE(arxhost::Applications::Unload(L"Tolvane"));
  ASSERT_TRUE(LoadLinkedPlugin(kBin));
  EXPECT_EQ(Menus::LoadRequests(), (std::vector<std::wstring>{menu, menu}));
  EXPECT_EQ(Menus::Bar().size(), 1u) << "inserting the same pull-down again does not double it";
  EXPECT_EQ(arxhost::CommandStack().commandsOf(L"VRN_Tolvane").size(), 3u);
  const std::wstring& t = transcript.Text();
  const std::wstring issued = L"Command: _menuload\nEnter name of menu file to load: " + menu + L"\n";
  const size_t first = t.find(issued);
  ASSERT_NE(first, std::wstring::npos) << arxhost::ToUtf8(t);
  EXPECT_NE(t.find(issued, first + 1), std::wstring::npos);
  const arxhost::MenuGroup* group = Menus::Group(L"Tolvane");
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(group->pullDowns.size(), 1u);
  std::vector<std::wstring> macros;
  for (const auto& item : group->pullDowns[0].items)
    if (!item.separator) macros.push_back(item.macro);
  EXPECT_EQ(macros, (std::vector<std::wstring>{L"^C^C_Tolvane", L"^C^C_TolvaneHelp", L"^C^C_TolvaneAbout"}));
}

TEST_F(Shell, AMissingMenuIsReportedAndTheLoadGoesOn) {
  TempFolder folder;
  const fs::path& empty = folder.Path();
  ASSERT_TRUE(LoadLinkedPlugin(empty));
  const std::wstring menu = arxhost::FromUtf8((empty / "Tolvane.mnu").string());
  EXPECT_NE(transcript.Text().find(L"Cannot find menu file \"" + menu + L"\"."), std::wstring::npos)
      << arxhost::ToUtf8(transcript.Text());
  EXPECT_TRUE(Menus::Bar().empty());
  EXPECT_EQ(arxhost::CommandStack().commandsOf(L"VRN_Tolvane").size(), 3u);
}

TEST_F(Shell, AttachSurvivesAnExtensionModuleThatFailsToInitialise) {
  ASSERT_FALSE(ExtensionModule.Attached());
  const size_t libraries = arxhost::DynLinkLibraries().size();
  const int uiInits = arxhost::AcUiInitCount();
  int unknown = 0;
  auto bogus = reinterpret_cast<HINSTANCE>(&unknown);
  EXPECT_EQ(DllMain(bogus, DLL_PROCESS_ATTACH, nullptr), TRUE);
  EXPECT_EQ(ModuleInstance, bogus);
  EXPECT_FALSE(ExtensionModule.Attached());
  EXPECT_EQ(arxhost::DynLinkLibraries().size(), libraries);
  EXPECT_EQ(arxhost::AcUiInitCount(), uiInits + 1);
  EXPECT_EQ(DllMain(bogus, DLL_PROCESS_DETACH, nullptr), TRUE);

  // A good attach then initialises it, once, with one library in the chain.
  ASSERT_TRUE(LoadLinkedPlugin(kBin));
  EXPECT_TRUE(ExtensionModule.Attached());
  EXPECT_EQ(ExtensionModule.ModuleResourceInstance(), PluginInstance());
  ASSERT_EQ(arxhost::DynLinkLibraries().size(), libraries + 1);
  EXPECT_EQ(arxhost::DynLinkLibraries().back()->m_hModule, PluginInstance());
  EXPECT_EQ(DllMain(PluginInstance(), DLL_THREAD_ATTACH, nullptr), TRUE);
  ASSERT_TRUE(arxhost::Applications::Unload(L"Tolvane"));
  EXPECT_FALSE(ExtensionModule.Attached());
  EXPECT_EQ(arxhost::DynLinkLibraries().size(), libraries);
}

TEST_F(Shell, CaptionNamesTheReleaseOfEveryVernumLetter) {
  struct Case {
    const wchar_t* vernum;
    const wchar_t* release;
  } cases[] = {
      {L"T.15", L"AutoCAD 2000"}, {L"U.15", L"AutoCAD 2000i"}, {L"K.15", L"AutoCAD 2002"},
      {L"V.16", L"AutoCAD 2004"}, {L"N.16", L"AutoCAD 2005"},  {L"Z.16", L"AutoCAD 2006"},
      {L"A.17", L"AutoCAD 2007"}, {L"B.17", L"AutoCAD 2008"},  {L"C.17", L"AutoCAD 2009"},
      {L"D.18", L"AutoCAD 2010"}, {L"E.18", L"AutoCAD 2011"},  {L"F.18", L"AutoCAD ????"},
      {L"d.18", L"AutoCAD ????"}, {L"9", L"AutoCAD ????"},     {L"", L"AutoCAD ????"},
      // Only the low 8 bits of the first character count.
      {L"\x0144.1", L"AutoCAD 2010"},
  };
  for (const auto& c : cases) {
    arxhost::SysVars::Define(L"_VERNUM", std::wstring(c.vernum), true);
    PluginShell::BuildProductCaption();
    EXPECT_EQ(std::wstring(ProductCaption), std::wstring(L"Tolvane Reader for ") + c.release + L" version 1.0")
        << arxhost::ToUtf8(c.vernum);
  }
  arxhost::SysVars::Erase(L"_VERNUM");
  PluginShell::BuildProductCaption();
  EXPECT_STREQ(ProductCaption, L"Tolvane Reader for AutoCAD ???? version 1.0");
}

TEST_F(Shell, HelpOpensTheFileBesideTheModule) {
  ASSERT_TRUE(LoadLinkedPlugin(kBin));
  arxhost::CommandLine::Execute(L"_TolvaneHelp");
  ASSERT_EQ(ShellExecutions::History().size(), 1u);
  const auto& run = ShellExecutions::History()[0];
  EXPECT_EQ(run.verb, L"open");
  EXPECT_EQ(run.file, arxhost::FromUtf8((kBin / "Tolvane.chm").string()));
  EXPECT_EQ(run.parameters, L"");
  EXPECT_EQ(run.show, SW_SHOW);
  EXPECT_GT(run.result, 32);
  EXPECT_TRUE(MessageBoxes::History().empty());
}

TEST_F(Shell, HelpWithoutItsFileWarnsUnderTheCaption) {
  TempModuleFolder folder;
  arxhost::SysVars::SetReleaseLetter(L'C');
  ASSERT_TRUE(LoadLinkedPlugin(folder.path()));
  arxhost::CommandLine::Execute(L"TolvaneHelp");
  ASSERT_EQ(ShellExecutions::History().size(), 1u);
  EXPECT_EQ(ShellExecutions::History()[0].file, arxhost::FromUtf8((folder.path() / "Tolvane.chm").string()));
  EXPECT_EQ(ShellExecutions::History()[0].result, SE_ERR_FNF);
  ASSERT_EQ(MessageBoxes::History().size(), 1u);
  const auto& box = MessageBoxes::History()[0].request;
  EXPECT_EQ(box.text, L"Error displaying Tolvane Reader for AutoCAD help file.");
  EXPECT_EQ(box.caption, L"Tolvane Reader for AutoCAD 2009 version 1.0");
  EXPECT_EQ(box.type, 0x30u);
  EXPECT_EQ(arxhost::CommandStack().commandsOf(L"VRN_Tolvane").size(), 3u) << "nothing else changes";
}

TEST_F(Shell, AboutShowsTheCaptionAndTheModuleVersion) {
  ASSERT_TRUE(LoadLinkedPlugin(kBin));
  arxhost::CommandLine::Execute(L"_TolvaneAbout");
  ASSERT_EQ(MessageBoxes::History().size(), 1u);
  const auto& box = MessageBoxes::History()[0].request;
  EXPECT_EQ(box.caption, L"Tolvane Reader for AutoCAD 2010 version 1.0");
  EXPECT_EQ(box.text, L"Tolvane Application\nVersion 1, 0, 7, 0");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

TEST_F(Shell, TheModuleCarriesItsStringTableAndVersionBlock) {
  ASSERT_TRUE(LoadLinkedPlugin(kBin));
  HINSTANCE module = PluginInstance();
  wchar_t text[64];
  EXPECT_EQ(LoadStringW(module, 100, text, 64), 7);
  EXPECT_STREQ(text, L"Tolvane");
  EXPECT_EQ(LoadStringW(module, 101, text, 64), 0);

  HRSRC resource = FindResourceW(module, MAKEINTRESOURCE(VS_VERSION_INFO), RT_VERSION);
  ASSERT_NE(resource, nullptr);
  const void* block = LockResource(LoadResource(module, resource));
  ASSERT_NE(block, nullptr);
  struct Case {
    const wchar_t *key, *value;
  } cases[] = {
      {L"FileVersion", L"1, 0, 7, 0"},
      {L"ProductVersion", L"1, 0, 7, 0"},
      {L"FileDescription", L"Tolvane ObjectARX application"},
      {L"InternalName", L"Tolvane"},
      {L"OriginalFilename", L"Tolvane.arx"},
      {L"ProductName", L"Tolvane Application"},
  };
  for (const auto& c : cases) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block, (std::wstring(L"\\StringFileInfo\\040904b0\\") + c.key).c_str(), &value, &length))
        << arxhost::ToUtf8(c.key);
    EXPECT_STREQ(static_cast<const wchar_t*>(value), c.value);
  }
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block, L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  auto* b = static_cast<const unsigned char*>(value);
  EXPECT_EQ(b[0] | (b[1] << 8), 0x0409);
  EXPECT_EQ(b[2] | (b[3] << 8), 1200);
  ASSERT_TRUE(VerQueryValueW(block, L"\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00070000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00070000u);
}
