#include "IgesDocument.h"

#include <mutex>

#include <IGESData_IGESEntity.hxx>
#include <Interface_EntityList.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Standard_Failure.hxx>

#include "IgesRead.h"


namespace kelv::iges {

void SilenceOpenCascade() {
  static std::once_flag once;
  std::call_once(once, [] {
    Message::DefaultMessenger()->ChangePrinters().Clear();
  });
}

IgesDocument::IgesDocument() = default;

namespace {

// Open CASCADE removes one associativity at a time through a list that
// breaks on long lists (a view that a hundred groups point back at): the
// whole list is replaced by an empty one instead, through the loader that
// the entity keeps for its readers.
struct AssociativityLoader : IGESData_IGESEntity {
  static void Clear(IGESData_IGESEntity& entity) {
    (entity.*(&AssociativityLoader::LoadAssociativities))(Interface_EntityList());
  }
};

}  // namespace

IgesDocument::~IgesDocument() {
  // Members point back at the groups that hold them (associativities): cut
  // those cycles so that the model goes with the reader.
  try {
    if (model_.IsNull()) return;
    for (int i = 1; i <= model_->NbEntities(); ++i) {
      const Handle(IGESData_IGESEntity) entity = model_->Entity(i);
      if (!entity.IsNull() && entity->NbAssociativities() > 0) AssociativityLoader::Clear(*entity);
    }
  } catch (const Standard_Failure&) {
  }
}

bool IgesDocument::Load(const std::string& nativePath, std::string& error) {
  SilenceOpenCascade();
  reader_ = std::make_unique<IGESControl_Reader>();
  if (!igesread::ReadIgesFile(nativePath, *reader_, scan_, error)) return false;
  model_ = reader_->IGESModel();
  return true;
}

bool IgesDocument::LoadBytes(std::string_view bytes, std::string& error) {
  SilenceOpenCascade();
  reader_ = std::make_unique<IGESControl_Reader>();
  if (!igesread::ReadIgesBytes(bytes, std::string(), *reader_, scan_, error)) return false;
  model_ = reader_->IGESModel();
  return true;
}

}  // namespace kelv::iges
