// FindFirstFileW, FindNextFileW and FindClose over a folder of the test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "win32/strconv.h"
#include "win32/winapi.h"

namespace fs = std::filesystem;

namespace {

TEST(WildcardMatch, FollowsWindowsRules) {
  struct Case {
    const wchar_t *pattern, *name;
    bool match;
  } cases[] = {
      {L"*.dxf", L"part.dxf", true},
      {L"*.dxf", L"PART.DXF", true},
      {L"*.dxf", L"Part.Dxf", true},
      {L"*.dxf", L"part.dxf.bak", false},
      {L"*.dxf", L"part.dwg", false},
      {L"*.dxf", L".dxf", true},
      {L"base*.dxf", L"base.dxf", true},
      {L"base*.dxf", L"base_2.dxf", true},
      {L"base*.dxf", L"BASE_2.DXF", true},
      {L"base*.dxf", L"other_base.dxf", false},
      {L"p?rt.dxf", L"part.dxf", true},
      {L"p?rt.dxf", L"prt.dxf", false},
      {L"p?rt.dxf", L"paart.dxf", false},
      {L"*", L"anything", true},
      {L"*.*", L"no_dot", true},
      {L"*a*b*c", L"xaybzc", true},
      {L"*a*b*c", L"xaybzcd", false},
      {L"exact.txt", L"EXACT.TXT", true},
      {L"exact.txt", L"exact.txt2", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(arxhost::WildcardMatch(c.pattern, c.name), c.match)
        << arxhost::ToUtf8(c.pattern) << " / " << arxhost::ToUtf8(c.name);
  // Backtracking stays linear enough on a hostile pattern.
  std::wstring name(5000, L'a');
  EXPECT_FALSE(arxhost::WildcardMatch(L"*a*a*a*a*a*a*a*a*b", name));
}

class FindFile : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "sub.dxf");
    for (const char* name : {"base_1.dxf", "BASE_2.DXF", "base.txt", "other.dxf", "base_3.dxf.bak"})
      std::ofstream(dir_ / name) << name;
    std::ofstream(dir_ / "base_big.dxf") << std::string(70000, 'x');
  }

  // A Windows path into the folder.
  std::wstring Win(const std::string& name) const {
    std::wstring path = arxhost::FromUtf8((dir_ / name).string());
    for (auto& c : path)
      if (c == L'/') c = L'\\';
    return path;
  }

  std::vector<std::wstring> All(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileW(h, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_EQ(FindClose(h), TRUE);
    return names;
  }

  TempFolder dir_;
};

TEST_F(FindFile, EnumeratesTheMatchesOfAFolderSortedWithoutCase) {
  EXPECT_EQ(All(Win("base*.dxf")), (std::vector<std::wstring>{L"base_1.dxf", L"BASE_2.DXF", L"base_big.dxf"}));
  EXPECT_EQ(All(Win("*.dxf")),
            (std::vector<std::wstring>{L"base_1.dxf", L"BASE_2.DXF", L"base_big.dxf", L"other.dxf", L"sub.dxf"}));
  EXPECT_EQ(All(Win("base.???")), (std::vector<std::wstring>{L"base.txt"}));
  EXPECT_EQ(All(Win("*")).size(), 9u) << "\".\" and \"..\" too, as Windows lists them";
}

TEST_F(FindFile, DescribesEachFile) {
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(Win("base_big.dxf").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, L"base_big.dxf");
  EXPECT_EQ(data.nFileSizeLow, 70000u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_FALSE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
  EXPECT_EQ(FindNextFileW(h, &data), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_EQ(FindClose(h), TRUE);

  h = FindFirstFileW(Win("sub.dxf").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  FindClose(h);
}

TEST_F(FindFile, NoMatchAndAMissingFolderFailWithTheirCodes) {
  WIN32_FIND_DATAW data;
  SetLastError(0);
  EXPECT_EQ(FindFirstFileW(Win("nothing*.dxf").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFileW(Win("missing\\*.dxf").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(FindFirstFileW(Win("base.txt\\*.dxf").c_str(), &data), INVALID_HANDLE_VALUE) << "a file is no folder";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FindFile, AClosedOrForeignHandleIsRefused) {
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(Win("*.dxf").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  // Files deleted during the search do not disturb it: the folder was read
  // when it started.
  fs::remove(dir_ / "other.dxf");
  int more = 0;
  while (FindNextFileW(h, &data)) ++more;
  EXPECT_EQ(more, 4);
  EXPECT_EQ(FindClose(h), TRUE);
  EXPECT_EQ(FindClose(h), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(FindNextFileW(h, &data), FALSE);
  EXPECT_EQ(FindClose(INVALID_HANDLE_VALUE), FALSE);
  int local = 0;
  EXPECT_EQ(FindNextFileW(&local, &data), FALSE);
}

}  // namespace
