#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <cwchar>
#include <cstdio>
#include <sstream>
#include <string>

#include "TempFolder.h"
#include "win32/registry.h"
#include "win32/registry_file.h"
#include "win32/registry_store.h"

namespace fs = std::filesystem;
using namespace arxhost::registry;

namespace {

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// Each test gets its own registry file in a fresh folder.
class RegistryFile : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = folder_ / "registry.reg";
    SetFileOverride(file_);
  }
  void TearDown() override {
    SetFileOverride(std::nullopt);
    SetRenameFunction(nullptr);
  }
  HKEY CreateKey(const wchar_t* path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
  }
  static LSTATUS SetDword(HKEY key, const wchar_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  static LSTATUS GetDword(HKEY key, const wchar_t* name, DWORD& value) {
    DWORD type = 0, size = sizeof value;
    LSTATUS status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (status == ERROR_SUCCESS && type != REG_DWORD) return -1;
    return status;
  }
  size_t FilesInFolder() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()));
  }

  TempFolder folder_;
  fs::path file_;
};

constexpr const wchar_t* kKey = L"Software\\Varnel\\Tolvane Reader for AutoCAD";

}  // namespace

TEST(RegFileText, ReadsWhatAnExportHoldsAndWritesItBack) {
  const std::string text =
      "\xEF\xBB\xBFREGEDIT4\r\n"
      "\r\n"
      "; a comment\n"
      "[HKEY_CURRENT_USER\\Software\\A]\n"
      "\"Text\"=\"say \\\"hi\\\" to C:\\\\temp\"\n"
      "@=\"default\"\n"
      "\"Number\"=dword:0000002a\n"
      "\"Bytes\"=hex:01,02,\\\n"
      "  ff\n"
      "\"Expand\"=hex(2):25,54,45,4d,50,25,00\n"
      "[hkey_current_user\\software\\a]\n"
      "\"number\"=dword:ffffffff\n";
  auto parsed = ParseRegFile(text);
  ASSERT_TRUE(parsed.hive) << parsed.error;
  const Key* key = parsed.hive->Find(L"SOFTWARE\\a");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->path, L"Software\\A");
  ASSERT_EQ(key->values.size(), 5u);
  EXPECT_EQ(key->Find(L"text")->text, L"say \"hi\" to C:\\temp");
  EXPECT_EQ(key->Find(L"")->text, L"default");
  EXPECT_EQ(key->Find(L"Number")->number, 0xffffffffu);  // the later line wins
  EXPECT_EQ(key->Find(L"Number")->name, L"Number");      // with the first spelling
  EXPECT_EQ(key->Find(L"Bytes")->bytes, (std::vector<BYTE>{1, 2, 0xff}));
  EXPECT_EQ(key->Find(L"Expand")->type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(key->Find(L"Expand")->text, L"%TEMP%");
  EXPECT_NE(parsed.hive->Find(L"Software"), nullptr);  // ancestors exist

  std::string written = WriteRegFile(*parsed.hive);
  EXPECT_EQ(written.rfind("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n", 0),
            0u)
      << written;
  auto again = ParseRegFile(written);
  ASSERT_TRUE(again.hive) << again.error;
  EXPECT_EQ(WriteRegFile(*again.hive), written);
}

TEST(RegFileText, LongAndMultiLineValuesSurviveARoundTrip) {
  Hive hive;
  Key& key = hive.Create(L"Software\\B");
  Value lines;
  lines.name = L"Lines";
  lines.type = REG_SZ;
  lines.text = L"one\ntwo \u00e9";
  Value blob;
  blob.name = L"Blob";
  blob.type = REG_BINARY;
  for (int i = 0; i < 100; ++i) blob.bytes.push_back(static_cast<BYTE>(i));
  key.Set(lines);
  key.Set(blob);
  std::string written = WriteRegFile(hive);
  for (size_t start = 0, end; (end = written.find("\r\n", start)) != std::string::npos; start = end + 2)
    EXPECT_LE(end - start, 80u) << "lines are wrapped";
  auto parsed = ParseRegFile(written);
  ASSERT_TRUE(parsed.hive) << parsed.error;
  EXPECT_EQ(parsed.hive->Find(L"Software\\B")->Find(L"Lines")->text, lines.text);
  EXPECT_EQ(parsed.hive->Find(L"Software\\B")->Find(L"Blob")->bytes, blob.bytes);
}

