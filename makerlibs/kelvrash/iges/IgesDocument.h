#pragma once
// An IGES file read into Open CASCADE's IGES data model after the
// structural check. The reader object is kept: destroying it empties the
// model.
#include <memory>
#include <string>

#include <IGESControl_Reader.hxx>
#include <IGESData_IGESModel.hxx>

#include "IgesScan.h"

namespace kelv::iges {

using igesread::ScanResult;

class IgesDocument {
 public:
  IgesDocument();
  ~IgesDocument();

  // On failure returns false; error completes the sentence The IGES file "name" ...
  bool Load(const std::string& nativePath, std::string& error);
  // Reads from memory (fuzzing, tests); the bytes go through a temporary file.
  bool LoadBytes(std::string_view bytes, std::string& error);

  const Handle(IGESData_IGESModel)& Model() const { return model_; }
  const ScanResult& Scan() const { return scan_; }

 private:
  std::unique_ptr<IGESControl_Reader> reader_;
  Handle(IGESData_IGESModel) model_;
  ScanResult scan_;
};

}  // namespace kelv::iges
