#include <BRep_Tool.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Brennic90Ux64.h"
#include "Corpus.h"
#include "TempFolder.h"

namespace {

const std::string kFixtures = TOLVANE_FIXTURES;
const std::string kCorpus = TOLVANE_CORPUS;

CString Wide(const std::string& path) { return CString(path.c_str()); }

std::vector<gp_Pnt> Vertices(const TopoDS_Shape& shape) {
  std::vector<gp_Pnt> points;
  for (TopExp_Explorer e(shape, TopAbs_VERTEX); e.More(); e.Next())
    points.push_back(BRep_Tool::Pnt(TopoDS::Vertex(e.Current())));
  return points;
}

void ExpectPoint(const gp_Pnt& p, double x, double y, double z) {
  EXPECT_NEAR(p.X(), x, 1e-9);
  EXPECT_NEAR(p.Y(), y, 1e-9);
  EXPECT_NEAR(p.Z(), z, 1e-9);
}

TEST(BrennIgesRead, EveryRootBecomesItsOwnShapeInTheFilesUnits) {
  // The same numbers in inches and in millimetres give the same coordinates:
  // the file's unit is kept, not converted.
  for (const char* name : {"curves_inch.igs", "curves_mm.igs"}) {
    SCOPED_TRACE(name);
    Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
    ASSERT_EQ(BrennIges::Read(Wide(kFixtures + "/" + name), shapes, 1), 1) << BrennIges::GetError().GetString();
    ASSERT_EQ(shapes->Length(), 3);
    EXPECT_EQ(shapes->Value(1).ShapeType(), TopAbs_EDGE);
    EXPECT_EQ(shapes->Value(2).ShapeType(), TopAbs_EDGE);
    EXPECT_EQ(shapes->Value(3).ShapeType(), TopAbs_VERTEX);
    auto line = Vertices(shapes->Value(1));
    ASSERT_EQ(line.size(), 2u);
    ExpectPoint(line[0], 0, 0, 0);
    ExpectPoint(line[1], 2, 1, 0);
    auto arc = Vertices(shapes->Value(2));
    ASSERT_EQ(arc.size(), 2u);
    ExpectPoint(arc[0], 6, 5, 0);
    ExpectPoint(arc[1], 5, 6, 0);
    ExpectPoint(Vertices(shapes->Value(3)).at(0), 1.5, 2.5, 3.5);
  }
}

TEST(BrennIgesRead, OtherModesGiveOneShapeAndShapesAreAppended) {
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  ASSERT_EQ(BrennIges::Read(Wide(kFixtures + "/curves_inch.igs"), shapes, 1), 1);
  ASSERT_EQ(BrennIges::Read(Wide(kFixtures + "/curves_inch.igs"), shapes, 0), 1);
  ASSERT_EQ(shapes->Length(), 4);
  EXPECT_EQ(shapes->Value(4).ShapeType(), TopAbs_COMPOUND);
  EXPECT_EQ(Vertices(shapes->Value(4)).size(), 5u);
}

TEST(BrennIgesRead, PrintsNothingOfItsOwn) {
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  BrennIges::Read(Wide(kFixtures + "/curves_inch.igs"), shapes, 1);
  BrennIges::Read(Wide(kFixtures + "/colour_only.igs"), shapes, 1);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "");
}

TEST(BrennIgesRead, WindowsPathsAreAccepted) {
  std::string path = kFixtures + "/curves_mm.igs";
  for (char& c : path)
    if (c == '/') c = '\\';
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  EXPECT_EQ(BrennIges::Read(Wide(path), shapes, 1), 1) << BrennIges::GetError().GetString();
}

struct BadFile {
  const char* label;
  std::string content;  // written to the test folder; empty name = use path as is
  std::wstring reason;
};

TEST(BrennIgesRead, BadFilesAreRefusedWithTheirReason) {
  TempFolder folder;
  auto fixture = [](const char* name) {
    std::ifstream in(kFixtures + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::vector<BadFile> cases = {
      {"empty", "", L"is empty"},
      {"text", "This is a letter, not a drawing.\nRegards\n", L"is not an IGES file"},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), L"is not an IGES file"},
      {"no_sequence", fixture("curves_no_sequence.igs"), L"no sequence number in columns 74 to 80"},
      {"truncated", fixture("curves_truncated.igs"), L"is truncated"},
      {"colour_only", fixture("colour_only.igs"), L"holds no geometry"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string path = (folder / (std::string(c.label) + ".igs")).string();
    std::ofstream(path, std::ios::binary) << c.content;
    Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
    EXPECT_EQ(BrennIges::Read(Wide(path), shapes, 1), 0);
    EXPECT_EQ(shapes->Length(), 0);
    const std::wstring error = BrennIges::GetError().str();
    EXPECT_NE(error.find(L"'" + Wide(path).str() + L"'"), std::wstring::npos) << error;
    EXPECT_NE(error.find(c.reason), std::wstring::npos) << error;
  }
}

TEST(BrennIgesRead, MissingFileFolderAndNullSequence) {
  TempFolder folder;
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  const CString missing = Wide((folder / "nowhere.igs").string());
  EXPECT_EQ(BrennIges::Read(missing, shapes, 1), 0);
  EXPECT_EQ(BrennIges::GetError(), L"The IGES file '" + missing + L"' does not exist.");

  EXPECT_EQ(BrennIges::Read(Wide(folder.Path().string()), shapes, 1), 0);
  EXPECT_NE(BrennIges::GetError().Find(L"is a folder"), -1);

  EXPECT_EQ(BrennIges::Read(Wide(kFixtures + "/curves_mm.igs"), Handle(TopTools_HSequenceOfShape)(), 1), 0);
  EXPECT_FALSE(BrennIges::GetError().IsEmpty());
}

TEST(BrennIgesRead, CorpusSolidBecomesOneSolid) {
  const std::string path = kCorpus + "/occt-import-js/Cube_10x10.igs";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "corpus not present";
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  ASSERT_EQ(BrennIges::Read(Wide(path), shapes, 1), 1) << BrennIges::GetError().GetString();
  ASSERT_EQ(shapes->Length(), 1);
  EXPECT_EQ(shapes->Value(1).ShapeType(), TopAbs_SOLID);
}

TEST(BrennIgesRead, CorpusFilesReadOrFailWithAText) {
  if (!std::filesystem::exists(kCorpus)) GTEST_SKIP() << "corpus not present";
  int read = 0;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  for (const std::filesystem::path& file : CorpusIgesFiles()) {
    if (std::filesystem::file_size(file) > 300 * 1024) continue;  // the big ones belong to the benchmarks
    SCOPED_TRACE(file.string());
    Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
    if (BrennIges::Read(Wide(file.string()), shapes, 1)) {
      EXPECT_GT(shapes->Length(), 0);
      ++read;
    } else {
      EXPECT_EQ(shapes->Length(), 0);
      EXPECT_NE(BrennIges::GetError().Find(L"The IGES file '"), -1);
    }
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // Open CASCADE's chatter stays out of the command line
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_GT(read, 0);
}

}  // namespace