TEST(RegFileText, RefusesMalformedTextNamingTheLine) {
  struct Case {
    const char* text;
    const char* where;
  } cases[] = {
      {"", "line 1:"},
      {"REGEDIT5\n", "line 1:"},
      {"Windows Registry Editor Version 5.00\n", "line 1:"},
      {"REGEDIT4\n\"a\"=dword:1\n", "line 2:"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n", "line 2:"},
      {"REGEDIT4\n[HKEY_CURRENT_USERS\\x]\n", "line 2:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a\\\\b]\n", "line 2:"},
      {"REGEDIT4\n[-HKEY_CURRENT_USER\\a]\n", "line 2:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a\n", "line 2:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=-\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=dword:123456789\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=dword:\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=dword:12g4\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=\"open\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=\"a\\nb\"\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=\"a\" junk\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=hex:1,2\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=hex(zz):01\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=hex:01,\\\n  02,\\\n  zz\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\nx=1\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"\"=\"empty name\"\n", "line 3:"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=qword:1\n", "line 3:"},
  };
  for (const auto& c : cases) {
    auto parsed = ParseRegFile(c.text);
    EXPECT_FALSE(parsed.hive) << c.text;
    EXPECT_EQ(parsed.error.rfind(c.where, 0), 0u) << c.text << " -> " << parsed.error;
  }
}

TEST_F(RegistryFile, StoresDwordsAndTextsUnderTheCurrentUser) {
  HKEY key = CreateKey(kKey);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(SetDword(key, L"File Type", 1), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(key, L"Mesh Type", static_cast<DWORD>(-1)), ERROR_SUCCESS);
  const wchar_t text[] = L"C:\\Program Files\\Tolvane";
  EXPECT_EQ(RegSetValueExW(key, L"Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
            ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  EXPECT_EQ(ReadText(file_),
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Varnel]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Varnel\\Tolvane Reader for AutoCAD]\r\n"
            "\"File Type\"=dword:00000001\r\n"
            "\"Mesh Type\"=dword:ffffffff\r\n"
            "\"Folder\"=\"C:\\\\Program Files\\\\Tolvane\"\r\n\r\n");

  HKEY read = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"software\\varnel\\TOLVANE READER FOR AUTOCAD", 0, KEY_READ, &read),
            ERROR_SUCCESS);
  DWORD number = 0;
  EXPECT_EQ(GetDword(read, L"file type", number), ERROR_SUCCESS);
  EXPECT_EQ(number, 1u);
  EXPECT_EQ(GetDword(read, L"3D Type", number), ERROR_FILE_NOT_FOUND);

  // Sizes as Windows gives them: asked for, too small, exact.
  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExW(read, L"Folder", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, sizeof text);
  wchar_t buffer[64] = {};
  size = 8;
  EXPECT_EQ(RegQueryValueExW(read, L"Folder", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, sizeof text);
  EXPECT_EQ(RegQueryValueExW(read, L"Folder", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(buffer, text);

  // A key opened for reading refuses changes.
  EXPECT_EQ(SetDword(read, L"File Type", 0), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCloseKey(read), ERROR_SUCCESS);
}

TEST_F(RegistryFile, ReportsTheErrorsWindowsReports) {
  HKEY key = reinterpret_cast<HKEY>(0x1);
  // Nothing stored yet, and reading creates no file.
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_FALSE(fs::exists(file_));

  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"\\Software", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x12345)), ERROR_INVALID_HANDLE);
  DWORD number = 0;
  EXPECT_EQ(GetDword(reinterpret_cast<HKEY>(0x12345), L"x", number), ERROR_INVALID_HANDLE);

  HKEY created = CreateKey(kKey);
  DWORD disposition = 0;
  HKEY again = nullptr;
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &again, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  DWORD three = 3;
  EXPECT_EQ(RegSetValueExW(created, L"x", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), 2),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(created), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(created), ERROR_INVALID_HANDLE);

  // Another program removes the key while it is open.
  fs::remove(file_);
  EXPECT_EQ(GetDword(again, L"x", number), ERROR_KEY_DELETED);
  EXPECT_EQ(SetDword(again, L"x", 1), ERROR_KEY_DELETED);
  RegCloseKey(again);
}

TEST_F(RegistryFile, AFailedReplacementKeepsThePreviousFile) {
  HKEY key = CreateKey(kKey);
  ASSERT_EQ(SetDword(key, L"File Type", 1), ERROR_SUCCESS);
  const std::string before = ReadText(file_);

  SetRenameFunction([](const char*, const char*) {
    errno = EIO;
    return -1;
  });
  EXPECT_EQ(SetDword(key, L"File Type", 0), ERROR_CANTWRITE);
  EXPECT_EQ(ReadText(file_), before);
  EXPECT_EQ(FilesInFolder(), 1u) << "the temporary file is removed";

  SetRenameFunction(nullptr);
  DWORD number = 7;
  EXPECT_EQ(GetDword(key, L"File Type", number), ERROR_SUCCESS);
  EXPECT_EQ(number, 1u);
  RegCloseKey(key);
}

