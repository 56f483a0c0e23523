// Reading INSERT: a reference to a block the file or the drawing defines.
#include "arx/dbBlockReference.h"
#include "arx/geMatrix3d.h"
#include "dxf/DxfInEntity.h"

namespace arxhost::dxf {
namespace {

EntityPtr ReadInsert(const DxfRecord& r, BuildContext& ctx, std::vector<Fixup>& fixups) {
  std::wstring block = Wide(r.text(2));
  if (block.empty() || !ctx.hasBlock(block)) r.fail("refers to a block that is not defined");
  Ocs ocs(ExtrusionOf(r));
  double sx = r.real(41, 1.0), sy = r.real(42, 1.0), sz = r.real(43, 1.0);
  if (sx == 0.0 || sy == 0.0 || sz == 0.0) r.fail("has a zero scale factor");
  // Block coordinates are scaled, turned in the OCS plane, brought into
  // the world and moved to the insertion point.
  AcGeMatrix3d scale;
  scale.entry[0][0] = sx;
  scale.entry[1][1] = sy;
  scale.entry[2][2] = sz;
  AcGeMatrix3d xform = AcGeMatrix3d::translation(Dir(ocs.toWorld(V3(PointOf(r, 10))))) *
                       AcGeMatrix3d::planeToWorld(Dir(ocs.normal())) *
                       AcGeMatrix3d::rotation(r.real(50) * kRadians, AcGeVector3d::kZAxis) * scale;
  auto* ref = new AcDbBlockReference;
  EntityPtr e(ref);
  Check(r, ref->setBlockTransform(xform), "a placement that is not a scaled rotation");
  fixups.push_back([block](NameResolver& names, AcDbEntity& entity) {
    static_cast<AcDbBlockReference&>(entity).setBlockTableRecord(names.block(block));
  });
  return e;
}

const EntityReaderRegistration kInsert("INSERT", ReadInsert);

}  // namespace
}  // namespace arxhost::dxf
