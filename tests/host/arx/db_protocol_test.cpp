// The open/close protocol of the drawing database and its misuse statuses.
#include <gtest/gtest.h>

#include "arx/dbInspector.h"
#include "arx/dbheaders.h"

namespace {

class Protocol : public ::testing::Test {
 protected:
  void SetUp() override { arxhost::ResetWorkingDatabase(); }
  void TearDown() override { arxhost::ResetWorkingDatabase(); }

  // A line in model space, closed.
  AcDbObjectId AddLine() {
    AcDbBlockTable* blocks = nullptr;
    EXPECT_EQ(db().getSymbolTable(blocks, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* ms = nullptr;
    EXPECT_EQ(blocks->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite), Acad::eOk);
    blocks->close();
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
    AcDbObjectId id;
    EXPECT_EQ(ms->appendAcDbEntity(id, line), Acad::eOk);
    ms->close();
    line->close();
    return id;
  }
  AcDbDatabase& db() { return *acdbHostApplicationServices()->workingDatabase(); }
  arxhost::DatabaseInspector inspect;
};

TEST_F(Protocol, ReadersShareWriterExcludes) {
  AcDbObjectId id = AddLine();
  AcDbObject *r1 = nullptr, *r2 = nullptr, *w = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(r1, id, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenAcDbObject(r2, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(r1, r2);
  EXPECT_EQ(acdbOpenAcDbObject(w, id, AcDb::kForWrite), Acad::eWasOpenForRead);
  EXPECT_EQ(r1->upgradeOpen(), Acad::eHadMultipleReaders);
  EXPECT_EQ(r1->close(), Acad::eOk);
  EXPECT_TRUE(inspect.isOpen(id));
  EXPECT_EQ(r1->upgradeOpen(), Acad::eOk);  // the last reader may become the writer
  EXPECT_EQ(acdbOpenAcDbObject(w, id, AcDb::kForWrite), Acad::eWasOpenForWrite);
  EXPECT_EQ(acdbOpenAcDbObject(w, id, AcDb::kForRead), Acad::eWasOpenForWrite);
  EXPECT_EQ(r1->close(), Acad::eOk);
  EXPECT_FALSE(inspect.isOpen(id));
  EXPECT_EQ(r1->close(), Acad::eNotOpenForRead);  // close of an object that is not open
  EXPECT_EQ(r1->downgradeOpen(), Acad::eWasNotOpenForWrite);
}

TEST_F(Protocol, MisuseStatuses) {
  AcDbObjectId id = AddLine();
  AcDbObject* o = nullptr;
  AcDbEntity* e = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(o, AcDbObjectId(), AcDb::kForRead), Acad::eNullObjectId);
  EXPECT_EQ(acdbOpenAcDbEntity(e, db().layerZero(), AcDb::kForRead), Acad::eNotAnEntity);
  AcDbCircle* circle = nullptr;
  EXPECT_EQ(acdbOpenObject(circle, id, AcDb::kForRead), Acad::eNotThatKindOfClass);

  // A setter on an object open for read refuses.
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(line->setStartPoint(AcGePoint3d(9, 9, 9)), Acad::eNotOpenForWrite);
  EXPECT_EQ(line->transformBy(AcGeMatrix3d::translation(AcGeVector3d(1, 0, 0))), Acad::eNotOpenForWrite);
  EXPECT_EQ(line->erase(), Acad::eNotOpenForWrite);
  line->close();

  // A new object cannot be closed, erased or appended twice.
  auto* loose = new AcDbPoint();
  EXPECT_EQ(loose->close(), Acad::eNotInDatabase);
  EXPECT_EQ(loose->erase(), Acad::eNotInDatabase);
  EXPECT_TRUE(loose->isWriteEnabled());
  AcDbObjectId pointId;
  ASSERT_EQ(db().addAcDbObject(pointId, loose), Acad::eOk);
  EXPECT_EQ(db().addAcDbObject(loose), Acad::eAlreadyInDb);
  loose->close();

  // Erased objects open only when asked for.
  ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(o->erase(), Acad::eOk);
  EXPECT_EQ(o->erase(), Acad::eWasErased);
  o->close();
  EXPECT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForRead), Acad::eWasErased);
  ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForRead, true), Acad::eOk);
  EXPECT_TRUE(o->isErased());
  o->close();
  EXPECT_TRUE(inspect.entities().empty());
  EXPECT_EQ(inspect.entities(ACDB_MODEL_SPACE, true).size(), 1u);

  // Ids of a replaced database open nothing.
  arxhost::ResetWorkingDatabase();
  EXPECT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForRead), Acad::eUnknownHandle);
  EXPECT_FALSE(id.isValid());
}

