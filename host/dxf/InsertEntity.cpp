// INSERT: a reference to a block definition.
#include "arx/dbBlockReference.h"

#include <numbers>

#include "arx/dbSymbolTable.h"
#include "dxf/EntityGeometry.h"
#include "dxf/EntityWriter.h"

namespace arxhost::dxf {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

void WriteInsert(EntityOut& e) {
  const auto& ref = static_cast<const AcDbBlockReference&>(e.entity);
  auto* block = AcDbSymbolTableRecord::cast(PeekObject(ref.blockTableRecord()));
  // A reference to a block that is gone would make the file unreadable.
  if (!block || block->isErased() || !e.ctx.HasBlock(block->name().str())) return;
  Ocs ocs(V(ref.normal()));
  AcGeScale3d scale = ref.scaleFactors();
  e.head("INSERT");
  e.out.text(100, "AcDbBlockReference");
  e.out.text(2, block->name().str());
  Point(e.out, 10, ocs.fromWorld(V(ref.position())));
  if (scale.sx != 1.0) e.out.real(41, scale.sx);
  if (scale.sy != 1.0) e.out.real(42, scale.sy);
  if (scale.sz != 1.0) e.out.real(43, scale.sz);
  if (ref.rotation() != 0.0) e.out.real(50, ref.rotation() * kDegrees);
  Extrusion(e.out, ocs);
}

const EntityWriterRegistration kInsert(L"AcDbBlockReference", WriteInsert);

}  // namespace
}  // namespace arxhost::dxf
