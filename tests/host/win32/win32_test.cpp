#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "win32/input.h"
#include "win32/messagebox.h"
#include "win32/shell.h"
#include "win32/strconv.h"
#include "win32/transcript.h"
#include "win32/wcrt.h"
#include "win32/winapi.h"

using arxhost::MessageBoxes;
using arxhost::Transcript;

TEST(SplitPath, TakesBothSeparatorsAndTheLastDot) {
  struct Case {
    const wchar_t *path, *drive, *dir, *fname, *ext;
  } cases[] = {
      {L"C:\\Program Files\\Tolvane\\Tolvane.arx", L"C:", L"\\Program Files\\Tolvane\\", L"Tolvane", L".arx"},
      {L"/work/build/bin/Tolvane.arx", L"", L"/work/build/bin/", L"Tolvane", L".arx"},
      {L"D:/mixed\\seps/file.tar.gz", L"D:", L"/mixed\\seps/", L"file.tar", L".gz"},
      {L"noext", L"", L"", L"noext", L""},
      {L"dir.d\\", L"", L"dir.d\\", L"", L""},
      {L"", L"", L"", L"", L""},
  };
  for (const auto& c : cases) {
    wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
    _wsplitpath(c.path, drive, dir, fname, ext);
    EXPECT_STREQ(drive, c.drive) << arxhost::ToUtf8(c.path);
    EXPECT_STREQ(dir, c.dir) << arxhost::ToUtf8(c.path);
    EXPECT_STREQ(fname, c.fname) << arxhost::ToUtf8(c.path);
    EXPECT_STREQ(ext, c.ext) << arxhost::ToUtf8(c.path);
  }
  wchar_t fname[_MAX_FNAME];
  _wsplitpath(L"C:\\x\\only.name", nullptr, nullptr, fname, nullptr);
  EXPECT_STREQ(fname, L"only");
  // A part longer than its buffer is cut, never overrun.
  std::wstring longDir = L"/" + std::wstring(400, L'd') + L"/f.x";
  wchar_t dir[_MAX_DIR];
  _wsplitpath(longDir.c_str(), nullptr, dir, nullptr, nullptr);
  EXPECT_EQ(std::wcslen(dir), static_cast<size_t>(_MAX_DIR - 1));
}

TEST(Swprintf, UsesTheHostFormatter) {
  wchar_t buffer[64];
  EXPECT_EQ(_swprintf(buffer, L"%s%sTolvane.mnu", L"C:", L"\\dir\\"), 18);
  EXPECT_STREQ(buffer, L"C:\\dir\\Tolvane.mnu");
  EXPECT_EQ(_swprintf(buffer, L"%S %d.%d", "narrow", 1, 0), 10);
  EXPECT_STREQ(buffer, L"narrow 1.0");
}

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { MessageBoxes::ClearHistory(); }
  Transcript::Capture transcript;
};

TEST_F(MessageBoxTest, PrintsTitleTextButtonsAndAnswer) {
  arxhost::LineInput none;
  arxhost::InputScope scope(none);
  EXPECT_EQ(MessageBoxW(nullptr, L"Something failed.", L"Caption", MB_OK | MB_ICONWARNING), IDOK);
  EXPECT_EQ(transcript.Text(),
            L"--- Message box: Caption (warning) ---\nSomething failed.\n--- Buttons: OK ---\n--- Answer: OK ---\n");
  ASSERT_EQ(MessageBoxes::History().size(), 1u);
  EXPECT_EQ(MessageBoxes::History()[0].request.type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
}

TEST_F(MessageBoxTest, ScriptAnswersOnlyWithAButtonNameElseTheDefaultIsTaken) {
  arxhost::LineInput script({L"no", L"_NEXTCOMMAND"});
  arxhost::InputScope scope(script);
  EXPECT_EQ(MessageBoxW(nullptr, L"Q?", L"T", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBoxW(nullptr, L"Q?", L"T", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO) << "default, line kept";
  EXPECT_EQ(script.PeekLine(), L"_NEXTCOMMAND");
  EXPECT_EQ(MessageBoxW(nullptr, L"Q?", L"T", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
}

TEST_F(MessageBoxTest, ATestDriverAnswersFirst) {
  arxhost::LineInput script({L"cancel"});
  arxhost::InputScope scope(script);
  {
    arxhost::MessageBoxDriver driver([](const arxhost::MessageBoxRequest& box) {
      EXPECT_EQ(box.caption, L"T");
      return box.buttons.back();
    });
    EXPECT_EQ(MessageBoxW(nullptr, L"Q?", L"T", MB_RETRYCANCEL), IDCANCEL);
    arxhost::MessageBoxDriver wrong([](const arxhost::MessageBoxRequest&) { return IDYES; });
    EXPECT_EQ(MessageBoxW(nullptr, L"Q?", L"T", MB_OK), IDOK) << "an answer the box lacks gives the default";
  }
  EXPECT_EQ(MessageBoxW(nullptr, L"Q?", L"T", MB_OKCANCEL), IDCANCEL) << "the script again";
}

TEST(ShellExecute, GivesWindowsResultCodesAndRecordsWhatItOpens) {
  namespace fs = std::filesystem;
  arxhost::ShellExecutions::EnableDesktopOpener(false);
  arxhost::ShellExecutions::ClearHistory();
  TempFolder folder;
  const fs::path& dir = folder.Path();
  { std::ofstream(dir / "help.chm") << "x"; }
  const std::wstring existing = arxhost::FromUtf8((dir / "help.chm").string());
  struct Case {
    const wchar_t* verb;
    std::wstring file;
    INT_PTR want;
  } cases[] = {
      {L"open", existing, 42},
      {nullptr, existing, 42},
      {L"open", arxhost::FromUtf8((dir / "missing.chm").string()), SE_ERR_FNF},
      {L"open", arxhost::FromUtf8((dir / "nodir" / "missing.chm").string()), SE_ERR_PNF},
      {L"print", existing, SE_ERR_NOASSOC},
      {L"open", L"", SE_ERR_FNF},
  };
  for (const auto& c : cases) {
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, c.verb, c.file.c_str(), L"", nullptr, SW_SHOW));
    EXPECT_EQ(result, c.want) << arxhost::ToUtf8(c.file);
  }
  ASSERT_EQ(arxhost::ShellExecutions::History().size(), std::size(cases));
  EXPECT_EQ(arxhost::ShellExecutions::History()[0].file, existing);
  EXPECT_EQ(arxhost::ShellExecutions::History()[0].show, SW_SHOW);
}