TEST_F(Protocol, EntitiesOnLockedLayersDoNotOpenForWrite) {
  AcDbObjectId id = AddLine();
  AcDbLayerTableRecord* zero = nullptr;
  ASSERT_EQ(acdbOpenObject(zero, db().layerZero(), AcDb::kForWrite), Acad::eOk);
  zero->setIsLocked(true);
  zero->close();
  AcDbEntity* e = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOnLockedLayer);
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
  e->close();
}

TEST_F(Protocol, AdsNamesAndEntDel) {
  AcDbObjectId id = AddLine();
  ads_name name;
  ASSERT_EQ(acdbGetAdsName(name, id), Acad::eOk);
  AcDbObjectId back;
  ASSERT_EQ(acdbGetObjectId(back, name), Acad::eOk);
  EXPECT_EQ(back, id);
  EXPECT_EQ(acdbEntDel(name), RTNORM);
  EXPECT_TRUE(id.isErased());
  EXPECT_EQ(acdbEntDel(name), RTNORM);  // a second call brings it back
  EXPECT_FALSE(id.isErased());
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(acdbEntDel(name), RTERROR);  // open elsewhere
  e->close();
  ads_name bogus = {12345, 0};
  EXPECT_EQ(acdbGetObjectId(back, bogus), Acad::eInvalidAdsName);
  EXPECT_EQ(acdbEntDel(bogus), RTERROR);
  EXPECT_EQ(acdbGetAdsName(name, AcDbObjectId()), Acad::eNullObjectId);
}

TEST_F(Protocol, DefaultDrawingTables) {
  struct Case {
    std::vector<AcDbObjectId> records;
    std::vector<const wchar_t*> names;
  } cases[] = {
      {inspect.blocks(), {L"*Model_Space", L"*Paper_Space"}},
      {inspect.layers(), {L"0"}},
      {inspect.linetypes(), {L"ByBlock", L"ByLayer", L"Continuous"}},
      {inspect.textStyles(), {L"Standard"}},
      {inspect.dimStyles(), {L"Standard"}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(c.records.size(), c.names.size());
    for (size_t i = 0; i < c.names.size(); ++i)
      EXPECT_EQ(inspect.get<AcDbSymbolTableRecord>(c.records[i])->name(), c.names[i]);
  }
  auto* standard = inspect.get<AcDbDimStyleTableRecord>(inspect.dimStyle(L"Standard"));
  EXPECT_DOUBLE_EQ(standard->dimasz(), 0.18);
  EXPECT_EQ(standard->dimdec(), 4);
  EXPECT_TRUE(inspect.openObjects().empty());
}

TEST_F(Protocol, SymbolTableLookupAddAndIterate) {
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db().getSymbolTable(layers, AcDb::kForRead), Acad::eOk);
  auto* record = new AcDbLayerTableRecord();
  ASSERT_EQ(record->setName(L"Doors"), Acad::eOk);
  EXPECT_EQ(layers->add(record), Acad::eNotOpenForWrite);
  ASSERT_EQ(layers->upgradeOpen(), Acad::eOk);
  AcDbLinetypeTableRecord linetype;
  EXPECT_EQ(layers->add(static_cast<AcDbSymbolTableRecord*>(&linetype)), Acad::eWrongObjectType);
  AcDbObjectId doors;
  ASSERT_EQ(layers->add(doors, record), Acad::eOk);
  EXPECT_EQ(layers->add(record), Acad::eAlreadyInDb);
  auto* twin = new AcDbLayerTableRecord();
  twin->setName(L"DOORS");
  EXPECT_EQ(layers->add(twin), Acad::eDuplicateRecordName);
  delete twin;
  record->erase();
  record->close();

  AcDbObjectId found;
  EXPECT_EQ(layers->getAt(L"doors", found), Acad::eKeyNotFound);  // erased records are not wanted
  EXPECT_EQ(layers->getAt(L"doors", found, true), Acad::eOk);
  EXPECT_EQ(found, doors);
  EXPECT_FALSE(layers->has(L"Doors"));
  EXPECT_FALSE(layers->has(doors));
  EXPECT_TRUE(layers->has(L"0"));

  AcDbLayerTableIterator* it = nullptr;
  layers->newIterator(it);
  int live = 0;
  for (; !it->done(); it->step()) ++live;
  delete it;
  layers->newIterator(it, true, false);
  int all = 0;
  for (; !it->done(); it->step(true, false)) ++all;
  delete it;
  EXPECT_EQ(live, 1);
  EXPECT_EQ(all, 2);
  layers->close();

  auto* bad = new AcDbLayerTableRecord();
  for (const wchar_t* name : {L"", L"a*b", L" lead", L"trail ", L"x:y", L"*U1"})
    EXPECT_EQ(bad->setName(name), Acad::eInvalidSymbolTableName) << CString(name).GetString();
  delete bad;
  AcDbBlockTableRecord block;
  EXPECT_EQ(block.setName(L"*U1"), Acad::eOk);  // anonymous blocks start with '*'
}

