// Table records: LTYPE, LAYER, STYLE and DIMSTYLE.
#include "dxf/DxfInTables.h"

#include "arx/cmColor.h"
#include "arx/dbDimStyleTable.h"
#include "arx/dbLayerTable.h"
#include "arx/dbLinetypeTable.h"
#include "arx/dbTextStyleTable.h"
#include "dxf/DxfInDimVars.h"
#include "dxf/DxfInEntity.h"

namespace arxhost::dxf {
namespace {

template <class Record>
std::unique_ptr<Record, RecordDeleter> Named(const DxfRecord& r) {
  std::unique_ptr<Record, RecordDeleter> record(new Record);
  std::wstring name = Wide(r.text(2));
  if (record->setName(name.c_str()) != Acad::eOk) r.fail("record has an invalid name \"" + std::string(r.text(2)) + "\"");
  return record;
}

RecordPtr Linetype(const DxfRecord& r) {
  auto lt = Named<AcDbLinetypeTableRecord>(r);
  lt->setComments(Wide(r.text(3)).c_str());
  std::vector<double> dashes;
  for (const auto& g : r.groups)
    if (g.code == 49) dashes.push_back(g.real);
  if (r.has(73) && r.integer(73) != static_cast<long long>(dashes.size()))
    r.fail("record has another number of dashes than it says");
  lt->setNumDashes(static_cast<int>(dashes.size()));
  for (std::size_t i = 0; i < dashes.size(); ++i) lt->setDashLengthAt(static_cast<int>(i), dashes[i]);
  return RecordPtr(lt.release());
}

BuiltLayer Layer(const DxfRecord& r) {
  auto layer = Named<AcDbLayerTableRecord>(r);
  long long flags = r.integer(70), aci = r.integer(62, 7);
  AcCmColor color;
  // A negative colour is that of a layer that is off.
  long long index = aci < 0 ? -aci : aci;
  color.setColorIndex(static_cast<Adesk::UInt16>(index >= 1 && index <= 255 ? index : 7));
  if (const DxfGroup* rgb = r.find(420)) {
    auto v = static_cast<std::uint32_t>(rgb->integer);
    color.setRGB(static_cast<Adesk::UInt8>((v >> 16) & 0xFF), static_cast<Adesk::UInt8>((v >> 8) & 0xFF),
                 static_cast<Adesk::UInt8>(v & 0xFF));
  }
  layer->setColor(color);
  layer->setIsOff(aci < 0);
  layer->setIsFrozen((flags & 1) != 0);
  layer->setIsLocked((flags & 4) != 0);
  layer->setIsPlottable(r.integer(290, 1) != 0);
  if (long long w = r.integer(370, -3); w >= -3 && w <= 211) layer->setLineWeight(static_cast<AcDb::LineWeight>(w));
  return {RecordPtr(layer.release()), Wide(r.text(6, "Continuous"))};
}

RecordPtr TextStyle(const DxfRecord& r) {
  auto style = Named<AcDbTextStyleTableRecord>(r);
  style->setTextSize(r.real(40));
  if (double x = r.real(41, 1.0); x > 0.0) style->setXScale(x);
  style->setObliquingAngle(r.real(50) * kRadians);
  if (double last = r.real(42); last > 0.0) style->setPriorSize(last);
  style->setFileName(Wide(r.text(3, "txt")).c_str());
  style->setBigFontFileName(Wide(r.text(4)).c_str());
  return RecordPtr(style.release());
}

BuiltDimStyle DimStyle(const DxfRecord& r) {
  auto style = Named<AcDbDimStyleTableRecord>(r);
  for (const auto& g : r.groups) {
    if (g.code == 176 || g.code == 177 || g.code == 178) {
      AcCmColor c;
      if (g.integer == 0) c.setByBlock();
      else if (g.integer == 256) c.setByLayer();
      else if (g.integer >= 1 && g.integer <= 255) c.setColorIndex(static_cast<Adesk::UInt16>(g.integer));
      else continue;
      if (g.code == 176) style->setDimclrd(c);
      else if (g.code == 177) style->setDimclre(c);
      else style->setDimclrt(c);
    } else if (KindOfCode(g.code) == DxfValueKind::Real) {
      ApplyDimVar(*style, g.code, g.real);
    } else if (KindOfCode(g.code) == DxfValueKind::Integer && g.code != 70) {
      ApplyDimVar(*style, g.code, static_cast<double>(g.integer));
    }
  }
  return {RecordPtr(style.release()), std::string(r.text(340))};
}

}  // namespace

void RecordDeleter::operator()(AcDbSymbolTableRecord* record) const {
  if (record && record->objectId().isNull()) delete record;
}

BuiltTables BuildTables(const DxfDocument& doc) {
  BuiltTables t;
  for (const auto& r : doc.linetypes) t.linetypes.push_back(Linetype(r));
  for (const auto& r : doc.layers) t.layers.push_back(Layer(r));
  for (const auto& r : doc.textStyles) {
    // Shape files live in the STYLE table too, often without a name.
    if ((r.integer(70) & 1) || r.text(2).empty()) continue;
    t.textStyles.push_back(TextStyle(r));
    if (const DxfGroup* h = r.find(5)) t.textStyleHandles.emplace_back(std::string(h->value), Wide(r.text(2)));
  }
  for (const auto& r : doc.dimStyles) t.dimStyles.push_back(DimStyle(r));
  return t;
}

}  // namespace arxhost::dxf
