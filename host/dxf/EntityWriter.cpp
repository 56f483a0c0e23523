#include "dxf/EntityWriter.h"

#include <map>
#include <string>

#include "arx/dbEntity.h"
#include "arx/dbSymbolTable.h"
#include "dxf/DatabaseView.h"
#include "win32/strconv.h"

namespace arxhost::dxf {
namespace {

std::map<std::wstring, EntityWriteFn>& Registry() {
  static std::map<std::wstring, EntityWriteFn> writers;
  return writers;
}

EntityWriteFn FindWriter(const AcRxClass* cls) {
  for (; cls; cls = cls->myParent()) {
    auto it = Registry().find(cls->name());
    if (it != Registry().end()) return it->second;
  }
  return nullptr;
}

Handle HandleOf(WriteContext& ctx, const AcDbEntity& entity) {
  if (entity.objectId().isNull()) return ctx.handles.fresh();  // made by the writer
  return ctx.handles.ofObject(entity.objectId().value());
}

std::wstring RecordName(AcDbObjectId id) {
  auto* record = AcDbSymbolTableRecord::cast(PeekObject(id));
  return record ? record->name().str() : std::wstring();
}

}  // namespace

EntityWriterRegistration::EntityWriterRegistration(const wchar_t* className, EntityWriteFn fn) {
  Registry()[className] = fn;
}

EntityOut::EntityOut(WriteContext& c, const AcDbEntity& e, Handle o)
    : ctx(c), out(c.out), entity(e), handle(HandleOf(c, e)), owner(o) {}

namespace {

void CommonGroups(EntityOut& e) {
  auto& out = e.out;
  out.text(100, "AcDbEntity");
  if (e.owner == e.ctx.block(e.ctx.view.paperSpace)) out.integer(67, 1);
  std::wstring layer = RecordName(e.entity.layerId());
  out.text(8, layer.empty() ? std::wstring(L"0") : layer);
  std::wstring linetype = RecordName(e.entity.linetypeId());
  if (!linetype.empty() && WriteContext::Key("", linetype) != WriteContext::Key("", L"ByLayer")) out.text(6, linetype);
  ColorValue color = ToColorValue(e.entity.color());
  if (color.aci != 256 || color.rgb) out.integer(62, color.aci);
  if (color.rgb) out.integer(420, static_cast<long long>(*color.rgb));
  int weight = e.entity.lineWeight();
  if (weight != AcDb::kLnWtByLayer) out.integer(370, weight);
  if (e.entity.linetypeScale() != 1.0) out.real(48, e.entity.linetypeScale());
  if (e.entity.visibility() == AcDb::kInvisible) out.integer(60, 1);
}

}  // namespace

void EntityOut::head(std::string_view dxfType) {
  out.type(dxfType);
  out.handle(5, handle);
  out.handle(330, owner);
  CommonGroups(*this);
}

void EntityOut::childHead(std::string_view dxfType, Handle child) {
  out.type(dxfType);
  out.handle(5, child);
  out.handle(330, handle);
  CommonGroups(*this);
}

bool WriteEntity(WriteContext& ctx, const AcDbEntity& entity, Handle owner) {
  EntityWriteFn writer = FindWriter(entity.isA());
  if (!writer) return false;
  // A value DXF cannot hold fails the whole save (nothing is written to
  // disk); the message says which entity holds it.
  EntityOut e(ctx, entity, owner);
  try {
    writer(e);
  } catch (const DxfWriteError& error) {
    std::string what = ToUtf8(entity.isA()->name());
    if (!entity.objectId().isNull()) what += " with handle " + FormatHandle(entity.objectHandle().value());
    throw DxfWriteError("the " + what + " holds a value DXF cannot store (" + error.what() + ")");
  }
  return true;
}

void EmitDatabaseEntity(WriteContext& ctx, std::uint64_t id, Handle owner) {
  auto* entity = AcDbEntity::cast(PeekObject(AcDbObjectId::fromValue(id)));
  if (entity && !entity->isErased()) WriteEntity(ctx, *entity, owner);
}

}  // namespace arxhost::dxf
