// SAT files into solids, regions and bodies, and back out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempFolder.h"
#include "acis/AcisReader.h"
#include "acis/AcisWriter.h"
#include "arx/dbheaders.h"

namespace {

std::wstring Fixture(const char* name) {
  std::filesystem::path p = std::filesystem::path(TOLVANE_FIXTURES) / "sat" / name;
  return p.wstring();
}

std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(AcisReader, SplitsFilesIntoClassifiedBodies) {
  struct Case {
    const char* file;
    std::vector<arxhost::SatBodyKind> kinds;
  } cases[] = {
      {"sphere.sat", {arxhost::SatBodyKind::Solid}},
      {"square_region.sat", {arxhost::SatBodyKind::Region}},
      {"sphere_and_square.sat", {arxhost::SatBodyKind::Solid, arxhost::SatBodyKind::Region}},
      {"no_bodies.sat", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    arxhost::SatReadResult r = arxhost::ReadSatBodies(Fixture(c.file));
    ASSERT_EQ(r.status, Acad::eOk) << r.error;
    ASSERT_EQ(r.bodies.size(), c.kinds.size());
    for (size_t i = 0; i < c.kinds.size(); ++i) {
      EXPECT_EQ(r.bodies[i].kind, c.kinds[i]);
      // Each body stands alone: it reads back as one body of the same kind.
      arxhost::SatReadResult again = arxhost::ReadSatText(r.bodies[i].sat);
      ASSERT_EQ(again.status, Acad::eOk) << again.error;
      ASSERT_EQ(again.bodies.size(), 1u);
      EXPECT_EQ(again.bodies[0].kind, c.kinds[i]);
    }
  }
  // A face without loops on a surface that does not close on itself
  // bounds nothing: not a solid.
  std::string bare = ReadText(std::filesystem::path(Fixture("sphere.sat")));
  const size_t at = bare.find("sphere-surface");
  ASSERT_NE(at, std::string::npos);
  bare.replace(at, bare.find('#', at) - at, "plane-surface $-1 -1 $-1 0 0 0 0 0 1 1 0 0 forward_v I I I I ");
  arxhost::SatReadResult open = arxhost::ReadSatText(bare);
  ASSERT_EQ(open.status, Acad::eOk) << open.error;
  ASSERT_EQ(open.bodies.size(), 1u);
  EXPECT_EQ(open.bodies[0].kind, arxhost::SatBodyKind::Region);
  // The second body of the pair is renumbered from 0 and keeps its 26 records.
  arxhost::SatReadResult pair = arxhost::ReadSatBodies(Fixture("sphere_and_square.sat"));
  ASSERT_EQ(pair.bodies.size(), 2u);
  EXPECT_EQ(pair.bodies[1].sat.rfind("700 26 1 0\n", 0), 0u);
  EXPECT_NE(pair.bodies[1].sat.find("body $-1 -1 $-1 $1 $-1 $-1 #"), std::string::npos);
}

TEST(AcisReader, MissingAndMalformedFilesGiveTheirStatus) {
  struct Case {
    std::wstring path;
    Acad::ErrorStatus status;
  } cases[] = {
      {Fixture("does_not_exist.sat"), Acad::eCantOpenFile},
      {Fixture(""), Acad::eCantOpenFile},  // the folder itself
      {Fixture("broken.sat"), Acad::eCannotRestoreFromAcisFile},
      {Fixture("truncated.sat"), Acad::eCannotRestoreFromAcisFile},
  };
  for (const Case& c : cases) {
    arxhost::SatReadResult r = arxhost::ReadSatBodies(c.path);
    EXPECT_EQ(r.status, c.status) << r.error;
    EXPECT_TRUE(r.bodies.empty());
    EXPECT_FALSE(r.error.empty());
  }
  for (const char* text : {"", "700 1 1 0\n@3 abc\n1 1e-6 1e-10\nbody $5 #\n", "700 1 1 0\n@3 abc\n1 1e-6\n",
                           "700 1 1 0\n@90 abc\n1 1e-6 1e-10\nbody @90 x #\n"})
    EXPECT_EQ(arxhost::ReadSatText(text).status, Acad::eCannotRestoreFromAcisFile) << text;
}

TEST(AcisIn, MakesNewEntitiesOfEachKind) {
  AcDbVoidPtrArray entities;
  ASSERT_EQ(AcDbBody::acisIn(Fixture("sphere_and_square.sat").c_str(), entities), Acad::eOk);
  ASSERT_EQ(entities.length(), 2);
  auto* solid = AcDb3dSolid::cast(static_cast<AcDbEntity*>(entities[0]));
  auto* region = AcDbRegion::cast(static_cast<AcDbEntity*>(entities[1]));
  ASSERT_NE(solid, nullptr);
  ASSERT_NE(region, nullptr);
  EXPECT_FALSE(solid->isNull());
  EXPECT_TRUE(solid->objectId().isNull());
  // The region explodes into its four edges.
  AcDbVoidPtrArray pieces;
  ASSERT_EQ(region->explode(pieces), Acad::eOk);
  ASSERT_EQ(pieces.length(), 4);
  auto* first = AcDbLine::cast(static_cast<AcDbEntity*>(pieces[0]));
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->endPoint().isEqualTo(AcGePoint3d(10, 0, 0)));
  for (void* p : pieces) delete static_cast<AcDbEntity*>(p);
  for (void* p : entities) delete static_cast<AcDbEntity*>(p);
  EXPECT_EQ(AcDbBody::acisIn(Fixture("broken.sat").c_str(), entities), Acad::eCannotRestoreFromAcisFile);
}

TEST(AcisOut, PlacementTravelsAsATransformRecord) {
  AcDbVoidPtrArray entities;
  ASSERT_EQ(AcDbBody::acisIn(Fixture("square_region.sat").c_str(), entities), Acad::eOk);
  ASSERT_EQ(entities.length(), 1);
  auto* region = static_cast<AcDbEntity*>(entities[0]);
  AcGeMatrix3d move = AcGeMatrix3d::translation(AcGeVector3d(5, 0, 0)) *
                      AcGeMatrix3d::rotation(1.5707963267948966, AcGeVector3d::kZAxis);
  ASSERT_EQ(region->transformBy(move), Acad::eOk);
  AcGeMatrix3d squash;
  squash.entry[0][0] = 2.0;
  EXPECT_EQ(region->transformBy(squash), Acad::eCannotScaleNonUniformly);

  TempFolder folder;
  std::filesystem::path out = folder / "out.sat";
  ASSERT_EQ(AcDbBody::acisOut(out.wstring().c_str(), entities), Acad::eOk);
  std::string text = ReadText(out);
  EXPECT_NE(text.find("transform $-1 -1"), std::string::npos);
  // The written edges land where the moved region is.
  AcDbVoidPtrArray back;
  ASSERT_EQ(AcDbBody::acisIn(out.wstring().c_str(), back), Acad::eOk);
  ASSERT_EQ(back.length(), 1);
  AcDbVoidPtrArray pieces;
  static_cast<AcDbEntity*>(back[0])->explode(pieces);
  ASSERT_EQ(pieces.length(), 4);
  // (10, 0, 0) turns to (0, 10, 0) and moves to (5, 10, 0).
  EXPECT_TRUE(AcDbLine::cast(static_cast<AcDbEntity*>(pieces[0]))->endPoint().isEqualTo(AcGePoint3d(5, 10, 0), AcGeTol()))
      << AcDbLine::cast(static_cast<AcDbEntity*>(pieces[0]))->endPoint().x;
  for (void* p : pieces) delete static_cast<AcDbEntity*>(p);
  for (void* p : back) delete static_cast<AcDbEntity*>(p);

  // What acisOut refuses.
  AcDbLine line;
  AcDbVoidPtrArray wrong;
  wrong.append(&line);
  EXPECT_EQ(AcDbBody::acisOut(out.wstring().c_str(), wrong), Acad::eWrongObjectType);
  EXPECT_EQ(AcDbBody::acisOut(out.wstring().c_str(), AcDbVoidPtrArray()), Acad::eInvalidInput);
  AcDbBody empty;
  AcDbVoidPtrArray nulls;
  nulls.append(&empty);
  EXPECT_EQ(AcDbBody::acisOut(out.wstring().c_str(), nulls), Acad::eDegenerateGeometry);
  EXPECT_EQ(AcDbBody::acisOut(L"/nonexistent-folder/x.sat", entities), Acad::eFileAccessErr);
  std::filesystem::remove(out);
  for (void* p : entities) delete static_cast<AcDbEntity*>(p);
}

}  // namespace
