// The public IGES files: every one converts without a crash (or is refused
// with its reason), and the drawings bring over their annotations.
#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>

#include "Corpus.h"
#include "Kelv3dm.h"
#include "KelvIges.h"
#include "TestSupport.h"
#include "final_dxf_expected.h"
#include "win32/strconv.h"

using namespace testiges;

namespace {

const std::filesystem::path kCorpus = TOLVANE_CORPUS;

std::string Utf8(const wchar_t* s) { return arxhost::ToUtf8(s ? s : L""); }

struct Import {
  bool ok = false;
  std::string error;
  std::map<std::string, int> classes;
  std::map<int, int> skipped;
};

// Converts one file and reads the model back through the model reader.
Import ImportFile(const std::filesystem::path& file, const TempFolder& dir,
                  const std::function<void(const ON_Object*, const ON_3dmObjectAttributes&)>& visit = {}) {
  Import r;
  std::string model = dir.File("corpus.k3m");
  KelvIges iges;
  r.ok = iges.IGESTo3DM(CString(file.string().c_str()), CString(model.c_str()), 4) == 1;
  r.skipped = iges.SkippedTypes();
  if (!r.ok) {
    r.error = Utf8(KelvIges::GetError());
    return r;
  }
  ON_3dmProperties props;
  if (Kelv3dm::ReadStart(CString(model.c_str()), props) != 1) {
    r.ok = false;
    r.error = Utf8(Kelv3dm::GetError());
    return r;
  }
  ON_3dmObjectAttributes attributes;
  for (int i = 0; i < Kelv3dm::ReadGetObjectTableSize(); ++i) {
    const ON_Object* o = Kelv3dm::ReadGetObject(i);
    Kelv3dm::ReadGetObjectAttributes(i, attributes);
    ++r.classes[o ? Utf8(Kelv3dm::GetObjectClassName(o)) : std::string("(unreadable)")];
    if (visit && o) visit(o, attributes);
  }
  Kelv3dm::ReadEnd();
  return r;
}

ON_3dPoint World(const ON_Plane& plane, const ON_2dPoint& p) {
  return plane.origin + p.x * plane.xaxis + p.y * plane.yaxis;
}

bool Near(double a, double b, double tol = 1e-5) { return std::abs(a - b) <= tol; }

}  // namespace

