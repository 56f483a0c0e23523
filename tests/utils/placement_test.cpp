// Layers, entity layer and colour, and appending to model space or a block.
#include <gtest/gtest.h>

#include "AcadUtils.h"
#include "arx/dbInspector.h"

namespace {

class Placement : public ::testing::Test {
 protected:
  void SetUp() override { arxhost::ResetWorkingDatabase(); }
  void TearDown() override { arxhost::ResetWorkingDatabase(); }

  arxhost::DatabaseInspector db;

  AcDbLayerTableRecord* Layer(const wchar_t* name) const { return db.get<AcDbLayerTableRecord>(db.layer(name)); }
  // Nothing but the objects a test holds may stay open.
  void ExpectOnlyOpen(std::vector<AcDbObjectId> ids) const {
    std::vector<AcDbObjectId> open;
    for (const auto& s : db.openObjects()) open.push_back(s.id);
    EXPECT_EQ(open, ids);
  }
};

TEST_F(Placement, LayerCreatedWithOnlyANameOrWithColourAndStates) {
  struct Case {
    const wchar_t* name;
    bool withColour;
    int rgb, frozen, locked, off;
    bool byColor;
    int r, g, b;
    bool isFrozen, isLocked, isOff;
  } cases[] = {
      {L"Plain", false, 0, 0, 0, 0, false, 0, 0, 0, false, false, false},
      {L"White", true, 0xFFFFFF, 0, 0, 0, true, 255, 255, 255, false, false, false},
      {L"Red", true, 0x0000FF, 1, 0, 0, true, 255, 0, 0, true, false, false},
      {L"Mixed", true, 0x7F102030, 0, 1, 1, true, 0x30, 0x20, 0x10, false, true, true},  // bits 24-31 ignored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << CString(c.name).GetString());
    AcDbObjectId id;
    Acad::ErrorStatus es = c.withColour ? AcadUtils::CreateLayerWithId(c.name, id, c.rgb, c.frozen, c.locked, c.off)
                                        : AcadUtils::GetOrCreateLayer(c.name, 1, id);
    ASSERT_EQ(es, Acad::eOk);
    EXPECT_EQ(id, db.layer(c.name));
    AcDbLayerTableRecord* layer = Layer(c.name);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->color().isByColor(), c.byColor);
    if (c.byColor) {
      EXPECT_EQ(layer->color().red(), c.r);
      EXPECT_EQ(layer->color().green(), c.g);
      EXPECT_EQ(layer->color().blue(), c.b);
    } else {
      EXPECT_EQ(layer->color().colorIndex(), 7);  // a new layer's own default
    }
    EXPECT_EQ(layer->isFrozen(), c.isFrozen);
    EXPECT_EQ(layer->isLocked(), c.isLocked);
    EXPECT_EQ(layer->isOff(), c.isOff);
    ExpectOnlyOpen({});
  }
}

TEST_F(Placement, ExistingLayerIsLeftAsItIs) {
  ASSERT_EQ(AcadUtils::CreateLayer(L"Walls", 0x0000FF, 0, 0, 0), Acad::eOk);
  AcDbObjectId first = db.layer(L"Walls");
  size_t layers = db.layers().size();

  AcDbObjectId again;
  EXPECT_EQ(AcadUtils::CreateLayerWithId(L"walls", again, 0x00FF00, 1, 1, 1), Acad::eOk);  // any case
  EXPECT_EQ(again, first);
  EXPECT_EQ(db.layers().size(), layers);
  AcDbLayerTableRecord* layer = Layer(L"Walls");
  EXPECT_EQ(layer->color().red(), 255);
  EXPECT_EQ(layer->color().green(), 0);
  EXPECT_FALSE(layer->isFrozen() || layer->isLocked() || layer->isOff());
  ExpectOnlyOpen({});
}

