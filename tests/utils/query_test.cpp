// Colour index table, colour conversions and the read-only property queries
// of entities, layers and block records.
#include <gtest/gtest.h>

#include <numeric>

#include "AcadUtils.h"
#include "arx/dbInspector.h"

namespace {

// An exact fraction, reduced, for checking the colour wheel apart from how
// the table computes it.
struct Fraction {
  long long num, den;
  Fraction(long long n, long long d) : num(n / std::gcd(n, d)), den(d / std::gcd(n, d)) {}
  Fraction operator*(Fraction o) const { return {num * o.num, den * o.den}; }
  Fraction operator-(Fraction o) const { return {num * o.den - o.num * den, den * o.den}; }
};
const Fraction One{1, 1};

// 255 times the fraction, to the nearest integer, halves upward.
int Channel(Fraction f) {
  Fraction scaled = f * Fraction{255, 1};
  return static_cast<int>((2 * scaled.num + scaled.den) / (2 * scaled.den));
}

std::array<int, 3> Wheel(int aci) {
  const int h = (aci - 10) / 10, v = (aci - 10) % 10 / 2, p = (aci - 10) % 2;
  const Fraction values[5] = {{1, 1}, {13, 20}, {1, 2}, {3, 10}, {3, 20}};
  const Fraction V = values[v], S = p ? Fraction{1, 2} : One, f{h % 4, 4};
  const Fraction P = V * (One - S), Q = V * (One - S * f), T = V * (One - S * (One - f));
  const Fraction rows[6][3] = {{V, T, P}, {Q, V, P}, {P, V, T}, {P, Q, V}, {T, P, V}, {V, P, Q}};
  const Fraction* row = rows[h / 4];
  return {Channel(row[0]), Channel(row[1]), Channel(row[2])};
}

int Packed(int r, int g, int b) { return r | (g << 8) | (b << 16); }

class Query : public ::testing::Test {
 protected:
  void SetUp() override { arxhost::ResetWorkingDatabase(); }
  void TearDown() override {
    EXPECT_TRUE(db.openObjects().empty()) << "an object was left open";
    arxhost::ResetWorkingDatabase();
  }

