// AcadUtils: colour index table and conversions, and read-only queries of
// entities, layers and block records. Every query opens what it reads for
// read and closes it again before it returns.
#include "AcadUtils.h"

namespace {

using AciRow = std::array<int, 3>;

// 255 * num / 160 rounded to the nearest integer, halves upward: every
// channel of the colour wheel is a multiple of 1/160 (value in twentieths,
// saturation in halves, hue fraction in quarters), so exact integers do it.
constexpr int Channel160(int num) { return (2 * 255 * num + 160) / 320; }

// Indexes 10 to 249: 10 + 10h + 2v + p is hue 15h degrees, value
// 1, 13/20, 1/2, 3/10, 3/20 by v, saturation 1 (p = 0) or 1/2 (p = 1), as HSV.
constexpr AciRow WheelRow(int aci) {
  const int k = aci - 10, h = k / 10, v = (k % 10) / 2, p = k % 2;
  constexpr int value20[5] = {20, 13, 10, 6, 3};
  const int v20 = value20[v];
  const int s2 = p == 0 ? 2 : 1;  // saturation in halves
  const int f4 = h % 4;           // hue fraction in quarters
  // V, P, Q and T in 160ths.
  const int V = v20 * 8;
  const int P = v20 * (2 - s2) * 4;
  const int Q = v20 * (8 - s2 * f4);
  const int T = v20 * (8 - s2 * (4 - f4));
  int r = 0, g = 0, b = 0;
  switch (h / 4) {
    case 0: r = V, g = T, b = P; break;
    case 1: r = Q, g = V, b = P; break;
    case 2: r = P, g = V, b = T; break;
    case 3: r = P, g = Q, b = V; break;
    case 4: r = T, g = P, b = V; break;
    default: r = V, g = P, b = Q; break;
  }
  return {Channel160(r), Channel160(g), Channel160(b)};
}

constexpr std::array<AciRow, 258> BuildAciRgbTable() {
  std::array<AciRow, 258> table{};
  const AciRow first[9] = {{255, 0, 0},   {255, 255, 0},   {0, 255, 0},     {0, 255, 255},  {0, 0, 255},
                           {255, 0, 255}, {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
  for (int i = 0; i < 9; ++i) table[i] = first[i];
  for (int aci = 10; aci <= 249; ++aci) table[aci - 1] = WheelRow(aci);
  table[112 - 1] = {0, 166, 64};  // the palette's one row off the wheel
  const int greys[6] = {84, 118, 152, 187, 221, 255};
  for (int i = 0; i < 6; ++i) table[249 + i] = {greys[i], greys[i], greys[i]};
  for (int aci = 256; aci <= 258; ++aci) table[aci - 1] = {255, 255, 255};
  return table;
}

constexpr int kWhite = 0xFFFFFF;

AcDbDatabase* WorkingDatabase() { return acdbHostApplicationServices()->workingDatabase(); }

// Opens the entity for read, hands it to read and closes it; false when it
// cannot be opened.
template <class Read>
bool ReadEntity(AcDbObjectId id, Read read) {
  AcDbEntity* entity = NULL;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return false;
  read(entity);
  entity->close();
  return true;
}

// A name handed out with new[], copied and released.
CString TakeName(ACHAR* name) {
  CString copy(name ? name : L"");
  delete[] name;
  return copy;
}

}  // namespace

const std::array<std::array<int, 3>, 258> AcadUtils::AciRgbTable = BuildAciRgbTable();

int AcadUtils::AciToRgb(int aci) {
  // The table has no row for other indexes: white rather than a read past it.
  if (aci < 1 || aci > 258) return kWhite;
  const AciRow& row = AciRgbTable[aci - 1];
  return (row[0] & 0xFF) | ((row[1] & 0xFF) << 8) | ((row[2] & 0xFF) << 16);
}

AcCmColor AcadUtils::RgbToColor(int rgb) {
  AcCmColor color;
  color.setRGB(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  return color;
}

void AcadUtils::GetEntityLayer(AcDbObjectId id, CString& layer) {
  ReadEntity(id, [&](AcDbEntity* e) { layer = TakeName(e->layer()); });
}

CString AcadUtils::EntityLayer(AcDbObjectId id) {
  CString layer;
  GetEntityLayer(id, layer);
  return layer;
}

void AcadUtils::GetEntityLinetype(AcDbObjectId id, CString& linetype) {
  ReadEntity(id, [&](AcDbEntity* e) { linetype = TakeName(e->linetype()); });
}

CString AcadUtils::EntityLinetype(AcDbObjectId id) {
  CString linetype;
  GetEntityLinetype(id, linetype);
  return linetype;
}

void AcadUtils::GetEntityColor(AcDbObjectId id, AcCmColor& color) {
  ReadEntity(id, [&](AcDbEntity* e) { color = e->color(); });
}

AcCmColor AcadUtils::EntityColor(AcDbObjectId id) {
  AcCmColor color;
  GetEntityColor(id, color);
  return color;
}

void AcadUtils::GetEntityLayerAndColor(AcDbObjectId id, CString& layer, AcCmColor& color) {
  ReadEntity(id, [&](AcDbEntity* e) {
    layer = TakeName(e->layer());
    color = e->color();
  });
}

void AcadUtils::GetEntityLayerId(AcDbObjectId id, AcDbObjectId& layerId) {
  ReadEntity(id, [&](AcDbEntity* e) { layerId = e->layerId(); });
}

AcDbObjectId AcadUtils::EntityLayerId(AcDbObjectId id) {
  AcDbObjectId layerId;
  GetEntityLayerId(id, layerId);
  return layerId;
}

void AcadUtils::GetEntityLinetypeId(AcDbObjectId id, AcDbObjectId& linetypeId) {
  ReadEntity(id, [&](AcDbEntity* e) { linetypeId = e->linetypeId(); });
}

AcDbObjectId AcadUtils::EntityLinetypeId(AcDbObjectId id) {
  AcDbObjectId linetypeId;
  GetEntityLinetypeId(id, linetypeId);
  return linetypeId;
}

void AcadUtils::GetEntityBlockId(AcDbObjectId id, AcDbObjectId& blockId) {
  ReadEntity(id, [&](AcDbEntity* e) { blockId = e->blockId(); });
}

AcDbObjectId AcadUtils::EntityBlockId(AcDbObjectId id) {
  AcDbObjectId blockId;
  GetEntityBlockId(id, blockId);
  return blockId;
}

CString AcadUtils::EntityClassName(AcDbObjectId id) {
  // Empty for an id that cannot be opened, which no class list holds.
  CString name;
  ReadEntity(id, [&](AcDbEntity* e) { name = e->isA()->name(); });
  return name;
}

Acad::ErrorStatus AcadUtils::GetLayerColorIndex(const CString& layer, int& aci) {
  // A table someone holds open for write cannot be read: its status says so.
  AcDbLayerTable* table = NULL;
  Acad::ErrorStatus es = WorkingDatabase()->getSymbolTable(table, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcDbLayerTableRecord* record = NULL;
  es = table->getAt(layer, record, AcDb::kForRead);
  if (es == Acad::eOk) {
    aci = static_cast<Adesk::UInt16>(record->color().colorIndex());
    record->close();
  }
  table->close();
  return es;
}

int AcadUtils::LayerColorIndex(const CString& layer) {
  int aci = 7;  // a layer that is not there: white, as its RGB says
  GetLayerColorIndex(layer, aci);
  return aci;
}

Acad::ErrorStatus AcadUtils::GetLayerRgb(const CString& layer, int& rgb) {
  int aci = 0;
  Acad::ErrorStatus es = GetLayerColorIndex(layer, aci);
  if (es == Acad::eOk) rgb = AciToRgb(aci);
  return es;
}

int AcadUtils::LayerRgb(const CString& layer) {
  int rgb = kWhite;
  GetLayerRgb(layer, rgb);
  return rgb;
}

// A block table record's name; eNotThatKindOfClass for another object.
static Acad::ErrorStatus ReadBlockName(AcDbObjectId blockId, CString& name) {
  AcDbBlockTableRecord* record = NULL;
  Acad::ErrorStatus es = acdbOpenObject(record, blockId, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  ACHAR* text = NULL;
  es = record->getName(text);
  if (es != Acad::eOk) {
    record->close();
    return es;
  }
  name = TakeName(text);
  record->close();
  return Acad::eOk;
}

Acad::ErrorStatus AcadUtils::GetBlockName(AcDbObjectId blockId, CString& name) {
  return ReadBlockName(blockId, name);
}

CString AcadUtils::BlockName(AcDbObjectId blockId) {
  CString name;
  GetBlockName(blockId, name);
  return name;
}

Acad::ErrorStatus AcadUtils::GetOwnerBlockName(AcDbObjectId id, CString& name) {
  AcDbEntity* entity = NULL;
  Acad::ErrorStatus es = acdbOpenAcDbEntity(entity, id, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcDbObjectId blockId = entity->blockId();
  es = entity->close();
  if (es != Acad::eOk) return es;
  return ReadBlockName(blockId, name);
}

CString AcadUtils::OwnerBlockName(AcDbObjectId id) {
  CString name;
  GetOwnerBlockName(id, name);
  return name;
}

Acad::ErrorStatus AcadUtils::GetEntityRgb(AcDbObjectId id, unsigned& rgb) {
  rgb = kWhite;
  AcDbEntity* entity = NULL;
  Acad::ErrorStatus es = acdbOpenAcDbEntity(entity, id, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcCmColor color = entity->color();
  es = entity->close();
  if (es != Acad::eOk) return es;

  if (color.isByLayer()) {
    int aci = 7;  // a layer that cannot be read leaves the entity white
    GetLayerColorIndex(EntityLayer(id), aci);
    rgb = AciToRgb(aci);
  } else if (color.isByBlock()) {
    // white
  } else if (color.isByColor()) {
    rgb = color.red() | (color.green() << 8) | (color.blue() << 16);
  } else if (color.isByACI()) {
    rgb = AciToRgb(color.colorIndex());
  }
  return Acad::eOk;
}

unsigned AcadUtils::EntityRgb(AcDbObjectId id) {
  unsigned rgb = kWhite;
  GetEntityRgb(id, rgb);
  return rgb;
}
