#include "dxf/DatabaseView.h"

#include "arx/cmColor.h"
#include "arx/dbBlockTable.h"
#include "arx/dbDatabase.h"
#include "arx/dbDimStyleTable.h"
#include "arx/dbLayerTable.h"
#include "arx/dbLinetypeTable.h"
#include "arx/dbTextStyleTable.h"

namespace arxhost::dxf {
namespace {

// The records of a table in order, without erased ones. The writer reads
// objects without opening them, so that an object a command has left open
// is saved all the same.
template <class Record>
std::vector<const Record*> RecordsOf(AcDbObjectId tableId) {
  std::vector<const Record*> records;
  auto* table = AcDbSymbolTable::cast(PeekObject(tableId));
  if (!table) return records;
  const auto& owned = table->records();
  for (size_t i = 0; i < owned.size(); ++i) {
    auto* record = Record::cast(owned.objectAt(i));
    if (record && !record->isErased()) records.push_back(record);
  }
  return records;
}

std::wstring NameOf(AcDbObjectId id) {
  auto* record = AcDbSymbolTableRecord::cast(PeekObject(id));
  return record ? record->name().str() : std::wstring();
}

BlockInfo BlockOf(const AcDbBlockTableRecord& record) {
  BlockInfo block;
  block.name = record.name().str();
  block.key = record.objectId().value();
  AcGePoint3d origin = record.origin();
  block.base[0] = origin.x;
  block.base[1] = origin.y;
  block.base[2] = origin.z;
  // Every block whose name starts with '*' but the layouts is anonymous
  // ("*U", and the "*D" of dimension graphics read from a file).
  block.anonymous = record.isAnonymous() || (block.name.starts_with(L"*") && !record.isLayout());
  block.description = record.comments();
  const auto& owned = record.entities();
  for (size_t i = 0; i < owned.size(); ++i) {
    AcDbObject* entity = owned.objectAt(i);
    if (entity && !entity->isErased()) block.entities.push_back(owned.idAt(i).value());
  }
  return block;
}

void AddDimVars(DimStyleInfo& style, const arxhost::DimVars& v) {
  auto real = [&](int code, double value) { style.vars.push_back({DimVar::Kind::Real, code, value, 0, {}}); };
  auto integer = [&](int code, long long value) {
    style.vars.push_back({DimVar::Kind::Integer, code, 0.0, value, {}});
  };
  real(40, v.dimscale);
  real(41, v.dimasz);
  real(42, v.dimexo);
  real(44, v.dimexe);
  integer(73, v.dimtih ? 1 : 0);
  integer(74, v.dimtoh ? 1 : 0);
  integer(77, v.dimtad);
  integer(78, v.dimzin);
  real(140, v.dimtxt);
  real(141, v.dimcen);
  real(144, v.dimlfac);
  real(147, v.dimgap);
  integer(172, v.dimtofl ? 1 : 0);
  integer(174, v.dimtix ? 1 : 0);
  integer(176, ToColorValue(v.dimclrd).aci);
  integer(177, ToColorValue(v.dimclre).aci);
  integer(178, ToColorValue(v.dimclrt).aci);
  integer(179, v.dimadec);
  integer(271, v.dimdec);
  integer(275, v.dimaunit);
  integer(277, v.dimlunit);
  std::wstring textStyle = NameOf(v.dimtxsty);
  style.vars.push_back({DimVar::Kind::TextStyle, 340, 0.0, 0, textStyle.empty() ? L"Standard" : textStyle});
}

}  // namespace

ColorValue ToColorValue(const AcCmColor& color) {
  ColorValue value;
  switch (color.colorMethod()) {
    case AcCmEntityColor::kByLayer: value.aci = 256; break;
    case AcCmEntityColor::kByBlock: value.aci = 0; break;
    case AcCmEntityColor::kByACI: value.aci = color.colorIndex(); break;
    case AcCmEntityColor::kByColor:
      value.aci = color.colorIndex();
      value.rgb = (static_cast<std::uint32_t>(color.red()) << 16) | (static_cast<std::uint32_t>(color.green()) << 8) |
                  color.blue();
      break;
    default: value.aci = 7; break;  // foreground and the like
  }
  if (value.aci < 0 || value.aci > 256) value.aci = 7;
  if (value.rgb && (value.aci < 1 || value.aci > 255)) value.aci = 7;
  return value;
}

DrawingView CollectDrawing(const AcDbDatabase& db) {
  DrawingView view = DefaultDrawingView();

  auto linetypes = RecordsOf<AcDbLinetypeTableRecord>(db.linetypeTableId());
  if (!linetypes.empty()) {
    view.linetypes.clear();
    for (const auto* lt : linetypes) {
      LinetypeInfo info{lt->name().str(), lt->comments(), {}};
      for (int i = 0; i < lt->numDashes(); ++i) info.dashes.push_back(lt->dashLengthAt(i));
      view.linetypes.push_back(std::move(info));
    }
  }

  auto layers = RecordsOf<AcDbLayerTableRecord>(db.layerTableId());
  if (!layers.empty()) {
    view.layers.clear();
    for (const auto* layer : layers) {
      LayerInfo info;
      info.name = layer->name().str();
      info.color = ToColorValue(layer->color());
      if (info.color.aci < 1 || info.color.aci > 255) info.color.aci = 7;
      info.on = !layer->isOff();
      info.frozen = layer->isFrozen();
      info.locked = layer->isLocked();
      info.plottable = layer->isPlottable();
      std::wstring linetype = NameOf(layer->linetypeObjectId());
      if (!linetype.empty()) info.linetype = linetype;
      info.lineweight = layer->lineWeight();
      view.layers.push_back(std::move(info));
    }
  }

  auto styles = RecordsOf<AcDbTextStyleTableRecord>(db.textStyleTableId());
  if (!styles.empty()) {
    view.textStyles.clear();
    for (const auto* style : styles) {
      TextStyleInfo info;
      info.name = style->name().str();
      info.height = style->textSize();
      info.widthFactor = style->xScale();
      info.oblique = style->obliquingAngle();
      info.lastHeight = style->priorSize();
      const ACHAR* file = nullptr;
      if (style->fileName(file) == Acad::eOk && file) info.font = file;
      const ACHAR* big = nullptr;
      if (style->bigFontFileName(big) == Acad::eOk && big) info.bigFont = big;
      view.textStyles.push_back(std::move(info));
    }
  }

  auto dimStyles = RecordsOf<AcDbDimStyleTableRecord>(db.dimStyleTableId());
  if (!dimStyles.empty()) {
    view.dimStyles.clear();
    for (const auto* style : dimStyles) {
      DimStyleInfo info{style->name().str(), {}};
      AddDimVars(info, style->vars());
      view.dimStyles.push_back(std::move(info));
    }
  }

  for (const auto* record : RecordsOf<AcDbBlockTableRecord>(db.blockTableId())) {
    BlockInfo block = BlockOf(*record);
    if (record->objectId() == db.modelSpaceId()) {
      view.modelSpace = std::move(block);
    } else if (record->objectId() == db.paperSpaceId()) {
      view.paperSpace = std::move(block);
    } else {
      view.blocks.push_back(std::move(block));
    }
  }

  if (std::wstring name = NameOf(db.clayer()); !name.empty()) view.currentLayer = name;
  if (std::wstring name = NameOf(db.textstyle()); !name.empty()) view.currentTextStyle = name;
  if (std::wstring name = NameOf(db.dimstyle()); !name.empty()) view.currentDimStyle = name;
  return view;
}

}  // namespace arxhost::dxf
