// One IGES file read along both paths (shapes, and the model file) gives the
// same coordinates, in the file's own units; a broken file is refused on
// both with the same sentence, and what the standard allows is read on both.
#include <BRep_Tool.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "IgesBuilder.h"
#include "Brennic90Ux64.h"
#include "IgesLayouts.h"
#include "Kelvrash90Ux64.h"
#include "TempFolder.h"

namespace {

const std::string kFixtures = TOLVANE_FIXTURES;
const std::string kCorpus = TOLVANE_CORPUS;
const std::string kCrashers = TOLVANE_CRASHERS;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The end points of every curve and every point, along the shape path.
std::vector<gp_Pnt> ShapePoints(const std::string& path) {
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  EXPECT_EQ(BrennIges::Read(CString(path.c_str()), shapes, 1), 1) << BrennIges::GetError().GetString();
  std::vector<gp_Pnt> points;
  for (int i = 1; i <= shapes->Length(); ++i)
    for (TopExp_Explorer e(shapes->Value(i), TopAbs_VERTEX); e.More(); e.Next())
      points.push_back(BRep_Tool::Pnt(TopoDS::Vertex(e.Current())));
  return points;
}

// The same along the model-file path.
std::vector<gp_Pnt> ModelPoints(const std::string& path) {
  TempFolder dir;
  const std::filesystem::path model = dir / "model.3dm";
  KelvIges converter;
  EXPECT_EQ(converter.IGESTo3DM(CString(path.c_str()), CString(model.string().c_str()), 4), 1)
      << KelvIges::GetError().GetString();
  std::vector<gp_Pnt> points;
  ON_3dmProperties properties;
  if (Kelv3dm::ReadStart(CString(model.string().c_str()), properties)) {
    for (int i = 0; i < Kelv3dm::ReadGetObjectTableSize(); ++i) {
      const ON_Object* object = Kelv3dm::ReadGetObject(i);
      if (const ON_Curve* curve = ON_Curve::Cast(object)) {
        for (const ON_3dPoint& p : {curve->PointAtStart(), curve->PointAtEnd()}) points.emplace_back(p.x, p.y, p.z);
      } else if (const ON_Point* point = ON_Point::Cast(object)) {
        points.emplace_back(point->point.x, point->point.y, point->point.z);
      }
    }
    Kelv3dm::ReadEnd();
  }
  return points;
}

double Nearest(const gp_Pnt& p, const std::vector<gp_Pnt>& others) {
  double best = 1e300;
  for (const gp_Pnt& q : others) best = std::min(best, p.Distance(q));
  return best;
}

TEST(BothPaths, GiveTheSameCoordinatesInTheFilesUnits) {
  for (const std::string& path : {kFixtures + "/curves_inch.igs", kFixtures + "/curves_mm.igs",
                                  kCorpus + "/dealii/line.iges", kCorpus + "/igesio/sample_curves.igs"}) {
    if (!std::filesystem::exists(path)) continue;  // the corpus is absent
    SCOPED_TRACE(path);
    const auto shapes = ShapePoints(path);
    const auto model = ModelPoints(path);
    ASSERT_FALSE(shapes.empty());
    ASSERT_FALSE(model.empty());
    // Every end of a model curve is a vertex of the shapes (which have more:
    // the joints of composite curves and polylines).
    for (const gp_Pnt& p : model) EXPECT_LT(Nearest(p, shapes), 1e-6);
  }
}

// Both verdicts on one file: the texts of GetError, empty where it was read.
struct Verdicts {
  std::wstring shapes, model;
};

Verdicts Judge(const std::string& path) {
  Verdicts v;
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  if (!BrennIges::Read(CString(path.c_str()), shapes, 1)) v.shapes = BrennIges::GetError().str();
  const std::string model = path + ".k3m";
  KelvIges converter;
  if (!converter.IGESTo3DM(CString(path.c_str()), CString(model.c_str()), 4)) v.model = KelvIges::GetError().str();
  std::filesystem::remove(model);
  return v;
}

// Replaces the first occurrence of what in text, which must be there, by
// as many characters, so that the records keep their columns.
std::string Swap(std::string text, const std::string& what, const std::string& with) {
  const size_t at = text.find(what);
  EXPECT_NE(at, std::string::npos) << what;
  EXPECT_EQ(what.size(), with.size()) << with;
  if (at != std::string::npos) text.replace(at, what.size(), with);
  return text;
}

TEST(BothPaths, RefuseBrokenFilesWithTheSameSentence) {
  const std::string curves = Slurp(kCorpus + "/igesio/sample_curves.igs");
  const std::string cube = Slurp(kCorpus + "/occt-import-js/Cube_10x10.igs");
  if (curves.empty() || cube.empty()) GTEST_SKIP() << "corpus not present";
  TempFolder folder;
  std::string nul = curves;
  nul[curves.size() / 2] = '\0';
  std::string flippedBack = cube;  // a parameter line filed under an entity that does not own it
  flippedBack[cube.find("17P      9") - 1] = '3';
  struct Case {
    const char* name;
    std::string text;
    std::wstring reason;
  } cases[] = {
      {"empty", "", L"is empty"},
      {"letter", "This is a letter, not a drawing.\nRegards\n", L"is not an IGES file"},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), L"is not an IGES file"},
      {"cut", curves.substr(0, curves.size() / 2), L"is truncated"},
      {"nul", nul, L"control character 0x00"},
      {"count", Swap(curves, "126,3,3,1,0,0,0,0.0", "126,999999999,3,1,0"), L"declares a count of 999999999"},
      {"type", Swap(curves, "     126       1", "     1X6       1"), L"cannot be read"},
      {"back", flippedBack, L"parameter line 9"},
      {"pointer", Swap(cube, "508,4,0,67,1,", "508,4,0,62,1,"), L"pointer out of range"},
      {"garbled", Swap(curves, "110,0.0,-1.0,", "110,0.0,-1.O,"), L"neither a number nor a string"},
      {"nan", Swap(curves, "110,0.0,-1.0,", "110,NaN,-1.0,"), L"neither a number nor a string"},
      {"huge", Swap(curves, "110,0.0,-1.0,0.0,", "110,1E999,-1.,0.,"), L"beyond the range of real numbers"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (folder / (std::string(c.name) + ".igs")).string();
    std::ofstream(path, std::ios::binary) << c.text;
    const Verdicts v = Judge(path);
    EXPECT_EQ(v.shapes, v.model);
    EXPECT_EQ(v.shapes.rfind(L"The IGES file '" + CString(path.c_str()).str() + L"' ", 0), 0u) << v.shapes;
    EXPECT_NE(v.shapes.find(c.reason), std::wstring::npos) << v.shapes;
  }
}

