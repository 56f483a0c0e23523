#include "IgesDocument.h"

#include <mutex>

#include <IGESData_IGESEntity.hxx>
#include <Interface_EntityIterator.hxx>
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

IgesDocument::~IgesDocument() {
  // Members point back at the groups that hold them (associativities): cut
  // those cycles so that the model goes with the reader.
  try {
    if (model_.IsNull()) return;
    for (int i = 1; i <= model_->NbEntities(); ++i) {
      const Handle(IGESData_IGESEntity) entity = model_->Entity(i);
      if (entity.IsNull()) continue;
      for (Interface_EntityIterator it = entity->Associativities(); it.More(); it.Next()) {
        const Handle(IGESData_IGESEntity) group = Handle(IGESData_IGESEntity)::DownCast(it.Value());
        if (!group.IsNull()) group->Dissociate(entity);
      }
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
