#include "Uuid.h"

#include "ModelToNurbs.h"

namespace kelv::model {

// The geometry vocabulary's generator, so that the tree has one source of
// random ids.
Uuid NewUuid() { return FromOnUuid(ON_CreateUuid()); }

}  // namespace kelv::model