// Setting a value to what it holds already (its name in any case) leaves the
// file alone; a new value or type rewrites it.
TEST_F(RegistryFile, OnlyAChangedValueRewritesTheFile) {
  static int renames;
  renames = 0;
  SetRenameFunction([](const char* from, const char* to) {
    ++renames;
    return std::rename(from, to);
  });
  HKEY key = CreateKey(kKey);
  const int afterCreate = renames;
  auto setText = [&](const wchar_t* name, const wchar_t* text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t)));
  };
  struct Step {
    std::function<LSTATUS()> set;
    int renames;  // since the key was made
  } steps[] = {{[&] { return SetDword(key, L"File Type", 1); }, 1}, {[&] { return SetDword(key, L"File Type", 1); }, 1},
               {[&] { return SetDword(key, L"File Type", 2); }, 2}, {[&] { return SetDword(key, L"FILE TYPE", 2); }, 2},
               {[&] { return setText(L"FILE TYPE", L"2"); }, 3},    {[&] { return setText(L"file type", L"2"); }, 3},
               {[&] { return setText(L"FILE TYPE", L"3"); }, 4}};
  for (size_t i = 0; i < std::size(steps); ++i) {
    EXPECT_EQ(steps[i].set(), ERROR_SUCCESS) << i;
    EXPECT_EQ(renames - afterCreate, steps[i].renames) << i;
  }
  EXPECT_NE(ReadText(file_).find("\"File Type\"=\"3\""), std::string::npos) << ReadText(file_);
  RegCloseKey(key);
}

TEST_F(RegistryFile, AMalformedFileIsKeptAsideAndReadsAsEmpty) {
  const std::string broken = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Varnel\\Tolvane Reader for AutoCAD]\n\"File";
  WriteText(file_, broken);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(ReadText(folder_ / "registry.reg.malformed"), broken);

  // The next write starts a new file; the kept one is left alone, and a
  // second broken file finds a name of its own.
  key = CreateKey(kKey);
  EXPECT_EQ(SetDword(key, L"File Type", 1), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(ReadText(file_).rfind("REGEDIT4\r\n", 0), 0u);
  WriteText(file_, "garbage");
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadText(folder_ / "registry.reg.malformed"), broken);
  EXPECT_EQ(ReadText(folder_ / "registry.reg.malformed.1"), "garbage");
}

// What cannot be stored is said where the user sees it, and what is not a
// registry file is not moved: a folder at the registry's name stays, with
// what it holds, and the settings read as defaults.
TEST_F(RegistryFile, FailuresAreSaidAndAFolderIsLeftWhereItIs) {
  HKEY key = CreateKey(kKey);
  SetRenameFunction([](const char*, const char*) {
    errno = EIO;
    return -1;
  });
  testing::internal::CaptureStderr();
  EXPECT_EQ(SetDword(key, L"File Type", 0), ERROR_CANTWRITE);
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("the settings were not saved: cannot replace " + file_.string()), std::string::npos) << said;
  SetRenameFunction(nullptr);
  RegCloseKey(key);

  fs::remove(file_);
  fs::create_directory(file_);
  WriteText(file_ / "inside.txt", "kept");
  testing::internal::CaptureStderr();
  key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_REGISTRY_CORRUPT);
  said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("The registry file " + file_.string() + " is a folder"), std::string::npos) << said;
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_EQ(ReadText(file_ / "inside.txt"), "kept");
  EXPECT_EQ(FilesInFolder(), 1u) << "nothing moved aside, no temporary file";
}

TEST_F(RegistryFile, TheFileIsFoundWhereTheOptionsAndEnvironmentSay) {
  SetFileOverride(std::nullopt);
  const char* previousRegistry = std::getenv("ARXHOST_REGISTRY");
  const char* previousXdg = std::getenv("XDG_CONFIG_HOME");
  std::string savedRegistry = previousRegistry ? previousRegistry : "";
  std::string savedXdg = previousXdg ? previousXdg : "";

  setenv("XDG_CONFIG_HOME", folder_.Path().c_str(), 1);
  unsetenv("ARXHOST_REGISTRY");
  EXPECT_EQ(FilePath(), folder_ / "arxhost" / "registry.reg");
  // The folder is made on the first write.
  HKEY key = CreateKey(L"Software\\X");
  RegCloseKey(key);
  EXPECT_TRUE(fs::exists(folder_ / "arxhost" / "registry.reg"));

  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  EXPECT_NE(FilePath(), fs::path("relative/ignored/arxhost/registry.reg"));
  setenv("ARXHOST_REGISTRY", (folder_ / "env.reg").c_str(), 1);
  EXPECT_EQ(FilePath(), folder_ / "env.reg");
  SetFileOverride(folder_ / "option.reg");
  EXPECT_EQ(FilePath(), folder_ / "option.reg");

  if (previousRegistry) setenv("ARXHOST_REGISTRY", savedRegistry.c_str(), 1);
  else unsetenv("ARXHOST_REGISTRY");
  if (previousXdg) setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  else unsetenv("XDG_CONFIG_HOME");
}