// Each of these files crashed, hung or exhausted an importer.
TEST(BothPaths, RefuseTheCrashersWithTheSameSentence) {
  if (!std::filesystem::exists(kCrashers)) GTEST_SKIP() << "crashers not present";
  struct Case {
    const char* name;
    std::wstring reason;
  } cases[] = {
      {"font310_nochars.igs", L"declares an impossible count"},
      {"bug33327.badtype.igs", L"has the entity type -12"},
      {"deep_group_402_chain_2000.igs", L"nests entities deeper than 64 levels"},
      {"fuzz_128_BSplineSurface_Init_segv.igs", L"parameter line 6 is not among the lines"},
      {"fuzz_BSplineCurve_Init_ReadOwnParams.igs", L"parameter line 261 is not among the lines"},
      {"fuzz_ToolLoop_ReadOwnParams_IsKind_null.igs", L"pointer out of range in entity 17 (type 508)"},
      {"hang_110_line_1E999999.igs", L"beyond the range of real numbers (1E999999)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Verdicts v = Judge(kCrashers + "/" + c.name);
    EXPECT_EQ(v.shapes, v.model);
    EXPECT_NE(v.shapes.find(c.reason), std::wstring::npos) << v.shapes;
  }
}

// The last entity, whose parameters are 'record', gets a comment after its
// record delimiter that runs on over one more record of its own.
std::string WithComment(const std::string& text, const std::string& record) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < text.size();) {
    const size_t j = text.find('\n', i);
    lines.push_back(text.substr(i, j - i));
    i = j + 1;
  }
  auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(record, 0) == 0; });
  EXPECT_NE(at, lines.end());
  if (at == lines.end()) return text;
  std::string comment = record + " a comment that runs on";
  comment.resize(64, ' ');
  std::string more = " over the end of its record";
  more.resize(64, ' ');
  const std::string tail = at->substr(64);
  *at = comment + tail;
  lines.insert(at + 1, more + tail);
  std::string out;
  int p = 0;
  char seq[8];
  for (std::string& l : lines) {
    if (l[72] == 'P') {
      std::snprintf(seq, sizeof seq, "%7d", ++p);
      l.replace(73, 7, seq);
    } else if (l[72] == 'T') {
      std::snprintf(seq, sizeof seq, "%7d", p);
      l.replace(25, 7, seq);
    }
    out += l + "\n";
  }
  return out;
}

