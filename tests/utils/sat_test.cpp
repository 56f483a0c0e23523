// SAT files into model space and out again through AcadUtils.
#include <gtest/gtest.h>

#include <filesystem>

#include "AcadUtils.h"
#include "TempFolder.h"
#include "arx/dbInspector.h"

namespace {

CString Fixture(const char* name) {
  return CString((std::filesystem::path(TOLVANE_FIXTURES) / "sat" / name).wstring());
}

class Sat : public ::testing::Test {
 protected:
  void SetUp() override {
    arxhost::ResetWorkingDatabase();
    AcadUtils::SetError(L"");
  }
  void TearDown() override { arxhost::ResetWorkingDatabase(); }
  arxhost::DatabaseInspector db;
};

TEST_F(Sat, ImportAppendsEveryBodyToModelSpaceMovedByTheTransform) {
  AcGeMatrix3d move = AcGeMatrix3d::translation(AcGeVector3d(0, 0, 7));
  ASSERT_EQ(AcadUtils::ImportSatFile(Fixture("sphere_and_square.sat"), move, 0), 1);
  std::vector<AcDbObjectId> ids = db.entities();
  ASSERT_EQ(ids.size(), 2u);
  auto* solid = db.get<AcDb3dSolid>(ids[0]);
  auto* region = db.get<AcDbRegion>(ids[1]);
  ASSERT_NE(solid, nullptr);
  ASSERT_NE(region, nullptr);
  EXPECT_TRUE(solid->acisModel().placement().isEqualTo(move));
  EXPECT_EQ(solid->layerId(), db.layer(L"0"));  // no layer or colour of its own
  EXPECT_TRUE(solid->color().isByLayer());
  EXPECT_TRUE(db.openObjects().empty());
  EXPECT_EQ(AcadUtils::GetError(), L"");
}

TEST_F(Sat, ImportFailuresLeaveTheirText) {
  struct Case {
    const char* file;
    int zoom;
    const wchar_t* error;
  } cases[] = {
      {"no_bodies.sat", 0, L"No entites imported"},
      {"no_bodies.sat", 1, L"No entites imported"},
      {"broken.sat", 0, L"Cannot Restore From Acis File"},
      {"truncated.sat", 1, L"Cannot Restore From Acis File"},
      {"missing.sat", 0, L"Cant Open File"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    AcadUtils::SetError(L"");
    EXPECT_EQ(AcadUtils::ImportSatFile(Fixture(c.file), AcGeMatrix3d(), c.zoom), 0);
    EXPECT_EQ(AcadUtils::GetError(), c.error);
    EXPECT_TRUE(db.entities().empty());
    EXPECT_TRUE(db.openObjects().empty());
  }
}

TEST_F(Sat, ExportWritesTheEntitiesAndClosesThemAgain) {
  ASSERT_EQ(AcadUtils::ImportSatFile(Fixture("sphere_and_square.sat"), AcGeMatrix3d(), 0), 1);
  std::vector<AcDbObjectId> ids = db.entities();
  AcDbObjectIdArray array;
  for (AcDbObjectId id : ids) array.append(id);
  TempFolder folder;
  std::filesystem::path out = folder / "export.sat";
  ASSERT_EQ(AcadUtils::ExportSatFile(array, CString(out.wstring())), 1);
  EXPECT_TRUE(db.openObjects().empty());
  // What went out comes back in.
  arxhost::ResetWorkingDatabase();
  ASSERT_EQ(AcadUtils::ImportSatFile(CString(out.wstring()), AcGeMatrix3d(), 0), 1);
  EXPECT_EQ(db.entities().size(), 2u);
  std::filesystem::remove(out);

  // A line cannot go to SAT; the text names why, and nothing stays open.
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  AcDbObjectId lineId;
  AcadUtils::AppendEntityWithId(line, lineId);
  line->close();
  AcDbObjectIdArray lines;
  lines.append(lineId);
  EXPECT_EQ(AcadUtils::ExportSatFile(lines, CString(out.wstring())), 0);
  EXPECT_EQ(AcadUtils::GetError(), L"Wrong Object Type");
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(AcadUtils::ExportSatFile(AcDbObjectIdArray(), CString(out.wstring())), 0);
  EXPECT_EQ(AcadUtils::GetError(), L"Invalid Input");
  EXPECT_TRUE(db.openObjects().empty());
}

}  // namespace