// Names are looked up through an index of the table: renames, erasures and
// replacements must show in it at once.
TEST_F(Protocol, RenamedErasedAndReplacedRecordsAreFoundByTheirCurrentNames) {
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db().getSymbolTable(layers, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId a, b;
  auto* first = new AcDbLayerTableRecord();
  first->setName(L"First");
  ASSERT_EQ(layers->add(a, first), Acad::eOk);
  ASSERT_EQ(first->setName(L"Renamed"), Acad::eOk);
  EXPECT_FALSE(layers->has(L"first"));
  EXPECT_TRUE(layers->has(L"RENAMED"));
  first->erase();
  first->close();
  auto* second = new AcDbLayerTableRecord();
  second->setName(L"renamed");
  ASSERT_EQ(layers->add(b, second), Acad::eOk) << "the erased record's name is free";
  second->close();
  AcDbObjectId found;
  EXPECT_EQ(layers->getAt(L"Renamed", found), Acad::eOk);
  EXPECT_EQ(found, b);
  EXPECT_EQ(layers->getAt(L"First", found, true), Acad::eKeyNotFound);
  // Many records: each still found by name.
  for (int i = 0; i < 500; ++i) {
    auto* r = new AcDbLayerTableRecord();
    r->setName((L"L" + std::to_wstring(i)).c_str());
    ASSERT_EQ(layers->add(r), Acad::eOk);
    r->close();
  }
  for (int i = 0; i < 500; i += 37) EXPECT_TRUE(layers->has((L"l" + std::to_wstring(i)).c_str()));
  EXPECT_FALSE(layers->has(L"L500"));
  layers->close();
}

TEST_F(Protocol, BlockRecordIteratorWalksEntitiesInOrder) {
  AcDbObjectId a = AddLine(), b = AddLine();
  AcDbBlockTableRecord* ms = nullptr;
  ASSERT_EQ(acdbOpenObject(ms, db().modelSpaceId(), AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecordIterator* it = nullptr;
  ms->newIterator(it);
  std::vector<AcDbObjectId> seen;
  for (; !it->done(); it->step()) {
    AcDbEntity* e = nullptr;
    ASSERT_EQ(it->getEntity(e, AcDb::kForRead), Acad::eOk);
    seen.push_back(e->objectId());
    e->close();
  }
  delete it;
  ms->close();
  EXPECT_EQ(seen, (std::vector<AcDbObjectId>{a, b}));
}

TEST_F(Protocol, RunTimeClassesAreRegistered) {
  for (const wchar_t* name : {L"AcDbLine", L"AcDbPolyFaceMesh", L"AcDbSpline", L"AcDbBlockTableRecord", L"AcDbText"})
    EXPECT_NE(arxhost::FindRxClass(name), nullptr) << CString(name).GetString();
  AcDbLine line;
  EXPECT_STREQ(line.isA()->name(), L"AcDbLine");
  EXPECT_TRUE(line.isKindOf(AcDbCurve::desc()));
  EXPECT_FALSE(line.isKindOf(AcDbCircle::desc()));
  EXPECT_EQ(AcDbCurve::cast(&line), &line);
  EXPECT_EQ(AcDbCircle::cast(&line), nullptr);
}

}  // namespace
