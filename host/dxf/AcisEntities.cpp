// 3DSOLID, BODY and REGION: the ACIS model as SAT text, in the encoded
// group 1 and 3 lines that DXF files up to AC1024 keep in the entity.
#include "arx/dbAcisEntity.h"
#include "dxf/EntityWriter.h"
#include "dxf/TextValues.h"

namespace arxhost::dxf {
namespace {

// False when the model cannot be placed where the entity was moved: the
// entity is then left out rather than written at the wrong place.
bool WriteModeler(EntityOut& e, const char* type, const arxhost::AcisModel& model) {
  std::string sat = model.placedSat();
  if (sat.empty()) return false;
  e.head(type);
  e.out.text(100, "AcDbModelerGeometry");
  e.out.integer(70, 1);
  WriteSatData(e.out, sat);
  return true;
}

template <class Entity>
void WriteAcis(EntityOut& e, const char* type) {
  const auto& entity = static_cast<const Entity&>(e.entity);
  if (entity.isNull()) return;  // nothing a reader could show
  WriteModeler(e, type, entity.acisModel());
}

void Write3dSolid(EntityOut& e) {
  const auto& solid = static_cast<const AcDb3dSolid&>(e.entity);
  if (solid.isNull()) return;
  if (!WriteModeler(e, "3DSOLID", solid.acisModel())) return;
  e.out.text(100, "AcDb3dSolid");
  e.out.handle(350, 0);  // no history
}
void WriteBody(EntityOut& e) { WriteAcis<AcDbBody>(e, "BODY"); }
void WriteRegion(EntityOut& e) { WriteAcis<AcDbRegion>(e, "REGION"); }

const EntityWriterRegistration k3dSolid(L"AcDb3dSolid", Write3dSolid);
const EntityWriterRegistration kBody(L"AcDbBody", WriteBody);
const EntityWriterRegistration kRegion(L"AcDbRegion", WriteRegion);

}  // namespace
}  // namespace arxhost::dxf
