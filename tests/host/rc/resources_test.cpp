#include <gtest/gtest.h>

#include "rcparser.h"
#include "win32/modules.h"
#include "win32/resimage.h"
#include "win32/strconv.h"
#include "win32/versioninfo.h"
#include "win32/winapi.h"

namespace {

struct Compiled {
  bool ok = false;
  std::wstring error;
  std::vector<arxhost::ResourceBlob> blobs;
};

Compiled Compile(const std::string& rc) {
  Compiled c;
  arxrc::Parser parser;
  c.ok = parser.LoadText(rc, L"test.rc") && parser.Compile(c.blobs);
  c.error = parser.ErrorText();
  return c;
}

// Registers the compiled image as a module, so the Win32 calls can read it.
class Module {
 public:
  explicit Module(const std::vector<arxhost::ResourceBlob>& blobs) : image_(arxhost::BuildResourceImage(blobs)) {
    arxhost::ModuleImage m;
    m.path = L"/modules/test.arx";
    m.resources = image_;
    instance_ = arxhost::Modules::Register(std::move(m));
  }
  ~Module() { arxhost::Modules::Unregister(instance_); }
  HINSTANCE instance() const { return instance_; }

 private:
  std::vector<unsigned char> image_;
  HINSTANCE instance_;
};

std::wstring Load(HINSTANCE m, UINT id) {
  wchar_t buffer[32];
  int n = LoadStringW(m, id, buffer, 32);
  return std::wstring(buffer, n);
}

}  // namespace

TEST(ResourceCompiler, StringTablesWithSymbolsEscapesAndLanguages) {
  auto c = Compile(
      "#define IDS_A 100\n"
      "#define IDS_B (IDS_A + 17)\n"
      "#ifdef NOT_DEFINED\n"
      "STRINGTABLE BEGIN 1 \"skipped\" END\n"
      "#else\n"
      "/* both tables add to the same blocks */\n"
      "STRINGTABLE\nBEGIN\n  IDS_A \"Tolvane\"\n  IDS_B, \"say \"\"hi\"\"\\tnow\" \" joined\"\nEND\n"
      "#endif\n"
      "STRINGTABLE { 101 L\"caf\xc3\xa9 \\x263A\" }\n");
  ASSERT_TRUE(c.ok) << arxhost::ToUtf8(c.error);
  Module m(c.blobs);
  EXPECT_EQ(Load(m.instance(), 100), L"Tolvane");
  EXPECT_EQ(Load(m.instance(), 101), L"caf\u00e9 \u263A");
  EXPECT_EQ(Load(m.instance(), 117), L"say \"hi\"\tnow joined");
  EXPECT_EQ(Load(m.instance(), 1), L"");
  EXPECT_EQ(Load(m.instance(), 102), L"");
  wchar_t small[4];
  EXPECT_EQ(LoadStringW(m.instance(), 100, small, 4), 3) << "cut to the buffer";
  EXPECT_STREQ(small, L"Tol");
  EXPECT_EQ(c.blobs.size(), 2u) << "ids 100 and 101 share block 7, 117 lies in block 8";
  EXPECT_EQ(c.blobs[0].language, 0x0409);
}

TEST(ResourceCompiler, VersionInfoBecomesAWindowsVersionBlock) {
  auto c = Compile(
      "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
      "VS_VERSION_INFO VERSIONINFO\n FILEVERSION 2,3,4,5\n PRODUCTVERSION 6,7\n FILEFLAGSMASK 0x3fL\n"
      " FILEOS VOS_NT_WINDOWS32\n FILETYPE VFT_DLL\nBEGIN\n"
      "  BLOCK \"StringFileInfo\" BEGIN BLOCK \"040904b0\" BEGIN\n"
      "    VALUE \"ProductName\", \"Sample\"\n    VALUE \"Empty\", \"\"\n  END END\n"
      "  BLOCK \"VarFileInfo\" BEGIN VALUE \"Translation\", 0x409, 1200 END\n"
      "END\n");
  ASSERT_TRUE(c.ok) << arxhost::ToUtf8(c.error);
  Module m(c.blobs);
  HRSRC r = FindResourceW(m.instance(), MAKEINTRESOURCE(1), RT_VERSION);
  ASSERT_NE(r, nullptr);
  const void* block = LockResource(LoadResource(m.instance(), r));
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block, L"\\StringFileInfo\\040904B0\\productname", &value, &length));
  EXPECT_STREQ(static_cast<wchar_t*>(value), L"Sample");
  EXPECT_EQ(length, 7u);
  ASSERT_TRUE(VerQueryValueW(block, L"\\StringFileInfo\\040904b0\\Empty", &value, &length));
  EXPECT_STREQ(static_cast<wchar_t*>(value), L"");
  EXPECT_FALSE(VerQueryValueW(block, L"\\StringFileInfo\\040904b0\\Missing", &value, &length));
  ASSERT_TRUE(VerQueryValueW(block, L"\\", &value, &length));
  auto* fixed = static_cast<VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00020003u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00040005u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00060007u);
  EXPECT_EQ(fixed->dwFileOS, 0x40004u);
  EXPECT_EQ(fixed->dwFileType, 2u);

  // The block round-trips through its own decoder.
  auto tree = arxhost::DecodeVersionNode(
      {static_cast<const unsigned char*>(block), static_cast<size_t>(SizeofResource(m.instance(), r))});
  ASSERT_TRUE(tree);
  EXPECT_EQ(arxhost::EncodeVersionNode(*tree).size(), SizeofResource(m.instance(), r));
}

