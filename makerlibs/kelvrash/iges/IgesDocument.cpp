#include "IgesDocument.h"

#include <Standard_Failure.hxx>

#include "IgesRead.h"
#include "ModelTeardown.h"

namespace kelv::iges {

IgesDocument::IgesDocument() = default;

IgesDocument::~IgesDocument() {
  // Members point back at the groups and views that hold them: cut those
  // cycles so that the model goes with the reader.
  igesread::CutBackReferences(model_);
}

bool IgesDocument::Load(const std::string& nativePath, std::string& error) {
  reader_ = std::make_unique<IGESControl_Reader>();
  if (!igesread::ReadIgesFile(nativePath, *reader_, scan_, error)) return false;
  model_ = reader_->IGESModel();
  return true;
}

bool IgesDocument::LoadBytes(std::string_view bytes, std::string& error) {
  reader_ = std::make_unique<IGESControl_Reader>();
  if (!igesread::ReadIgesBytes(bytes, *reader_, scan_, error)) return false;
  model_ = reader_->IGESModel();
  return true;
}

}  // namespace kelv::iges
