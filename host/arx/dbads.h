#pragma once
// Entity names of the command-line calls and the database functions on them.
#include "arx/ErrorStatus.h"
#include "arx/adsdefs.h"
#include "arx/dbId.h"

Acad::ErrorStatus acdbGetAdsName(ads_name& name, AcDbObjectId id);
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);
// Erases the entity, or brings an erased one back: RTNORM, or RTERROR when
// the name is not an entity's or the entity cannot be opened for write.
int acdbEntDel(const ads_name name);