TEST(IgesCorpus, EveryFileConvertsOrIsRefusedWithItsReason) {
  if (!std::filesystem::exists(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
  const std::vector<std::filesystem::path> files = CorpusIgesFiles();
  ASSERT_FALSE(files.empty());
  TempFolder dir;
  int converted = 0;
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    Import r = ImportFile(file, dir);
    std::cout << std::filesystem::relative(file, kCorpus).string() << ": ";
    if (!r.ok) {
      std::cout << "refused: " << r.error << "\n";
      EXPECT_NE(r.error.find(file.string()), std::string::npos) << r.error;
      continue;
    }
    ++converted;
    for (auto& [name, n] : r.classes) std::cout << name << " " << n << ", ";
    if (!r.skipped.empty()) {
      std::cout << "skipped IGES types:";
      for (auto& [type, n] : r.skipped) std::cout << " " << type << " x" << n;
    }
    std::cout << "\n";
    EXPECT_EQ(r.classes.count("(unreadable)"), 0u);
  }
  EXPECT_GT(converted, static_cast<int>(files.size()) * 3 / 4);
}

TEST(IgesCorpus, DrawingsBringTheirModelSpaceGeometry) {
  if (!std::filesystem::exists(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
  TempFolder dir;
  struct Case {
    const char* file;
    int lines, arcs;
  } cases[] = {{"nist/1178255.igs", 96, 43}, {"nist/cadds-bracket-level2.igs", 63, 0},
               {"occt-import-js/iges-cube.igs", 5, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Import r = ImportFile(kCorpus / c.file, dir);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.classes["ON_LineCurve"], c.lines);
    EXPECT_EQ(r.classes["ON_ArcCurve"], c.arcs);
  }
}

TEST(IgesCorpus, FinalDxfBringsEveryNoteLabelLeaderAndDimension) {
  const auto file = kCorpus / "nist/final_dxf.igs";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no corpus file " << file;
  TempFolder dir;
  std::vector<ON_TextEntity2> texts;
  std::vector<ON_LinearDimension2> linear;
  std::vector<ON_RadialDimension2> radial;
  std::vector<ON_Leader2> leaders;
  int polylines = 0;
  Import r = ImportFile(file, dir, [&](const ON_Object* o, const ON_3dmObjectAttributes&) {
    if (auto* t = dynamic_cast<const ON_TextEntity2*>(o)) texts.push_back(*t);
    if (auto* d = dynamic_cast<const ON_LinearDimension2*>(o)) linear.push_back(*d);
    if (auto* d = dynamic_cast<const ON_RadialDimension2*>(o)) radial.push_back(*d);
    if (auto* l = dynamic_cast<const ON_Leader2*>(o)) leaders.push_back(*l);
    if (dynamic_cast<const ON_PolylineCurve*>(o)) ++polylines;
  });
  ASSERT_TRUE(r.ok) << r.error;

  ASSERT_EQ(texts.size(), std::size(kNotes));
  std::vector<bool> used(texts.size());
  for (const NoteRow& row : kNotes) {
    SCOPED_TRACE(row.text);
    bool found = false;
    for (size_t i = 0; i < texts.size() && !found; ++i) {
      const ON_TextEntity2& t = texts[i];
      ON_3dPoint p = World(t.Plane(), t.Point(0));
      if (used[i] || Utf8(t.UserText()) != row.text || !Near(p.x, row.x) || !Near(p.y, row.y)) continue;
      used[i] = found = true;
      EXPECT_NEAR(t.Height(), row.height, 1e-9);
      EXPECT_NEAR(std::atan2(t.Plane().xaxis.y, t.Plane().xaxis.x), row.angle, 1e-6);
    }
    EXPECT_TRUE(found) << "no text at " << row.x << ", " << row.y;
  }

  size_t nLinear = 0, nRadial = 0;
  for (const DimRow& row : kDims) {
    SCOPED_TRACE(row.text);
    bool found = false;
    if (row.kind == 'L') {
      ++nLinear;
      for (const auto& d : linear) {
        ON_3dPoint a = World(d.Plane(), d.Point(0)), b = World(d.Plane(), d.Point(2));
        if (Utf8(d.UserText()) == row.text && Near(a.x, row.ax) && Near(a.y, row.ay) && Near(b.x, row.bx) &&
            Near(b.y, row.by))
          found = true;
      }
    } else {
      ++nRadial;
      for (const auto& d : radial) {
        ON_3dPoint c = World(d.Plane(), d.Point(0)), a = World(d.Plane(), d.Point(1));
        if (Utf8(d.UserText()) == row.text && Near(c.x, row.ax) && Near(c.y, row.ay) && Near(a.x, row.bx) &&
            Near(a.y, row.by))
          found = true;
      }
    }
    EXPECT_TRUE(found);
  }
  EXPECT_EQ(linear.size(), nLinear);
  EXPECT_EQ(radial.size(), nRadial);

  ASSERT_EQ(leaders.size(), std::size(kLeaders));
  for (const LeaderRow& row : kLeaders) {
    bool found = false;
    for (const auto& l : leaders) {
      ON_3dPoint head = World(l.Plane(), l.Point(0));
      if (Near(head.x, row.x) && Near(head.y, row.y) && l.PointCount() == row.segments + 1) found = true;
    }
    EXPECT_TRUE(found) << "no leader at " << row.x << ", " << row.y;
  }
  // The section lines and the drawing border come over too.
  EXPECT_GT(polylines, 0);
  EXPECT_TRUE(r.skipped.empty());
}