TEST_F(Placement, MissingLayerWithoutCreateIsANullObjectId) {
  AcDbObjectId id;
  EXPECT_EQ(AcadUtils::GetOrCreateLayer(L"Nowhere", 0, id), Acad::eNullObjectId);
  EXPECT_EQ(static_cast<int>(Acad::eNullObjectId), 16);
  EXPECT_TRUE(id.isNull());
  EXPECT_TRUE(AcadUtils::LayerId(L"Nowhere", 0).isNull());
  EXPECT_TRUE(db.layer(L"Nowhere").isNull());
  EXPECT_EQ(db.layers().size(), 1u);
  EXPECT_EQ(AcadUtils::LayerId(L"0", 0), db.layer(L"0"));
  ExpectOnlyOpen({});
}

TEST_F(Placement, NamesTheTableRefusesComeBackAsTheStatusOfAdd) {
  AcDbObjectId id;
  EXPECT_EQ(AcadUtils::GetOrCreateLayer(L"a<b", 1, id), Acad::eInvalidSymbolTableName);
  EXPECT_EQ(AcadUtils::CreateLayer(L"", 0, 0, 0, 0), Acad::eInvalidSymbolTableName);
  EXPECT_EQ(db.layers().size(), 1u);
  ExpectOnlyOpen({});
}

TEST_F(Placement, AddEntityPlacesOnLayerWithColourAndLeavesOnlyTheEntityOpen) {
  AcCmColor blue;
  blue.setRGB(0, 0, 255);
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  ASSERT_EQ(AcadUtils::AddEntity(line, L"Edges", blue), Acad::eOk);
  AcDbObjectId id = line->objectId();
  ASSERT_FALSE(id.isNull());
  ExpectOnlyOpen({id});  // the caller closes the entity
  EXPECT_TRUE(line->isWriteEnabled());
  EXPECT_EQ(line->layerId(), db.layer(L"Edges"));
  EXPECT_EQ(line->color(), blue);
  EXPECT_EQ(db.entities(), std::vector<AcDbObjectId>{id});
  EXPECT_EQ(Layer(L"Edges")->color().colorIndex(), 7);  // created with only its name
  EXPECT_EQ(line->close(), Acad::eOk);
  ExpectOnlyOpen({});
}

TEST_F(Placement, EmptyLayerNameKeepsTheEntitysLayerAndOpensNoTable) {
  AcDbObjectId layer;
  ASSERT_EQ(AcadUtils::GetOrCreateLayer(L"Kept", 1, layer), Acad::eOk);
  auto* point = new AcDbPoint(AcGePoint3d(1, 2, 3));
  ASSERT_EQ(point->setLayer(layer), Acad::eOk);
  // Hold the layer table open for write: any attempt to open it would fail.
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(db.database()->getSymbolTable(table, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(AcadUtils::SetEntityLayer(point, L""), Acad::eOk);
  EXPECT_EQ(point->layerId(), layer);
  EXPECT_EQ(AcadUtils::SetEntityLayer(point, L"Other"), Acad::eWasOpenForWrite);
  table->close();
  ASSERT_EQ(AcadUtils::AddEntity(point, L"", AcCmColor()), Acad::eOk);
  EXPECT_EQ(point->layerId(), layer);
  point->close();
}

TEST_F(Placement, RgbZeroMeansColourIndexSevenOtherwiseTrueColour) {
  struct Case {
    int rgb;
    bool byColor;
    int index, r, g, b;
  } cases[] = {{0, false, 7, 0, 0, 0}, {0x000001, true, 0, 1, 0, 0}, {0x102030, true, 0, 0x30, 0x20, 0x10},
               {0x01000000, true, 0, 0, 0, 0}};  // only bits 24-31 set: not 0, so true black
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rgb);
    AcDbPoint point;
    int rgb = c.rgb;
    ASSERT_EQ(AcadUtils::SetEntityRgb(&point, rgb), Acad::eOk);
    EXPECT_EQ(point.color().isByColor(), c.byColor);
    if (c.byColor) {
      EXPECT_EQ(point.color().red(), c.r);
      EXPECT_EQ(point.color().green(), c.g);
      EXPECT_EQ(point.color().blue(), c.b);
    } else {
      EXPECT_TRUE(point.color().isByACI());
      EXPECT_EQ(point.colorIndex(), c.index);
    }
  }
}