  // A layer of that colour index.
  void AddLayer(const wchar_t* name, int aci) {
    AcDbLayerTable* table = nullptr;
    ASSERT_EQ(db.database()->getSymbolTable(table, AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbLayerTableRecord();
    record->setName(name);
    AcCmColor color;
    color.setColorIndex(static_cast<Adesk::UInt16>(aci));
    record->setColor(color);
    ASSERT_EQ(table->add(record), Acad::eOk);
    record->close();
    table->close();
  }
  // A line on the layer in the colour, in model space or the block, closed.
  AcDbObjectId AddLine(const wchar_t* layer, const AcCmColor& color, AcDbBlockTableRecord* owner = nullptr) {
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    AcDbObjectId id;
    EXPECT_EQ(AcadUtils::AddEntityWithId(line, layer, color, id, owner), Acad::eOk);
    line->close();
    return id;
  }
  static AcCmColor Aci(int index) {
    AcCmColor c;
    c.setColorIndex(static_cast<Adesk::UInt16>(index));
    return c;
  }
  static AcCmColor Method(AcCmEntityColor::ColorMethod method) {
    AcCmColor c;
    c.setColorMethod(method);
    return c;
  }
  // An erased line: its id no longer opens.
  AcDbObjectId ErasedLine() {
    AcDbObjectId id = AddLine(L"0", Aci(1));
    EXPECT_EQ(AcadUtils::EraseEntity(id), 1);
    return id;
  }

  arxhost::DatabaseInspector db;
};

}  // namespace

TEST(AciRgbTable, EveryRowFollowsThePaletteSaveOne) {
  const auto& table = AcadUtils::AciRgbTable;
  const std::array<int, 3> first[9] = {{255, 0, 0},   {255, 255, 0},   {0, 255, 0},     {0, 255, 255},  {0, 0, 255},
                                       {255, 0, 255}, {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
  for (int aci = 1; aci <= 9; ++aci) EXPECT_EQ(table[aci - 1], first[aci - 1]) << aci;
  for (int aci = 10; aci <= 249; ++aci) {
    if (aci == 112) continue;
    EXPECT_EQ(table[aci - 1], Wheel(aci)) << aci;
  }
  EXPECT_EQ(Wheel(112), (std::array<int, 3>{0, 166, 83}));
  EXPECT_EQ(table[111], (std::array<int, 3>{0, 166, 64}));  // the row off the wheel
  const int greys[6] = {84, 118, 152, 187, 221, 255};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(table[249 + i], (std::array<int, 3>{greys[i], greys[i], greys[i]}));
  for (int aci = 256; aci <= 258; ++aci) EXPECT_EQ(table[aci - 1], (std::array<int, 3>{255, 255, 255}));

  // Rows the palette is known by, halves rounded up (16: 76.5 gives 77).
  struct Row {
    int aci, r, g, b;
  } known[] = {{10, 255, 0, 0},    {11, 255, 128, 128}, {12, 166, 0, 0},     {13, 166, 83, 83},
               {14, 128, 0, 0},    {15, 128, 64, 64},   {16, 77, 0, 0},      {17, 77, 38, 38},
               {18, 38, 0, 0},     {19, 38, 19, 19},    {20, 255, 64, 0},    {21, 255, 159, 128},
               {22, 166, 41, 0},   {23, 166, 104, 83},  {30, 255, 128, 0},   {110, 0, 255, 128},
               {111, 128, 255, 191}, {113, 83, 166, 124}, {114, 0, 128, 64}, {140, 0, 191, 255},
               {249, 38, 19, 24}};
  for (const Row& row : known) EXPECT_EQ(table[row.aci - 1], (std::array<int, 3>{row.r, row.g, row.b})) << row.aci;
}

TEST(AciRgbTable, AciToRgbPacksTheRowAndGivesWhiteWhereThereIsNone) {
  struct Case {
    int aci, rgb;
  } cases[] = {{1, 0xFF},           {2, 0xFFFF},     {5, 0xFF0000},   {7, 0xFFFFFF},
               {255, 0xFFFFFF},     {250, 0x545454}, {16, 77},        {112, Packed(0, 166, 64)},
               {256, 0xFFFFFF},     {257, 0xFFFFFF}, {258, 0xFFFFFF},
               // No row: white rather than a read outside the table.
               {0, 0xFFFFFF},       {-1, 0xFFFFFF},  {259, 0xFFFFFF}, {1 << 20, 0xFFFFFF}};
  for (const Case& c : cases) EXPECT_EQ(AcadUtils::AciToRgb(c.aci), c.rgb) << c.aci;
}

TEST(AciRgbTable, RgbToColorReadsTheLowThreeBytes) {
  AcCmColor red = AcadUtils::RgbToColor(0xFF);
  EXPECT_TRUE(red.isByColor());
  EXPECT_EQ(red.red(), 255);
  EXPECT_EQ(red.green(), 0);
  EXPECT_EQ(red.blue(), 0);
  AcCmColor mixed = AcadUtils::RgbToColor(Packed(10, 20, 30));
  EXPECT_EQ(mixed.red(), 10);
  EXPECT_EQ(mixed.green(), 20);
  EXPECT_EQ(mixed.blue(), 30);
  EXPECT_EQ(AcadUtils::RgbToColor(static_cast<int>(0xAB0000FFu)), red);
}

TEST_F(Query, EntityGettersReadTheEntityAndCloseIt) {
  AddLayer(L"Walls", 3);
  AcDbObjectId id = AddLine(L"Walls", Aci(1));
  AcDbObjectId walls = db.layer(L"Walls");

  EXPECT_EQ(AcadUtils::EntityLayer(id), L"Walls");
  EXPECT_EQ(AcadUtils::EntityLinetype(id), L"ByLayer");
  EXPECT_EQ(AcadUtils::EntityColor(id), Aci(1));
  EXPECT_EQ(AcadUtils::EntityLayerId(id), walls);
  EXPECT_EQ(AcadUtils::EntityLinetypeId(id), db.database()->byLayerLinetype());
  EXPECT_EQ(AcadUtils::EntityBlockId(id), db.database()->modelSpaceId());
  EXPECT_EQ(AcadUtils::EntityClassName(id), L"AcDbLine");
  CString layer, linetype;
  AcCmColor color;
  AcDbObjectId layerId, linetypeId, blockId;
  AcadUtils::GetEntityLayer(id, layer);
  AcadUtils::GetEntityLinetype(id, linetype);
  AcadUtils::GetEntityColor(id, color);
  AcadUtils::GetEntityLayerId(id, layerId);
  AcadUtils::GetEntityLinetypeId(id, linetypeId);
  AcadUtils::GetEntityBlockId(id, blockId);
  EXPECT_EQ(layer, L"Walls");
  EXPECT_EQ(linetype, L"ByLayer");
  EXPECT_EQ(color, Aci(1));
  EXPECT_EQ(layerId, walls);
  EXPECT_EQ(linetypeId, db.database()->byLayerLinetype());
  EXPECT_EQ(blockId, db.database()->modelSpaceId());
  layer.Empty();
  color = AcCmColor();
  AcadUtils::GetEntityLayerAndColor(id, layer, color);
  EXPECT_EQ(layer, L"Walls");
  EXPECT_EQ(color, Aci(1));
}

TEST_F(Query, EntitiesThatCannotBeOpenedGiveDefaultsOrLeaveTheArgument) {
  AcDbObjectId erased = ErasedLine();
  AcDbObjectId notAnEntity = db.layer(L"0");
  AcDbObjectId busy = AddLine(L"0", Aci(2));
  AcDbEntity* writer = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(writer, busy, AcDb::kForWrite), Acad::eOk);

  for (AcDbObjectId id : {AcDbObjectId::kNull, erased, notAnEntity, busy}) {
    SCOPED_TRACE(id.asOldId());
    EXPECT_TRUE(AcadUtils::EntityLayer(id).IsEmpty());
    EXPECT_TRUE(AcadUtils::EntityLinetype(id).IsEmpty());
    EXPECT_EQ(AcadUtils::EntityColor(id), AcCmColor());
    EXPECT_TRUE(AcadUtils::EntityLayerId(id).isNull());
    EXPECT_TRUE(AcadUtils::EntityLinetypeId(id).isNull());
    EXPECT_TRUE(AcadUtils::EntityBlockId(id).isNull());
    EXPECT_TRUE(AcadUtils::EntityClassName(id).IsEmpty());

    CString layer = L"kept", linetype = L"kept";
    AcCmColor color = Aci(5);
    AcDbObjectId kept = db.database()->layerZero(), layerId = kept, linetypeId = kept, blockId = kept;
    AcadUtils::GetEntityLayer(id, layer);
    AcadUtils::GetEntityLinetype(id, linetype);
    AcadUtils::GetEntityColor(id, color);
    AcadUtils::GetEntityLayerId(id, layerId);
    AcadUtils::GetEntityLinetypeId(id, linetypeId);
    AcadUtils::GetEntityBlockId(id, blockId);
    AcadUtils::GetEntityLayerAndColor(id, layer, color);
    EXPECT_EQ(layer, L"kept");
    EXPECT_EQ(linetype, L"kept");
    EXPECT_EQ(color, Aci(5));
    EXPECT_EQ(layerId, kept);
    EXPECT_EQ(linetypeId, kept);
    EXPECT_EQ(blockId, kept);
  }
  writer->close();
}

TEST_F(Query, LayerColourIndexAndRgb) {
  AddLayer(L"Walls", 3);
  AddLayer(L"Grey", 250);
  int aci = -1, rgb = -1;
  EXPECT_EQ(AcadUtils::GetLayerColorIndex(L"Walls", aci), Acad::eOk);
  EXPECT_EQ(aci, 3);
  EXPECT_EQ(AcadUtils::GetLayerColorIndex(L"walls", aci), Acad::eOk);  // names without regard to case
  EXPECT_EQ(AcadUtils::LayerColorIndex(L"Grey"), 250);
  EXPECT_EQ(AcadUtils::LayerColorIndex(L"0"), 7);
  EXPECT_EQ(AcadUtils::GetLayerRgb(L"Walls", rgb), Acad::eOk);
  EXPECT_EQ(rgb, 0xFF00);
  EXPECT_EQ(AcadUtils::LayerRgb(L"Grey"), 0x545454);

  // A missing layer: the status says so, the arguments stay, the values
  // are those of white.
  aci = -1, rgb = -1;
  EXPECT_EQ(AcadUtils::GetLayerColorIndex(L"Nowhere", aci), Acad::eKeyNotFound);
  EXPECT_EQ(AcadUtils::GetLayerRgb(L"Nowhere", rgb), Acad::eKeyNotFound);
  EXPECT_EQ(aci, -1);
  EXPECT_EQ(rgb, -1);
  EXPECT_EQ(AcadUtils::LayerColorIndex(L"Nowhere"), 7);
  EXPECT_EQ(AcadUtils::LayerRgb(L"Nowhere"), 0xFFFFFF);

  // A layer table someone holds open for write cannot be read.
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(db.database()->getSymbolTable(table, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(AcadUtils::GetLayerColorIndex(L"Walls", aci), Acad::eWasOpenForWrite);
  EXPECT_EQ(aci, -1);
  table->close();
}

TEST_F(Query, BlockAndOwnerBlockNames) {
  AcDbObjectId modelLine = AddLine(L"0", Aci(1));
  AcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(db.database()->getSymbolTable(blocks, AcDb::kForWrite), Acad::eOk);
  auto* door = new AcDbBlockTableRecord();
  door->setName(L"Door");
  AcDbObjectId doorId;
  ASSERT_EQ(blocks->add(doorId, door), Acad::eOk);
  blocks->close();
  AcDbObjectId doorLine = AddLine(L"0", Aci(1), door);
  door->close();

  EXPECT_EQ(AcadUtils::BlockName(db.database()->modelSpaceId()), L"*Model_Space");
  EXPECT_EQ(AcadUtils::BlockName(doorId), L"Door");
  EXPECT_EQ(AcadUtils::OwnerBlockName(modelLine), L"*Model_Space");
  EXPECT_EQ(AcadUtils::OwnerBlockName(doorLine), L"Door");

  CString name = L"kept";
  EXPECT_EQ(AcadUtils::GetBlockName(db.layer(L"0"), name), Acad::eNotThatKindOfClass);
  EXPECT_EQ(AcadUtils::GetBlockName(modelLine, name), Acad::eNotThatKindOfClass);
  EXPECT_NE(AcadUtils::GetBlockName(AcDbObjectId::kNull, name), Acad::eOk);
  EXPECT_NE(AcadUtils::GetOwnerBlockName(ErasedLine(), name), Acad::eOk);
  EXPECT_NE(AcadUtils::GetOwnerBlockName(doorId, name), Acad::eOk);  // not an entity
  EXPECT_EQ(name, L"kept");
  EXPECT_TRUE(AcadUtils::BlockName(db.layer(L"0")).IsEmpty());
  EXPECT_TRUE(AcadUtils::OwnerBlockName(AcDbObjectId::kNull).IsEmpty());
}

TEST_F(Query, EntityRgbByEachColourMethod) {
  AddLayer(L"Walls", 3);
  AcCmColor trueColour;
  trueColour.setRGB(10, 20, 30);
  struct Case {
    const char* name;
    const wchar_t* layer;
    AcCmColor color;
    unsigned rgb;
  } cases[] = {
      {"by layer", L"Walls", Method(AcCmEntityColor::kByLayer), 0xFF00},
      {"by layer on layer 0", L"0", Method(AcCmEntityColor::kByLayer), 0xFFFFFF},
      {"by block", L"Walls", Method(AcCmEntityColor::kByBlock), 0xFFFFFF},
      {"by colour", L"Walls", trueColour, static_cast<unsigned>(Packed(10, 20, 30))},
      {"by index", L"Walls", Aci(1), 0xFF},
      {"by index 112", L"Walls", Aci(112), static_cast<unsigned>(Packed(0, 166, 64))},
      {"foreground", L"Walls", Method(AcCmEntityColor::kForeground), 0xFFFFFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AcDbObjectId id = AddLine(c.layer, c.color);
    unsigned rgb = 0;
    EXPECT_EQ(AcadUtils::GetEntityRgb(id, rgb), Acad::eOk);
    EXPECT_EQ(rgb, c.rgb);
    EXPECT_EQ(AcadUtils::EntityRgb(id), c.rgb);
  }

  // Cannot be opened: the open's status, and white.
  unsigned rgb = 0;
  EXPECT_EQ(AcadUtils::GetEntityRgb(ErasedLine(), rgb), Acad::eWasErased);
  EXPECT_EQ(rgb, 0xFFFFFFu);
  rgb = 0;
  EXPECT_NE(AcadUtils::GetEntityRgb(AcDbObjectId::kNull, rgb), Acad::eOk);
  EXPECT_EQ(rgb, 0xFFFFFFu);
  EXPECT_EQ(AcadUtils::EntityRgb(db.layer(L"0")), 0xFFFFFFu);
}