TEST(ResourceCompiler, ErrorsNameTheLineAndTheFault) {
  struct Case {
    const char* rc;
    const wchar_t* error;
  } cases[] = {
      {"STRINGTABLE BEGIN 1 \"open\nEND\n", L"test.rc:1: a string is not closed on its line"},
      {"STRINGTABLE BEGIN UNKNOWN_ID \"x\" END\n", L"test.rc:1: unknown symbol UNKNOWN_ID"},
      {"STRINGTABLE BEGIN 1 \"a\" 1 \"b\" END\n", L"test.rc:1: string id 1 is defined twice"},
      {"STRINGTABLE BEGIN 70000 \"a\" END\n", L"test.rc:1: string id 70000 is out of range"},
      {"STRINGTABLE BEGIN 1 \"a\"\n", L"STRINGTABLE has no END"},
      {"1 BITMAP \"x.bmp\"\n", L"test.rc:1: resource type BITMAP is not supported"},
      {"#if 1\nSTRINGTABLE BEGIN END\n", L"test.rc:3: #if without #endif"},
      {"#endif\n", L"test.rc:1: #endif without #if"},
      {"#include \"nowhere.h\"\n", L"test.rc:1: cannot open included file \"nowhere.h\""},
      {"#define A (B)\n#define B (A)\nSTRINGTABLE BEGIN A \"x\" END\n", L"refers to itself"},
      {"1 VERSIONINFO FILEVERSION 1,0 BEGIN VALUE 3 END\n", L"test.rc:1: a string expected"},
      {"1 VERSIONINFO FROB 1\n", L"test.rc:1: unknown VERSIONINFO statement FROB"},
      {"STRINGTABLE BEGIN 0x \"a\" END\n", L"test.rc:1: 0x without hex digits"},
      {"STRINGTABLE BEGIN 1 @ END\n", L"test.rc:1: unexpected character '@'"},
  };
  for (const auto& c : cases) {
    auto compiled = Compile(c.rc);
    EXPECT_FALSE(compiled.ok) << c.rc;
    EXPECT_NE(compiled.error.find(c.error), std::wstring::npos) << c.rc << " gave " << arxhost::ToUtf8(compiled.error);
  }
}

TEST(ResourceImage, RefusesMalformedImages) {
  std::vector<unsigned char> good = arxhost::BuildResourceImage({{6, 7, 0x409, {1, 2, 3}}});
  ASSERT_TRUE(arxhost::ResourceImage::Parse(good));
  struct Case {
    std::vector<unsigned char> bytes;
    const char* error;
  } cases[] = {
      {{}, "not a resource image (bad magic)"},
      {std::vector<unsigned char>(good.begin(), good.begin() + 8), "not a resource image (bad magic)"},
      {std::vector<unsigned char>(good.begin(), good.begin() + 20), "resource image is truncated: 1 entries do not fit"},
      {std::vector<unsigned char>(good.begin(), good.end() - 2), "resource 6/7 lies outside the image"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(arxhost::ResourceImage::Parse(c.bytes, &error));
    EXPECT_EQ(error, c.error);
  }
  // A module with a broken image keeps loading, without resources.
  arxhost::ModuleImage m;
  m.path = L"/modules/broken.arx";
  m.resources = cases[3].bytes;
  std::string error;
  HINSTANCE instance = arxhost::Modules::Register(std::move(m), &error);
  EXPECT_EQ(error, "its resources are unreadable: resource 6/7 lies outside the image");
  EXPECT_EQ(FindResourceW(instance, MAKEINTRESOURCE(7), RT_STRING), nullptr);
  wchar_t path[8];
  EXPECT_EQ(GetModuleFileNameW(instance, path, 8), 8u) << "cut, and the full size returned";
  EXPECT_STREQ(path, L"/module");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  arxhost::Modules::Unregister(instance);
}

TEST(VersionBlock, DecoderRefusesLengthsThatOverrun) {
  arxhost::VersionNode root{L"VS_VERSION_INFO", false, std::vector<unsigned char>(52, 0), {}};
  root.children.push_back({L"StringFileInfo", true, {}, {{L"040904b0", true, {}, {}}}});
  auto bytes = arxhost::EncodeVersionNode(root);
  ASSERT_TRUE(arxhost::DecodeVersionNode(bytes));
  for (size_t cut : {size_t{0}, size_t{5}, bytes.size() / 2, bytes.size() - 1}) {
    std::vector<unsigned char> shorter(bytes.begin(), bytes.begin() + cut);
    EXPECT_FALSE(arxhost::DecodeVersionNode(shorter)) << cut;
  }
  auto bad = bytes;
  bad[2] = 0xFF;  // value longer than the node
  EXPECT_FALSE(arxhost::DecodeVersionNode(bad));
}
