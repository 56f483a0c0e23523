#pragma once
// The whole IGES-to-model conversion without files at the model's side:
// what KelvIges writes, and what the fuzz target drives.
#include <map>
#include <string>
#include <string_view>

#include "model/ModelWriter.h"

namespace kelv::iges {

struct ConversionResult {
  std::map<int, int> skipped;  // IGES type -> entities not carried over
};

// Reads the IGES file (or bytes) and fills 'out'. On failure returns false
// with reason completing the sentence The IGES file "name" ...
bool ConvertIgesFile(const std::string& nativePath, model::ModelMaker& out, ConversionResult& result,
                     std::string& reason);
bool ConvertIgesBytes(std::string_view bytes, model::ModelMaker& out, ConversionResult& result, std::string& reason);

}  // namespace kelv::iges