TEST(BothPaths, ReadWhatTheStandardAndCommonWritersAllow) {
  TempFolder folder;
  using testiges::IgesBuilder;
  IgesBuilder points;
  points.Add(116, {"10.", "20.", "30."});
  points.Add(116, {"20.", "30.", "40."});
  points.Add(116, {"30.", "40.", "50."});
  const std::string comments = WithComment(points.Text(), "116,30.,40.,50.;");
  IgesBuilder integers;  // integers where reals belong
  integers.Add(110, {"0", "0", "0", "10", "5", "0"});
  integers.Add(116, {"1", "2", "3"});
  std::string unlined = points.Text();  // 80-column records without line feeds
  unlined.erase(std::remove(unlined.begin(), unlined.end(), '\n'), unlined.end());
  IgesBuilder many;  // enough points to fill many records
  for (int k = 0; k < 12; ++k) many.Add(116, {testiges::R(k), testiges::R(2 * k), testiges::R(3 * k)});

  struct Case {
    const char* name;
    std::string text;
    std::vector<gp_Pnt> expected;
    size_t count;  // vertices along the shape path, curve ends and points along the model path
  } cases[] = {
      {"comments", comments, {{10, 20, 30}, {20, 30, 40}, {30, 40, 50}}, 3},
      {"integers", integers.Text(), {{0, 0, 0}, {10, 5, 0}, {1, 2, 3}}, 3},
      {"unlined", unlined, {{10, 20, 30}, {20, 30, 40}, {30, 40, 50}}, 3},
      {"column65", DelimitersInColumn65(many.Text()), {{0, 0, 0}, {5, 10, 15}, {11, 22, 33}}, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (folder / (std::string(c.name) + ".igs")).string();
    std::ofstream(path, std::ios::binary) << c.text;
    const auto shapes = ShapePoints(path);
    const auto model = ModelPoints(path);
    for (const gp_Pnt& p : c.expected) {
      EXPECT_LT(Nearest(p, shapes), 1e-9) << p.X() << " " << p.Y() << " " << p.Z();
      EXPECT_LT(Nearest(p, model), 1e-9) << p.X() << " " << p.Y() << " " << p.Z();
    }
    EXPECT_EQ(shapes.size(), c.count);
    EXPECT_EQ(model.size(), c.count);
  }
}

TEST(BothPaths, ReadTheCorpusFilesThatBendTheLayout) {
  if (!std::filesystem::exists(kCorpus)) GTEST_SKIP() << "corpus not present";
  TempFolder folder;
  // A corpus file with its line feeds taken out.
  std::string unlined = Slurp(kCorpus + "/igesio/sample_curves.igs");
  unlined.erase(std::remove(unlined.begin(), unlined.end(), '\n'), unlined.end());
  const std::string unlinedPath = (folder / "unlined.igs").string();
  std::ofstream(unlinedPath, std::ios::binary) << unlined;
  struct Case {
    std::string path;
    size_t points;  // points (and curve ends) along the model path, 0: any
  } cases[] = {
      {kCorpus + "/occt/occ22470.igs", 0},      // a string running on over a record end
      {kCorpus + "/occt/bad_header.igs", 0},    // a Terminate record that counts the global lines short
      {unlinedPath, ModelPoints(kCorpus + "/igesio/sample_curves.igs").size()},
      {kCorpus + "/occt/bug27069_points-with-comments.igs", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const Verdicts v = Judge(c.path);
    EXPECT_EQ(v.shapes, L"");
    EXPECT_EQ(v.model, L"");
    if (c.points) EXPECT_EQ(ModelPoints(c.path).size(), c.points);
  }
  // Surfaces whose writer puts the last delimiter of a record in column 65.
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  ASSERT_EQ(BrennIges::Read(CString((kCorpus + "/pygeo/examples_as_wing_as_wing.igs").c_str()), shapes, 1), 1)
      << BrennIges::GetError().GetString();
  EXPECT_EQ(shapes->Length(), 4);
}

}  // namespace

// A file of some megabytes, whose bytes the reader holds otherwise than a
// small file's: read, or refused for a fault near its end, on both paths.
TEST(BothPaths, ReadALargeFileAndRefuseItsLastFaultAlike) {
  testiges::IgesBuilder b;
  for (int i = 0; i < 12000; ++i) b.Add(110, {"0.", testiges::R(i), "0.", "1.", testiges::R(i), "0."});
  const std::string sound = b.Text();
  ASSERT_GT(sound.size(), size_t{2} << 20);
  TempFolder folder;
  const std::string path = (folder / "large.igs").string();
  std::ofstream(path, std::ios::binary) << sound;
  const Verdicts read = Judge(path);
  EXPECT_EQ(read.shapes, L"");
  EXPECT_EQ(read.model, L"");
  std::string nul = sound;
  nul[sound.size() - 100] = '\0';
  std::ofstream(path, std::ios::binary | std::ios::trunc) << nul;
  const Verdicts refused = Judge(path);
  EXPECT_EQ(refused.shapes, refused.model);
  EXPECT_NE(refused.model.find(L"control character 0x00 at byte " + std::to_wstring(sound.size() - 100)),
            std::wstring::npos)
      << refused.model;
}
