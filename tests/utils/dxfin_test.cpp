// AcadUtils::DxfIn and AcadUtils::ImportDxfFiles through the host's DXFIN.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "AcadUtils.h"
#include "TempFolder.h"
#include "arx/dbInspector.h"
#include "win32/input.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

namespace fs = std::filesystem;
using arxhost::DatabaseInspector;

namespace {

// A DXF file of n lines.
std::string Lines(int n) {
  std::string text = "  0\nSECTION\n  2\nENTITIES\n";
  for (int i = 0; i < n; ++i)
    text += "  0\nLINE\n  8\nImported\n 10\n0\n 20\n" + std::to_string(i) + "\n 30\n0\n 11\n1\n 21\n" +
            std::to_string(i) + "\n 31\n0\n";
  return text + "  0\nENDSEC\n  0\nEOF\n";
}

size_t Count(const std::wstring& text, const std::wstring& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class DxfImport : public ::testing::Test {
 protected:
  void SetUp() override {
    arxhost::ResetWorkingDatabase();
  }
  void TearDown() override { arxhost::ResetWorkingDatabase(); }

  void Write(const std::string& name, const std::string& text) { std::ofstream(dir_ / name, std::ios::binary) << text; }
  // The path as the plug-in builds it: Windows separators.
  CString Win(const std::string& name) const {
    std::wstring path = arxhost::FromUtf8((dir_ / name).string());
    for (auto& c : path)
      if (c == L'/') c = L'\\';
    return CString(path.c_str());
  }
  size_t Entities() const { return DatabaseInspector().entities().size(); }

  TempFolder dir_;
  arxhost::Transcript::Capture transcript;
  arxhost::LineInput none;
  arxhost::InputScope scope{none};
};

TEST_F(DxfImport, SingleFileIsReadAndZoomedOnlyWhenAsked) {
  Write("one file.dxf", Lines(2));
  EXPECT_EQ(AcadUtils::DxfIn(Win("one file.dxf"), 0), 1);
  EXPECT_EQ(Entities(), 2u);
  EXPECT_EQ(Count(transcript.Text(), L"Command: _zoom"), 0u);
  EXPECT_EQ(AcadUtils::DxfIn(Win("one file.dxf"), 1), 1);
  EXPECT_EQ(Entities(), 4u);
  EXPECT_EQ(Count(transcript.Text(), L"Command: _zoom"), 1u);
  EXPECT_EQ(Count(transcript.Text(), L"Unknown command"), 0u);
  EXPECT_TRUE(fs::exists(dir_ / "one file.dxf")) << "a single import keeps its file";

  Write("broken.dxf", Lines(2).substr(0, 60));
  transcript.Clear();
  EXPECT_EQ(AcadUtils::DxfIn(Win("broken.dxf"), 1), 0);
  EXPECT_EQ(AcadUtils::DxfIn(Win("missing.dxf"), 1), 0);
  EXPECT_EQ(Entities(), 4u);
  EXPECT_EQ(Count(transcript.Text(), L"Command: _zoom"), 0u) << "no zoom after a failure";
}

TEST_F(DxfImport, BatchReadsEveryMatchDeletesEachAndCountsTheGoodOnes) {
  Write("part_1.dxf", Lines(1));
  Write("part_2.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n");  // broken
  Write("PART_3.DXF", Lines(2));
  // Not part of the batch: another name, another extension.
  Write("other.dxf", Lines(1));
  Write("part.igs", "IGES");
  Write("part_4.dxf.bak", Lines(1));

  int count = -1;
  EXPECT_EQ(AcadUtils::ImportDxfFiles(Win("part.igs"), count), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Entities(), 3u);
  const std::wstring& said = transcript.Text();
  EXPECT_EQ(Count(said, L"Unable to read 2D data from "), 1u) << arxhost::ToUtf8(said);
  // The found name without its folder, and no line end of its own.
  EXPECT_NE(said.find(L"Unable to read 2D data from part_2.dxfCommand: _dxfin"), std::wstring::npos)
      << arxhost::ToUtf8(said);
  EXPECT_EQ(Count(said, L"Command: _zoom"), 2u) << "after each file read";
  for (const char* gone : {"part_1.dxf", "part_2.dxf", "PART_3.DXF"}) EXPECT_FALSE(fs::exists(dir_ / gone)) << gone;
  for (const char* kept : {"other.dxf", "part.igs", "part_4.dxf.bak"}) EXPECT_TRUE(fs::exists(dir_ / kept)) << kept;
  EXPECT_TRUE(DatabaseInspector().openObjects().empty());
}

TEST_F(DxfImport, BatchWithNothingToReadSaysSoAndDeletesNothing) {
  Write("other.dxf", Lines(1));
  struct Case {
    std::string name;
  } cases[] = {{"part.igs"}, {"missing\\part.igs"}};
  for (const auto& c : cases) {
    transcript.Clear();
    int count = -1;
    EXPECT_EQ(AcadUtils::ImportDxfFiles(Win(c.name), count), 0) << c.name;
    EXPECT_EQ(count, 0);
    EXPECT_EQ(transcript.Text(), L"Unable to read 2D data\n") << c.name;
  }
  EXPECT_TRUE(fs::exists(dir_ / "other.dxf"));
  EXPECT_EQ(Entities(), 0u);

  int count = -1;
  Write("part_ok.dxf", Lines(1));
  EXPECT_EQ(AcadUtils::ImportDxfFiles(Win("part.igs"), count), 1);
  EXPECT_EQ(count, 1);
}

// A base path whose folder does not fit the split buffers would be cut and
// point the search (and the deletions) at the parent folder.
TEST_F(DxfImport, BatchRefusesABasePathTooLongToSplit) {
  std::string parent = (dir_ / "").string();
  std::string longFolder(300, 'd');
  // The name the cut path would match in the parent folder.
  size_t kept = 255 - parent.size();
  std::string victim = longFolder.substr(0, kept) + "x_1.dxf";
  ASSERT_LT(victim.size(), 255u);
  Write(victim, Lines(1));
  int count = -1;
  EXPECT_EQ(AcadUtils::ImportDxfFiles(Win(longFolder + "/x.igs"), count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(transcript.Text(), L"Unable to read 2D data\n");
  EXPECT_TRUE(fs::exists(dir_ / victim));
  EXPECT_EQ(Entities(), 0u);
}

}  // namespace
