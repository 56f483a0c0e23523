#include "ModelTeardown.h"

#include <IGESData_IGESEntity.hxx>
#include <IGESData_LabelDisplayEntity.hxx>
#include <Interface_EntityList.hxx>
#include <Standard_Failure.hxx>

namespace igesread {
namespace {

// The members that replace a list whole are protected; naming them through
// a derived class gives pointers to them without touching anything else.
struct EntityLists : IGESData_IGESEntity {
  static void Clear(IGESData_IGESEntity& entity) {
    constexpr auto loadAssociativities = &EntityLists::LoadAssociativities;
    constexpr auto clearProperties = &EntityLists::ClearProperties;
    (entity.*loadAssociativities)(Interface_EntityList());
    (entity.*clearProperties)();
  }
};

}  // namespace

void CutBackReferences(const Handle(IGESData_IGESModel)& model) {
  if (model.IsNull()) return;
  for (int i = 1; i <= model->NbEntities(); ++i) {
    const Handle(IGESData_IGESEntity) entity = model->Entity(i);
    if (entity.IsNull()) continue;
    try {
      EntityLists::Clear(*entity);
      if (entity->HasLabelDisplay())
        entity->InitMisc(entity->Structure(), Handle(IGESData_LabelDisplayEntity)(), entity->LineWeightNumber());
    } catch (const Standard_Failure&) {
      // An entity left as it is leaks; the others are still cut.
    }
  }
}

}  // namespace igesread
