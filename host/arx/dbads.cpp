#include "arx/dbads.h"

#include "arx/dbDatabase.h"
#include "arx/dbEntity.h"

Acad::ErrorStatus acdbGetAdsName(ads_name& name, AcDbObjectId id) {
  if (id.isNull()) return Acad::eNullObjectId;
  if (!arxhost::PeekObject(id)) return Acad::eUnknownHandle;
  name[0] = static_cast<std::int64_t>(id.value());
  name[1] = 0;
  return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
  AcDbObjectId candidate = AcDbObjectId::fromValue(static_cast<Adesk::UInt64>(name[0]));
  if (name[0] == 0 || !arxhost::PeekObject(candidate)) return Acad::eInvalidAdsName;
  id = candidate;
  return Acad::eOk;
}

int acdbEntDel(const ads_name name) {
  AcDbObjectId id;
  if (acdbGetObjectId(id, name) != Acad::eOk) return RTERROR;
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite, true) != Acad::eOk) return RTERROR;
  Acad::ErrorStatus es = entity->erase(!entity->isErased());
  entity->close();
  return es == Acad::eOk ? RTNORM : RTERROR;
}