TEST_F(Placement, RgbFamilyAppendsWithLayerAndColour) {
  auto* circle = new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 2.0);
  int rgb = 0;
  AcDbObjectId id;
  ASSERT_EQ(AcadUtils::AddEntityRgbWithId(circle, L"Circles", rgb, id), Acad::eOk);
  EXPECT_EQ(id, circle->objectId());
  EXPECT_EQ(circle->colorIndex(), 7);
  EXPECT_EQ(circle->layerId(), db.layer(L"Circles"));
  circle->close();
  ExpectOnlyOpen({});
}

TEST_F(Placement, AppendWithOwnerLeavesTheOwnerOpenWithoutOneOpensAndClosesModelSpace) {
  // Into a block definition that is not yet in the block table.
  auto* block = new AcDbBlockTableRecord();
  ASSERT_EQ(block->setName(L"Bolt"), Acad::eOk);
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 1, 0));
  ASSERT_EQ(AcadUtils::AddEntity(line, L"Parts", AcCmColor(), block), Acad::eOk);
  EXPECT_TRUE(block->isWriteEnabled());
  EXPECT_TRUE(line->objectId().isNull());  // the id comes when the block joins the drawing
  line->close();

  AcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(db.database()->getSymbolTable(blocks, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId blockId;
  ASSERT_EQ(blocks->add(blockId, block), Acad::eOk);
  blocks->close();
  block->close();
  ExpectOnlyOpen({});
  std::vector<AcDbObjectId> members = db.entitiesOf(blockId);
  ASSERT_EQ(members.size(), 1u);
  EXPECT_EQ(members[0], line->objectId());
  EXPECT_EQ(line->blockId(), blockId);
  EXPECT_TRUE(db.entities().empty());

  // And model space when no owner is given.
  auto* point = new AcDbPoint(AcGePoint3d(5, 5, 0));
  AcDbObjectId pointId;
  ASSERT_EQ(AcadUtils::AppendEntityWithId(point, pointId), Acad::eOk);
  EXPECT_EQ(db.entities(), std::vector<AcDbObjectId>{pointId});
  EXPECT_EQ(point->blockId(), db.block(L"*Model_Space"));
  EXPECT_EQ(point->layerId(), db.layer(L"0"));  // the drawing's defaults
  ExpectOnlyOpen({pointId});
  point->close();
}

TEST_F(Placement, FailedStepsStopTheChainAndLeaveTheEntityOut) {
  // Model space held open by someone else: the append fails, nothing stays open.
  AcDbBlockTableRecord* modelSpace = nullptr;
  ASSERT_EQ(acdbOpenObject(modelSpace, db.block(L"*Model_Space"), AcDb::kForWrite), Acad::eOk);
  auto* line = new AcDbLine();
  EXPECT_EQ(AcadUtils::AppendEntity(line), Acad::eWasOpenForWrite);
  EXPECT_TRUE(line->objectId().isNull());
  ExpectOnlyOpen({db.block(L"*Model_Space")});
  modelSpace->close();

  // An entity already in the drawing is refused by the append.
  ASSERT_EQ(AcadUtils::AppendEntity(line), Acad::eOk);
  EXPECT_EQ(AcadUtils::AppendEntity(line), Acad::eAlreadyInDb);
  ExpectOnlyOpen({line->objectId()});
  line->close();

  // A layer that cannot be made stops AddEntity before colour and append.
  auto* other = new AcDbLine();
  AcCmColor red;
  red.setRGB(255, 0, 0);
  EXPECT_EQ(AcadUtils::AddEntity(other, L"bad|name", red), Acad::eInvalidSymbolTableName);
  EXPECT_TRUE(other->color().isByLayer());
  EXPECT_TRUE(other->objectId().isNull());
  delete other;
  EXPECT_EQ(db.entities().size(), 1u);
}

TEST_F(Placement, LastErrorTextIsKeptUntilSetAgain) {
  AcadUtils::SetError(L"first");
  EXPECT_EQ(AcadUtils::GetError(), L"first");
  AcadUtils::CreateLayer(L"X", 0, 0, 0, 0);  // no function here writes the text
  EXPECT_EQ(AcadUtils::GetError(), L"first");
  AcadUtils::SetError(L"");
  EXPECT_EQ(AcadUtils::GetError(), L"");
}

}  // namespace
